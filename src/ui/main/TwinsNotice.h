#pragma once
// The main window's offer after a sync that brought in contacts equal in every field to
// a live one here (the same file imported on two devices before either synced): the
// count and 合并, which merges every such group into the copy the service numbered first
// (so every device keeps the same one), in one transaction. Each contact is offered
// once: a notice closed with × comes back only for twins that arrive later.
#include <QFrame>
#include <functional>
#include <set>

#include "store/LocalStore.h"
#include "store/MergeStore.h"

class QLabel;
class QPushButton;

namespace kivtal {

namespace twins_notice {
inline constexpr const char* kNotice = "twins_notice";
inline constexpr const char* kText = "twins_text";
inline constexpr const char* kMerge = "twins_merge";
inline constexpr const char* kDismiss = "twins_dismiss";
}  // namespace twins_notice

class TwinsNotice : public QFrame {
    Q_OBJECT

public:
    // Lies over the top of `window`, which it follows when resized.
    TwinsNotice(QWidget* window, LocalStore& store);

    // After a sync: shows the notice when contacts came in since the last look and some
    // of them are twins not offered yet. A store that cannot be read changes nothing.
    void CheckAfterSync();
    // Merges every group of twins; false (told in a message box) when the store failed.
    bool MergeAll();
    // What follows a merge: the undo of it and the number of contacts merged away.
    void SetAfterMerge(std::function<void(const MergeUndo&, int)> after) { afterMerge_ = std::move(after); }
    QString Text() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();

    LocalStore& store_;
    QLabel* text_;
    QPushButton* merge_;
    QPushButton* dismiss_;
    int newestSeen_ = 0;
    std::set<int> offered_;
    std::function<void(const MergeUndo&, int)> afterMerge_;
};

}  // namespace kivtal
