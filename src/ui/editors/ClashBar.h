#pragma once
// The open clashes of the record an editor shows. A clash of a field the editor shows
// sits right under that field: the other device's value, an action to adopt it (an
// ordinary edit of the record, which syncs) and one to dismiss the clash. A record
// deleted on one device while edited on the other, and a field no control shows, sit
// in a bar above the first page; adopting the delete deletes the record after all.
#include <QObject>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <vector>

#include "model/FieldMerge.h"
#include "store/LocalStore.h"

class QVBoxLayout;

namespace kivtal {

// Object names of the bar, of a note beside a field, and of the buttons of each
// (the prefixes followed by the clash id).
inline constexpr const char* kClashBarName = "clash_bar";
inline constexpr const char* kClashNotePrefix = "clash_note_";
inline constexpr const char* kClashAdoptPrefix = "clash_adopt_";
inline constexpr const char* kClashDismissPrefix = "clash_dismiss_";

// What people read for a field of a kind ("公司" for a contact's company).
QString ClashFieldLabel(const SyncClash& clash);

// Where an editor shows a clash's field.
struct ClashPlace {
    bool shown = false;          // false: no control shows the field, the clash goes to the bar
    QWidget* control = nullptr;  // nullptr while the field's page is not built yet
};

class RecordClashes : public QObject {
    Q_OBJECT

public:
    using PlaceOf = std::function<ClashPlace(const SyncClash&)>;

    // The bar goes at the top of barPage (nothing when it has no layout).
    RecordClashes(LocalStore& store, int operCode, int rowId, QWidget* barPage, PlaceOf placeOf, QObject* parent);

    // Called once a clash was adopted: the store holds its value now (or the record is
    // deleted, for a delete against an edit).
    void SetOnAdopted(std::function<void(const SyncClash&)> onAdopted) { onAdopted_ = std::move(onAdopted); }
    // Called after every reload, so the editor can mark its page tabs.
    void SetOnChanged(std::function<void()> onChanged) { onChanged_ = std::move(onChanged); }

    // Reads the record's open clashes again and places each; false when the store
    // cannot be read (nothing is shown then).
    bool Reload();
    const SyncClashList& Open() const { return clashes_; }
    int OpenCount() const { return static_cast<int>(clashes_.size()); }
    // The bar above the first page; nullptr when the page had no layout.
    QWidget* Bar() const { return bar_; }

private:
    void Clear();
    void Place(const SyncClash& clash);
    QWidget* MakeRow(const SyncClash& clash, QWidget* parent, bool beside);
    void Adopt(const SyncClash& clash);
    void Dismiss(const SyncClash& clash);
    void Failed();

    LocalStore& store_;
    int operCode_;
    int rowId_;
    PlaceOf placeOf_;
    SyncClashList clashes_;
    QPointer<QWidget> bar_;
    QVBoxLayout* barRows_ = nullptr;
    std::vector<QPointer<QWidget>> notes_;
    std::function<void(const SyncClash&)> onAdopted_;
    std::function<void()> onChanged_;
};

// A page tab's text and screen-reader name, with a mark while the page holds a clash.
void MarkClashTab(QWidget* tab, bool marked);

}  // namespace kivtal
