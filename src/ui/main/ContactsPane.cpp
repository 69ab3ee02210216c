// The pane's lists: the group list, the contact list and its header, the letter bar,
// search and sorting.
#include "ui/main/ContactsPane.h"

#include <QAbstractButton>
#include <QEvent>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShortcut>
#include <optional>
#include <set>

#include "model/SyncKinds.h"
#include "store/AccountStore.h"
#include "store/ContactStore.h"
#include "store/SyncBases.h"
#include "ui/main/ContactsPaneControls.h"
#include "ui/main/GroupList.h"
#include "ui/main/HomePage.h"
#include "ui/main/HomePageControls.h"
#include "ui/main/MenuWndControls.h"
#include "ui/main/TextWidths.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/ControlAttributes.h"
#include "ui/toolkit/SkinValues.h"
#include "ui/toolkit/TalMsgBox.h"
#include "ui/toolkit/UiMessages.h"

namespace kivtal {
namespace {

const QString kSearchPlaceholder = QStringLiteral("找人：请输入关键字");
const QString kLetterChosen = QStringLiteral("0xFF333333");
const QString kLetterOther = QStringLiteral("0xFF939088");  // red 147, green 144, blue 136
const QString kLetterAbsent = QStringLiteral("0xFFD3D0CA");
constexpr int kLetterCount = 27;  // A to Z, then "#"
// Longer terms could not be matched anyway and would overrun the store's pattern limit.
constexpr int kSearchLimit = 256;

QString LetterText(int index) { return index == 26 ? QStringLiteral("#") : QString(QChar('A' + index)); }

}  // namespace

CContactsPane::CContactsPane(CHomePage& home, LocalStore& store)
    : QObject(&home), home_(home), store_(store), rows_(nullptr), detachedRows_(std::make_unique<ContactListRows>()) {
    rows_ = detachedRows_.get();
    UserSettings settings;
    AccountStore(store_).ReadSettings(settings);
    columnMask_ = settings.coloumn_show;
}

void CContactsPane::Attach(PanePart part) {
    part_ = std::move(part);
    groups_ = part_.Find<QListWidget>(contacts_pane::kGroupList);
    if (groups_) {
        groups_->setAccessibleName(QStringLiteral("联系人分组"));
        AttachGroups(*groups_);
    }
    list_ = part_.Find<ListKiv>(contacts_pane::kContactList);
    if (list_) {
        rows_ = list_->SetRows(std::move(detachedRows_));
        list_->setAccessibleName(QStringLiteral("联系人列表"));
        list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        // Ctrl and Shift choose several contacts, for one delete.
        list_->setSelectionMode(QAbstractItemView::ExtendedSelection);
        list_->installEventFilter(this);
        list_->viewport()->installEventFilter(this);
        AcceptVCardDrops();
    }
    if (auto* search = part_.Find<QLineEdit>(contacts_pane::kSearchEdit)) {
        search->setMaxLength(kSearchLimit);
        search->setAccessibleName(QStringLiteral("搜索联系人"));
    }
    BuildLetterButtons();
    BuildHeader();
    // Ctrl+F goes to the search box from anywhere in the main window.
    auto* find = new QShortcut(QKeySequence::Find, &home_);
    connect(find, &QShortcut::activated, this, [this] {
        auto* edit = part_.Find<QLineEdit>(contacts_pane::kSearchEdit);
        if (EditingRow() != -1 || !edit) return;
        if (!edit->isVisible()) return OnSearchTip();
        edit->selectAll();
        edit->setFocus(Qt::ShortcutFocusReason);
    });
}

void CContactsPane::Refresh() {
    RebuildGroups();
    ReloadContacts();
}

int CContactsPane::EditingRow() const { return groups_ ? groupList_->EditingRow() : -1; }

int CContactsPane::SelectedGroupTag() const {
    return groups_ ? groupList_->SelectedTag(kAllContactsTag) : kAllContactsTag;
}

void CContactsPane::SetColumnMask(int mask) {
    columnMask_ = mask;
    ApplyColumns();
}

void CContactsPane::ApplyColumns() {
    if (list_) list_->SetRowLayout(ContactRowLayout(columnMask_, list_->viewport()->width(), wants_));
    BuildHeader();
}

namespace {

// The text columns in the order of ContactRow::widths.
struct MeasuredColumn {
    const QString& part;
    QString ContactRow::*text;
};
const MeasuredColumn kMeasuredColumns[] = {
    {kNamePart, &ContactRow::name},       {kPhonePart, &ContactRow::cellPhone},   {kMailPart, &ContactRow::mail},
    {kCompanyPart, &ContactRow::company}, {kPositionPart, &ContactRow::position}, {kGroupPart, &ContactRow::groupName}};

}  // namespace

// Each row is measured once: a search keystroke shows rows measured before.
void CContactsPane::MeasureRows(std::vector<ContactRow>& rows) const {
    if (!list_) return;
    std::optional<TextWidths> widths;  // made only when some row needs it
    for (ContactRow& row : rows) {
        if (row.measured) continue;
        if (!widths) widths.emplace(list_->font());
        for (std::size_t c = 0; c < row.widths.size(); ++c) {
            const QString& text = row.*kMeasuredColumns[c].text;
            // A clash adds its mark to the name.
            row.widths[c] = widths->Width(c == 0 && row.clash ? text + kClashMark : text);
        }
        row.measured = true;
    }
}

// Each text column wants its widest text, so short columns leave their room to long ones.
void CContactsPane::MeasureColumns() {
    if (!list_) return;
    TextWidths widths(list_->font());
    constexpr int kPadding = 8;
    constexpr int kWidest = 360;  // one very long text must not starve the others
    wants_.clear();
    for (std::size_t c = 0; c < std::size(kMeasuredColumns); ++c) {
        int widest = widths.Width(ColumnTitle(kMeasuredColumns[c].part));
        for (const ContactRow& row : rows_->Rows()) widest = std::max(widest, row.widths[c]);
        wants_[kMeasuredColumns[c].part] = std::min(kWidest, widest + kPadding);
    }
}

bool CContactsPane::eventFilter(QObject* watched, QEvent* event) {
    // The columns share the row's width: a new width lays them out again. The viewport's
    // own resize, as the list's comes before the viewport has its new width.
    if (list_ && watched == list_->viewport() && event->type() == QEvent::Resize) ApplyColumns();
    if (list_ && watched == list_->viewport() && OnListDropEvent(event)) return true;
    if (watched == list_ && event->type() == QEvent::KeyPress && OnListKey(static_cast<QKeyEvent*>(event))) return true;
    return QObject::eventFilter(watched, event);
}

// The chosen row's keys: Delete asks to delete it, the menu key and Shift+F10 open its
// menu, Space toggles its common mark.
bool CContactsPane::OnListKey(QKeyEvent* key) {
    const int contactId = static_cast<int>(rows_->RowTag(list_->currentIndex().row()));
    if (contactId <= 0) return false;
    const bool menu =
        key->key() == Qt::Key_Menu || (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier);
    if (key->key() == Qt::Key_Delete) {
        DeleteContacts(ChosenContacts());
    } else if (menu) {
        list_->scrollTo(list_->currentIndex());
        OpenContactMenu(contactId);
    } else if (key->key() == Qt::Key_Space) {
        ToggleCommon(contactId);
    } else {
        return false;
    }
    return true;
}

void CContactsPane::ShowRowsChanged() {
    if (list_) list_->Refresh();
}

QRect CContactsPane::GlobalPartRect(int contactId, const QString& part) const {
    if (!list_) return {};
    const QRect box = list_->PartRect(rows_->RowOfContact(contactId), part);
    if (box.isEmpty()) return {};
    return QRect(list_->viewport()->mapToGlobal(box.topLeft()), box.size());
}

// --- Group list ---

void CContactsPane::RebuildGroups() {
    if (!groups_) return;
    groupList_->Clear();
    int live = 0, common = 0;
    ContactStore contacts(store_);
    contacts.ContactCounts(live, common);
    QListWidgetItem* all = groupList_->AddFixedRow(QStringLiteral("全部(%1)").arg(live), kAllContactsTag);
    all->setIcon(QIcon(SkinImagePath(QStringLiteral("MyConnection.png"))));
    groupList_->AddFixedRow(QStringLiteral("常用(%1)").arg(common), kCommonTag);
    CardGroupList groups;
    contacts.ContactGroups(groups);
    groupNames_.clear();
    for (const CardGroup& group : groups) {
        const QString name = QString::fromStdString(group.group_name);
        groupNames_[group.group_id] = name;
        groupList_->AddGroupRow(group.group_id, name, group.count);
    }
    AddTrashRow();
    groupList_->Select(0);
}

void CContactsPane::UpdateGroupCounts() {
    if (!groups_ || groups_->count() < 2) return;
    int live = 0, common = 0;
    if (ContactStore(store_).ContactCounts(live, common) != 0) return;
    groupList_->SetFixedText(0, QStringLiteral("全部(%1)").arg(live));
    groupList_->SetFixedText(1, QStringLiteral("常用(%1)").arg(common));
    UpdateTrashCount();
}

void CContactsPane::SelectGroupRow(int row) {
    if (groups_) groupList_->Select(row);
}

void CContactsPane::OnGroupSelected() {
    if (!groups_ || !groupList_->TakeChoice()) return;
    if (home_.MattersPageShown()) home_.ShowContactsPage();
    ReloadContacts();
}

// --- Contact list ---

ContactListQuery CContactsPane::ScopeQuery() const {
    static constexpr ContactListQuery::Order kBySort[] = {
        ContactListQuery::Order::NameAsc, ContactListQuery::Order::NameDesc, ContactListQuery::Order::NewestFirst,
        ContactListQuery::Order::OldestFirst};
    ContactListQuery query;
    query.order = kBySort[sortMode_];
    const int tag = SelectedGroupTag();
    if (tag == kCommonTag) {
        query.scope = ContactListQuery::Scope::Common;
    } else if (tag != kAllContactsTag && tag != kTrashTag) {  // a search from the trash looks through all
        query.scope = ContactListQuery::Scope::Group;
        query.groupId = tag;
    }
    return query;
}

void CContactsPane::ReloadContacts() {
    letter_.clear();
    // What a search looked through may have changed with what is reloaded.
    search_.reset();
    searchRows_.clear();
    if (SelectedGroupTag() == kTrashTag) return ShowTrash(true);
    ShowContacts(ScopeQuery());
    // The bar offers the letters of the chosen group, none of them chosen.
    RebuildLetterBar();
}

std::vector<ContactRow> CContactsPane::RowsOf(const ContactSummaryList& cards) const {
    std::vector<ContactRow> rows;
    rows.reserve(cards.size());
    std::set<int> clashes;  // unmarked when they cannot be read: the list still shows
    RowsWithClashes(store_, OPER_CONTACT, clashes);
    for (const ContactSummary& card : cards) {
        rows.push_back(MakeContactRow(card, groupNames_));
        rows.back().clash = clashes.count(card.bc_id) > 0;
    }
    return rows;
}

void CContactsPane::ShowContacts(const ContactListQuery& query) {
    ContactSummaryList cards;
    ContactStore(store_).ContactSummaries(query, cards);
    ShowRows(RowsOf(cards));
}

void CContactsPane::ShowRows(std::vector<ContactRow> rows) {
    ShowTrash(false);
    MeasureRows(rows);
    rows_->SetRows(std::move(rows));
    const ColumnWants before = wants_;
    MeasureColumns();
    // Rows whose columns want what the shown ones wanted keep the layout and its header.
    if (wants_ != before) ApplyColumns();
    if (list_) {
        list_->Refresh();
        list_->scrollToTop();
    }
    ShowEmptyState(rows_->RowCount() == 0);
}

void CContactsPane::ShowEmptyState(bool empty) {
    auto show = [this](const char* name, bool visible) {
        if (QWidget* control = part_.Find(name)) control->setVisible(visible);
    };
    show(contacts_pane::kHeader.name, !empty);
    show(contacts_pane::kContactList.name, !empty);
    int live = 0, common = 0;
    if (empty) ContactStore(store_).ContactCounts(live, common);
    const bool groupEmpty = empty && SelectedGroupTag() != kAllContactsTag && live > 0;
    show(contacts_pane::kGroupEmpty.name, groupEmpty);
    show(contacts_pane::kContactsEmpty.name, empty && !groupEmpty);
}

void CContactsPane::BuildHeader() {
    QWidget* header = part_.Find(contacts_pane::kHeader);
    if (!header) return;
    for (QLabel* old : header->findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly)) delete old;
    const int width = list_ ? list_->viewport()->width() : header->width();
    for (const ColumnSpan& span : VisibleColumns(columnMask_, width, wants_)) {
        const QString title = ColumnTitle(span.part);
        if (title.isEmpty()) continue;
        auto* label = new QLabel(title, header);
        label->setObjectName(QStringLiteral("column_title"));
        label->setGeometry(span.x, 0, span.width, header->height());
        label->show();
    }
}

