#include "ui/editors/RowList.h"

#include <QBoxLayout>
#include <QPushButton>

#include "ui/controls/FindEdit.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

RowList::RowList(WindowImplBase& window, RowListSpec spec) : window_(window), spec_(std::move(spec)) { Rebuild({}); }

void RowList::SetEntries(std::vector<Entry> entries) { Rebuild(entries); }

std::vector<Entry> RowList::Entries() const {
    std::vector<Entry> out;
    for (const auto& entry : fields_) {
        Entry texts;
        for (const FindEdit* field : entry) texts << field->GetText();
        out.push_back(texts);
    }
    return out;
}

QStringList RowList::FirstFields() const {
    QStringList out;
    for (const Entry& entry : Entries()) out << entry.value(0);
    return out;
}

FindEdit* RowList::FieldHolding(const QStringList& marks) const {
    for (const auto& entry : fields_)
        for (FindEdit* field : entry)
            for (const QString& mark : marks)
                if (field->GetText().contains(mark)) return field;
    return nullptr;
}

bool RowList::OnClick(const QString& name, QWidget* sender) {
    if (name == spec_.addButton) {
        Add();
        return true;
    }
    QWidget* container = window_.FindControl(spec_.container);
    if (name != spec_.deleteButton || !container || !container->isAncestorOf(sender)) return false;
    Remove(DeleteIndex(sender));
    return true;
}

void RowList::Add() {
    std::vector<Entry> entries = Entries();
    entries.emplace_back();
    Rebuild(entries);
}

void RowList::Remove(int index) {
    std::vector<Entry> entries = Entries();
    // The last entry cannot go: its button is hidden, and a stray call keeps it too.
    if (index < 0 || index >= static_cast<int>(entries.size()) || entries.size() < 2) return;
    entries.erase(entries.begin() + index);
    Rebuild(entries);
}

void RowList::Rebuild(const std::vector<Entry>& given) {
    QWidget* container = window_.FindControl(spec_.container);
    fields_.clear();
    if (!container) return;
    ClearLines(container);
    std::vector<Entry> entries = given;
    if (entries.empty()) entries.emplace_back();
    const int count = static_cast<int>(entries.size());
    QWidget* line = nullptr;
    for (int i = 0; i < count; ++i) {
        if (i % spec_.entriesPerLine == 0) {
            if (line) AppendLine(container, line);
            line = MakeLine(container);
            AddLineLabel(line, i == 0 ? spec_.label : QString());
        }
        std::vector<FindEdit*> entryFields;
        for (std::size_t f = 0; f < spec_.fields.size(); ++f) {
            FieldSpec field = spec_.fields[f];
            if (i > 0 && f == 0 && !spec_.addedDefault.isEmpty()) field.defaultText = spec_.addedDefault;
            FindEdit* edit = AddLineField(line, field, entries[i].value(static_cast<int>(f)));
            entryFields.push_back(edit);
        }
        AddDeleteButton(line, spec_.deleteButton, spec_.label, i)->setVisible(count > 1);
        fields_.push_back(std::move(entryFields));
    }
    // A half-filled last line keeps its entry the width of a full line's.
    if (count % spec_.entriesPerLine != 0) static_cast<QBoxLayout*>(line->layout())->addStretch(1);
    AppendLine(container, line);
    window_.BindNotifications(container);
}

}  // namespace kivtal
