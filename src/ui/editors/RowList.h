#pragma once
// A list of text entries that grows by its add button and shrinks by the delete
// button of an entry, laid out in lines of one or two entries inside a container of
// the layout. An entry has one field (interests, main business) or more (a related
// contact's name and relation). Only the first line carries the list's label; the
// delete button is hidden while one entry remains.
#include <QString>
#include <QStringList>
#include <vector>

#include "ui/editors/RowParts.h"

namespace kivtal {

class FindEdit;
class WindowImplBase;

struct RowListSpec {
    QString container;
    QString addButton;
    QString deleteButton;
    QString label;
    std::vector<FieldSpec> fields;  // of one entry
    int entriesPerLine = 1;
    QString addedDefault;  // default text of the first field of added entries; empty: the field's
};

using Entry = QStringList;  // the texts of one entry's fields

class RowList {
public:
    RowList(WindowImplBase& window, RowListSpec spec);

    const RowListSpec& Spec() const { return spec_; }

    // Rebuilds the lines; an empty list still shows one empty entry.
    void SetEntries(std::vector<Entry> entries);
    std::vector<Entry> Entries() const;
    // The first field of every entry, in order.
    QStringList FirstFields() const;

    // The first field whose text holds one of marks; nullptr when none does.
    FindEdit* FieldHolding(const QStringList& marks) const;

    // Add and delete clicks of this list; false for any other control.
    bool OnClick(const QString& name, QWidget* sender);
    void Add();
    void Remove(int index);

private:
    void Rebuild(const std::vector<Entry>& entries);

    WindowImplBase& window_;
    RowListSpec spec_;
    std::vector<std::vector<FindEdit*>> fields_;  // per entry
};

}  // namespace kivtal