// --- Letter bar ---

void CContactsPane::BuildLetterButtons() {
    QWidget* bar = part_.Find(contacts_pane::kLetterBar);
    if (!bar || !bar->findChildren<QAbstractButton*>().isEmpty()) return;
    auto* layout = qobject_cast<QHBoxLayout*>(bar->layout());
    if (!layout) layout = new QHBoxLayout(bar);
    for (int i = 0; i < kLetterCount; ++i) {
        auto* button = new QPushButton(LetterText(i), bar);
        button->setObjectName(QStringLiteral("sort_btn"));
        button->setAccessibleName(i == 26 ? QStringLiteral("其他字符开头的联系人")
                                          : QStringLiteral("%1开头的联系人").arg(LetterText(i)));
        button->setEnabled(false);
        layout->addWidget(button);
    }
    home_.BindNotifications(bar);
}

void CContactsPane::RebuildLetterBar() {
    QWidget* bar = part_.Find(contacts_pane::kLetterBar);
    if (!bar) return;
    std::vector<int> present;
    ContactStore(store_).FirstLetters(ScopeQuery(), present);
    const QList<QAbstractButton*> letters = bar->findChildren<QAbstractButton*>();
    for (QAbstractButton* button : letters) {
        button->setEnabled(false);
        SetControlAttribute(button, QStringLiteral("textcolor"), kLetterOther);
        SetControlAttribute(button, QStringLiteral("disabledtextcolor"), kLetterAbsent);
    }
    for (int index : present)
        if (index >= 0 && index < letters.size()) letters[index]->setEnabled(true);
}

