#pragma once
// The open clashes of the record an editor shows, above its fields: for each, the
// field and the other device's value, an action to adopt that value (an ordinary edit
// of the record, which syncs) and one to dismiss the clash. A record deleted on one
// device while edited on the other offers to delete it after all. The bar hides itself
// when no clash is open.
#include <QWidget>
#include <functional>

#include "model/FieldMerge.h"
#include "store/LocalStore.h"

class QVBoxLayout;

namespace kivtal {

// Object names of the bar and of its rows' buttons (followed by the clash id).
inline constexpr const char* kClashBarName = "clash_bar";
inline constexpr const char* kClashAdoptPrefix = "clash_adopt_";
inline constexpr const char* kClashDismissPrefix = "clash_dismiss_";

// What people read for a field of a kind ("公司" for a contact's company).
QString ClashFieldLabel(const SyncClash& clash);

class ClashBar : public QWidget {
    Q_OBJECT

public:
    ClashBar(LocalStore& store, int operCode, int rowId, QWidget* parent);
    // A bar for the record at the top of `page`; nullptr when the page has no layout.
    static ClashBar* AddTo(QWidget* page, LocalStore& store, int operCode, int rowId);

    // Called once a clash was adopted: the store holds its value now (or the record is
    // deleted, for a delete against an edit).
    void SetOnAdopted(std::function<void(const SyncClash&)> onAdopted) { onAdopted_ = std::move(onAdopted); }

    // Reads the record's open clashes again; false when the store cannot be read.
    bool Reload();
    int OpenCount() const { return static_cast<int>(clashes_.size()); }

private:
    void AddRow(const SyncClash& clash);
    void Adopt(const SyncClash& clash);
    void Dismiss(const SyncClash& clash);
    void Failed();

    LocalStore& store_;
    int operCode_;
    int rowId_;
    SyncClashList clashes_;
    QVBoxLayout* rows_;
    std::function<void(const SyncClash&)> onAdopted_;
};

}  // namespace kivtal
