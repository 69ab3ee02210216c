#pragma once
// The contacts pane of the main window: the group list ("table_list") with 全部, 常用,
// the user's groups and 回收站, the contact list ("user_list") of the chosen group with its
// header, the letter bar and search (both within the chosen group), sorting, the common mark, the contact menu and the
// group-name edit. The main window owns it, hands it its part of the layout (PanePart)
// and the notifications, messages and menu items of its controls.
#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <unordered_map>

#include "model/Records.h"
#include "store/ContactSearch.h"
#include "store/ContactStore.h"
#include "store/LocalStore.h"
#include "ui/main/ContactColumns.h"
#include "ui/controls/ListKiv.h"
#include "ui/main/ContactRows.h"
#include "ui/main/PanePart.h"

class QAbstractButton;
class QKeyEvent;
class QListWidget;

namespace kivtal {

class CHomePage;
class ContactTransfer;
class GroupBook;
class GroupList;
class TrashView;

// Opens the contact editor modally and returns when it has closed. contactId 0 opens
// it for a new contact, preset to defaultGroupId (a group list tag: 0 all, -2 common,
// else a group id); page is the editor page to show first (0 = the first).
using ContactEditorOpener = std::function<void(int contactId, int defaultGroupId, int page)>;

inline constexpr int kAllContactsTag = 0;
inline constexpr int kCommonTag = -2;
inline constexpr int kTrashTag = -3;  // 回收站, the last row

enum SortMode { kSortNameAsc = 0, kSortNameDesc = 1, kSortNewestFirst = 2, kSortOldestFirst = 3 };

class CContactsPane : public QObject {
    Q_OBJECT

public:
    CContactsPane(CHomePage& home, LocalStore& store);

    // Takes the pane's part of the window, finds its controls there and builds the letter
    // bar; once, after the layout loaded.
    void Attach(PanePart part);
    const PanePart& Part() const { return part_; }
    // Shows or hides the pane's side (the group list), as its page comes or goes.
    void ShowSide(bool shown) const { part_.ShowSide(shown); }
    // Rebuilds the group list (全部 selected) and reloads the contact list.
    void Refresh();

    // True when the notification, message or menu item was the pane's.
    bool Notify(const QString& type, QWidget* sender);
    bool HandleMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam);
    bool OnMenuItem(const QString& item, std::intptr_t lParam);

    void SetContactEditorOpener(ContactEditorOpener opener) { openEditor_ = std::move(opener); }

    const ContactListRows& Rows() const { return *rows_; }
    // The screen rectangle of a row's part; empty when the row is not in view.
    QRect GlobalPartRect(int contactId, const QString& part) const;
    int SortMode() const { return sortMode_; }
    int SelectedGroupTag() const;
    // The contact list's optional columns (kColumn… bits), read from the settings at first.
    int ColumnMask() const { return columnMask_; }
    void SetColumnMask(int mask);
    // The group row whose name is edited, -1 for none.
    int EditingRow() const;
    // The trash view, once 回收站 was chosen.
    TrashView* Trash() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Lists (ContactsPane.cpp).
    void ApplyColumns();
    void MeasureRows(std::vector<ContactRow>& rows) const;
    void MeasureColumns();
    void ShowRowsChanged();
    bool OnListKey(QKeyEvent* key);
    void RebuildGroups();
    void UpdateGroupCounts();
    void ReloadContacts();
    // The chosen group entry as a query, in the chosen order.
    ContactListQuery ScopeQuery() const;
    void ShowContacts(const ContactListQuery& query);
    std::vector<ContactRow> RowsOf(const ContactSummaryList& cards) const;
    void ShowRows(std::vector<ContactRow> rows);
    void RebuildLetterBar();
    void BuildLetterButtons();
    void BuildHeader();
    void ShowEmptyState(bool empty);
    void FilterByLetter(QAbstractButton* letter);
    void ColourLetters(const QAbstractButton* chosen);
    void Search(const QString& term);
    void OnSearchButton();
    void OnSearchTip();
    void OnSearchEditLeft();
    void SelectGroupRow(int row);
    void OnGroupSelected();
    void Sort(int mode);

    // The group list's store and look (ContactsPaneGroups.cpp).
    void AttachGroups(QListWidget& list);

    // Contacts (ContactsPaneContacts.cpp).
    bool OnRowNotify(const QString& type, QWidget* sender);
    void ToggleCommon(int contactId);
    void OpenEditor(int contactId, int page = 0);
    void OpenContactMenu(int contactId);
    void OpenMenuBelow(const char* control, const QString& layout, const QPoint& offset);
    void MoveToGroup(int contactId);
    void OpenSettings();
    void RequestSync();

    // The trash and undo (ContactsPaneTrash.cpp).
    void AddTrashRow();
    void UpdateTrashCount();
    // Shows the trash in place of the contact list, or hides it again.
    void ShowTrash(bool shown);
    // The contacts chosen in the list (the current one when none is), in list order.
    std::vector<int> ChosenContacts() const;
    // Asks, deletes them in one transaction and offers one undo.
    void DeleteContacts(std::vector<int> ids);

    // vCard import and export (ContactsPaneTransfer.cpp).
    ContactTransfer& Transfer();
    int ChosenUserGroup() const;
    bool OnTransferMenuItem(const QString& item);
    void FindDuplicates();
    void AcceptVCardDrops();
    bool OnListDropEvent(QEvent* event);

    CHomePage& home_;
    LocalStore& store_;
    PanePart part_;
    ContactEditorOpener openEditor_;
    ContactTransfer* transfer_ = nullptr;  // a child object, made when first used
    ContactListRows* rows_;                // owned by the list, or by detachedRows_ without one
    std::unique_ptr<ContactListRows> detachedRows_;
    QPointer<QListWidget> groups_;
    std::unique_ptr<GroupBook> groupBook_;
    GroupList* groupList_ = nullptr;  // a child of groups_, made with it
    QPointer<ListKiv> list_;
    QPointer<TrashView> trash_;
    ColumnWants wants_;                            // of the rows shown
    QString letter_;                               // the letter filter shown, empty for none
    std::unordered_map<int, QString> groupNames_;  // by group id, as the group list shows them
    // The chosen group as the search box searches it, from its first keystroke until the
    // list is reloaded: the rows and what the search keeps of them, index for index.
    std::unique_ptr<ContactSearch> search_;
    std::vector<ContactRow> searchRows_;
    int sortMode_ = kSortNameAsc;
    int columnMask_ = 6;
};

}  // namespace kivtal