void CContactsPane::ColourLetters(const QAbstractButton* chosen) {
    QWidget* bar = part_.Find(contacts_pane::kLetterBar);
    if (!bar) return;
    for (QAbstractButton* button : bar->findChildren<QAbstractButton*>())
        SetControlAttribute(button, QStringLiteral("textcolor"), button == chosen ? kLetterChosen : kLetterOther);
}

void CContactsPane::FilterByLetter(QAbstractButton* letter) {
    if (!letter) return;
    ColourLetters(letter);
    letter_ = letter->text();
    ContactListQuery query = ScopeQuery();
    query.match = letter_ == u"#" ? ContactListQuery::Match::WithoutLetter : ContactListQuery::Match::Prefix;
    query.text = letter_.toStdString();
    ShowContacts(query);
}

// --- Search and sorting ---

// Within the chosen group, which stays highlighted. The group is read once, at the
// first keystroke; the keystrokes after it search those rows in memory.
void CContactsPane::Search(const QString& term) {
    if (!search_) {
        ContactSummaryList cards;
        ContactStore(store_).ContactSummaries(ScopeQuery(), cards);
        searchRows_ = RowsOf(cards);
        MeasureRows(searchRows_);
        search_ = std::make_unique<ContactSearch>(cards);
    }
    std::vector<ContactRow> rows;
    for (int i : search_->Find(term.toStdString())) rows.push_back(searchRows_[static_cast<std::size_t>(i)]);
    ShowRows(std::move(rows));
}

