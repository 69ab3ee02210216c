#pragma once
// 查找重复联系人: the groups of live contacts that are probably one person, with why; for
// the chosen group, its contacts side by side, a value to keep chosen per field (the
// defaults already checked). 合并 merges the group in one transaction and offers an undo
// over the window; 忽略 hides the group for good. ShowModal returns kDuplicatesMerged
// when anything was merged or brought back, so the caller refreshes and syncs; 1
// otherwise.
#include <memory>
#include <vector>

#include "duplicates/DuplicateFinder.h"
#include "store/LocalStore.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

inline constexpr int kDuplicatesMerged = 2;

class CMaskDlg;
class DuplicateChoiceTable;
class UndoNotice;

class CDuplicatesWnd : public WindowImplBase {
    Q_OBJECT

public:
    explicit CDuplicatesWnd(LocalStore& store);

    QString GetSkinFile() const override { return QStringLiteral("duplicates.xml"); }
    QString GetWindowClassName() const override { return QStringLiteral("ZELDuplicatesWnd"); }

    UndoNotice& Undo() { return *undo_; }

protected:
    void InitWindow() override;
    void Notify(const QString& type, QWidget* sender) override;
    std::vector<QString> EnterButtons() const override;
    std::vector<QString> EscapeButtons() const override;

private:
    // Finds the groups again and shows the one at `row` (or the last one).
    void Reload(int row = 0);
    void ShowGroup(int row);
    void Merge();
    void Ignore();
    BusinessCardList GroupCards(int row) const;

    LocalStore& store_;
    BusinessCardList contacts_;
    std::vector<duplicates::DuplicateGroup> groups_;
    BusinessCardList shown_;
    std::size_t keeper_ = 0;
    DuplicateChoiceTable* table_ = nullptr;
    UndoNotice* undo_ = nullptr;
    bool changed_ = false;
};

// Opens the window over `owner`, dimmed by `mask`, and waits for it; true when it
// merged or brought back anything.
bool OpenDuplicatesWindow(WindowImplBase& owner, CMaskDlg* mask, LocalStore& store);

}  // namespace kivtal
