#pragma once
// The trash of the contacts pane or the matters pane: the records deleted in the last
// 30 days, the latest first, each with the local time of its deletion, and 恢复 for
// one row (the link at its end) or for the rows chosen (the button). Each restore is
// one store transaction; the owner is told, to refresh its lists and sync.
#include <QWidget>
#include <functional>
#include <vector>

#include "store/LocalStore.h"
#include "store/TrashStore.h"

class QLabel;
class QListView;
class QPushButton;

namespace kivtal {

class TrashModel;

namespace trash_view {
inline constexpr const char* kView = "trash_view";
inline constexpr const char* kHeading = "trash_heading";
inline constexpr const char* kList = "trash_list";
inline constexpr const char* kRestore = "trash_restore";
inline constexpr const char* kEmpty = "trash_empty";
}  // namespace trash_view

// What the view lists and how it restores: the contacts' or the matters'.
struct TrashKind {
    QString noun;  // 联系人, 事项
    int (TrashStore::*read)(int since, TrashedRecordList& out);
    int (TrashStore::*restore)(const std::vector<int>& ids);
};
extern const TrashKind kContactTrash;
extern const TrashKind kMatterTrash;

class TrashView : public QWidget {
    Q_OBJECT

public:
    TrashView(LocalStore& store, const TrashKind& kind, QWidget* parent);

    // Reads the trash anew; a store that cannot be read is said in place of the list.
    void Reload();
    // Restores these records; on success reloads and calls the owner's hook. A failure
    // is told in a message box and changes nothing.
    bool Restore(const std::vector<int>& ids);
    void SetOnRestored(std::function<void()> hook) { onRestored_ = std::move(hook); }

    const TrashedRecordList& Records() const;
    QListView* List() const { return list_; }
    // Where a row's 恢复 link lies, in the list's viewport coordinates.
    QRect RestoreLinkRect(int row) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::vector<int> ChosenIds() const;
    void ShowChoice();

    LocalStore& store_;
    const TrashKind& kind_;
    TrashModel* model_;
    QListView* list_;
    QPushButton* restore_;
    QLabel* empty_;
    std::function<void()> onRestored_;
};

}  // namespace kivtal