void CContactsPane::OnSearchButton() {
    const QString term = ControlText(part_.Find(contacts_pane::kSearchEdit));
    if (term.isEmpty()) {
        ShowTalMsgBox(QStringLiteral("温馨提示"), &home_, QStringLiteral("请先输入搜索词"));
        return;
    }
    Search(term);
    if (home_.MattersPageShown()) home_.ShowContactsPage();
}

void CContactsPane::OnSearchTip() {
    QWidget* tip = part_.Find(contacts_pane::kSearchTip);
    auto* edit = part_.Find<QLineEdit>(contacts_pane::kSearchEdit);
    if (!tip || !edit) return;
    const QString text = ControlText(tip);
    tip->hide();
    edit->show();
    if (text != kSearchPlaceholder) {
        const QSignalBlocker quiet(edit);  // the text is already listed
        edit->setText(text);
    }
    edit->selectAll();
    edit->setFocus();
}

void CContactsPane::OnSearchEditLeft() {
    QWidget* tip = part_.Find(contacts_pane::kSearchTip);
    QWidget* edit = part_.Find(contacts_pane::kSearchEdit);
    if (!tip || !edit) return;
    const QString text = ControlText(edit);
    edit->hide();
    SetControlText(tip, text.isEmpty() ? kSearchPlaceholder : text);
    tip->show();
}

