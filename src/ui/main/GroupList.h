#pragma once
// An editable group list: fixed rows (全部, 默认, 回收站 …) around the user's groups, and
// the adding, renaming, cancelling and deleting of those groups with their edit strip.
// The contacts pane and the matters pane each attach one to their list of the main
// window's layout; what sets them apart (names, the store, the fixed rows' names, the
// delete question) comes in as data.
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>

#include "ui/main/GroupRow.h"

class QListWidget;
class QListWidgetItem;

namespace kivtal {

class UndoNotice;
class WindowImplBase;

// The store's groups of one kind, as a group list reads and writes them.
class GroupBook {
public:
    enum class Renamed { kSaved, kGone, kFailed };

    virtual ~GroupBook() = default;
    // 0 with the new group's id; nonzero when nothing was stored.
    virtual int Add(const QString& name, int& groupId) = 0;
    // kGone when the group was deleted meanwhile (here or by a sync); kFailed stores nothing.
    virtual Renamed Rename(int groupId, const QString& name) = 0;
    // 0 with the deleted group's name; nonzero leaves the group as it was.
    virtual int Delete(int groupId, QString& name) = 0;
    virtual bool Restore(int groupId) = 0;
};

struct GroupListKind {
    GroupRowLook row;
    LayoutControl addButton;
    QStringList fixedNames;  // the fixed rows' names, which no group may take
    QString deleteText;      // the delete question: where the group's records are found then
};

// What the owning pane does when the list asks. Empty members do nothing.
struct GroupListHooks {
    std::function<void(int row)> editing;                    // a name edit began (its row) or ended (-1)
    std::function<void(int groupId, const QString&)> named;  // a group was added or renamed
    std::function<void()> stored;                            // a rename or delete was stored: sync it
    std::function<void(bool wasChosen)> deleted;             // a group's row went away
    std::function<void()> stale;                             // the rows no longer match the store
};

class GroupList : public QObject {
    Q_OBJECT

public:
    GroupList(WindowImplBase& window, QListWidget& list, GroupListKind kind, GroupBook& book, UndoNotice& undo);

    QListWidget& List() const { return list_; }
    void SetHooks(GroupListHooks hooks) { hooks_ = std::move(hooks); }

    // Filling: Clear, then the rows top to bottom. Trailing fixed rows (回收站) stay below
    // the groups: a new group goes above them.
    void Clear();
    QListWidgetItem* AddFixedRow(const QString& text, int tag, bool trailing = false);
    void AddGroupRow(int groupId, const QString& name, int count);
    // A fixed row's new text (its count changed).
    void SetFixedText(int row, const QString& text);
    // Chooses a row without it counting as the user's choice.
    void Select(int row);

    // The chosen row's tag (a group id or a fixed row's tag); fallback when none.
    int SelectedTag(int fallback) const;
    int RowOfGroup(int groupId) const;
    GroupRow* RowAt(int row) const;
    // The row whose name is edited, -1 for none.
    int EditingRow() const { return editingRow_; }

    // The user chose a row: true when the pane should show it. While a name is edited the
    // edited row stays chosen, after asking whether to save the name.
    bool TakeChoice();
    // Saves (or ends) every open name edit.
    void FinishOpenEdits();

    // True when the notification was the list's (its rows' strip, its add button).
    bool Notify(const QString& type, QWidget* sender);
    // WM_UI_GROUP_RENAME and WM_UI_GROUP_DELETE naming this list (lParam); true when handled.
    bool HandleMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam);

private:
    void Add();
    void StartEdit(int groupId, bool isNew);
    bool Save(GroupRow* row, bool checkDuplicate);
    void EndEdit(GroupRow* row);
    void Cancel(GroupRow* row);
    void Delete(int groupId, bool ask);
    bool AskSaveEdit();
    void OnFocus(QWidget* control);
    bool NameTaken(const QString& name, const GroupRow* except) const;
    GroupRow* RowOfControl(QWidget* control) const;
    void ShowMessage(const QString& text);

    WindowImplBase& window_;
    QListWidget& list_;
    GroupListKind kind_;
    GroupBook& book_;
    UndoNotice& undo_;
    GroupListHooks hooks_;
    int editingRow_ = -1;
    int trailing_ = 0;  // fixed rows below the groups
    bool filling_ = false;
    bool asking_ = false;
};

}  // namespace kivtal