void CContactsPane::Sort(int mode) {
    sortMode_ = mode;
    if (QWidget* sort = part_.Find(contacts_pane::kSortButton)) sort->setProperty("tag", mode);
    SelectGroupRow(0);
    ReloadContacts();
}

// --- Dispatch ---

bool CContactsPane::Notify(const QString& type, QWidget* sender) {
    if (OnRowNotify(type, sender)) return true;
    if (groups_ && groupList_->Notify(type, sender)) return true;
    const QString name = ControlName(sender);
    if (type == u"itemselect" && sender == groups_) {
        OnGroupSelected();
        return true;
    }
    if (type == u"textchanged" && name == contacts_pane::kSearchEdit) {
        // Search on typing: an emptied box shows the chosen group again.
        const QString term = ControlText(sender);
        if (term.isEmpty()) ReloadContacts();
        else Search(term);
        return true;
    }
    if (type == u"killfocus" && name == contacts_pane::kSearchEdit) {
        OnSearchEditLeft();
        return true;
    }
    if (type == u"return") return name == contacts_pane::kSearchEdit;
    if (type != u"click") return false;
    if (name == contacts_pane::kSearchTip) OnSearchTip();
    else if (name == contacts_pane::kSearchButton) OnSearchButton();
    else if (name == u"sort_btn") FilterByLetter(qobject_cast<QAbstractButton*>(sender));
    else if (name == contacts_pane::kSortButton)
        OpenMenuBelow(contacts_pane::kSortButton.name, QStringLiteral("sortcombo.xml"), QPoint(0, 0));
    else if (name == contacts_pane::kSettingsButton)
        OpenMenuBelow(contacts_pane::kSettingsButton.name, QStringLiteral("SettingMenu.xml"), QPoint(-89, 22));
    else if (name == home_page::kAddConnection) OpenEditor(0);
    else return false;
    return true;
}

bool CContactsPane::HandleMessage(unsigned number, std::intptr_t wParam, std::intptr_t lParam) {
    // A group message that names no list is meant for the contact groups.
    const std::intptr_t list = lParam != 0 ? lParam : reinterpret_cast<std::intptr_t>(groups_.data());
    if (groups_ && groupList_->HandleMessage(number, wParam, list)) return true;
    switch (number) {
        case WM_UI_CONTACT_OPEN:
            if (wParam > 0) OpenEditor(static_cast<int>(wParam));
            return true;
        case WM_UI_SET_COLUMNS:
            SetColumnMask(static_cast<int>(wParam));
            ReloadContacts();
            return true;
        default: return false;
    }
}

bool CContactsPane::OnMenuItem(const QString& item, std::intptr_t lParam) {
    const int contactId = static_cast<int>(lParam);
    if (item == sort_menu::kAToZ) Sort(kSortNameAsc);
    else if (item == sort_menu::kZToA) Sort(kSortNameDesc);
    else if (item == sort_menu::kNewestFirst) Sort(kSortNewestFirst);
    else if (item == sort_menu::kOldestFirst) Sort(kSortOldestFirst);
    else if (item == u"menu_addcon") OpenEditor(0);
    else if (item == setting_menu::kPcSetting || item == u"menu_setting") OpenSettings();
    else if (item == user_menu::kMoveGroup) MoveToGroup(contactId);
    else if (item == user_menu::kEdit) OpenEditor(contactId);
    else if (item == user_menu::kDelete) DeleteContacts({contactId});
    else return OnTransferMenuItem(item);
    return true;
}

}  // namespace kivtal
