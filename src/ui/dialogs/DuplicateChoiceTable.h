#pragma once
// The side-by-side view of one group of duplicates in a table: a column per contact,
// a row per field any of them fills. The cell of each row whose value the merge keeps
// is checked; checking another (click, or Space on the current cell) moves the choice,
// and a row always keeps exactly one. A row whose contacts all agree offers no choice.
#include <QObject>
#include <QString>
#include <map>
#include <vector>

#include "model/Records.h"

class QTableWidget;
class QTableWidgetItem;

namespace kivtal {

class DuplicateChoiceTable : public QObject {
    Q_OBJECT

public:
    // groupNames: the names of the live groups by id, to show the group field.
    DuplicateChoiceTable(QTableWidget* table, std::map<int, QString> groupNames);

    // Shows the contacts with the choices (one index into cards per MergeFields()
    // entry); the keeper's column says it is kept.
    void Show(const BusinessCardList& cards, std::size_t keeper, std::vector<std::size_t> choices);
    void Clear();
    const std::vector<std::size_t>& Choices() const { return choices_; }

private:
    void OnItemChanged(QTableWidgetItem* item);
    QString Shown(std::size_t field, const BusinessCard& card) const;
    void Check(int row, int column);

    QTableWidget* table_;
    std::map<int, QString> groupNames_;
    std::vector<std::size_t> choices_;
    std::vector<std::size_t> rowFields_;  // the MergeFields() index of each row
    bool updating_ = false;
};

}  // namespace kivtal
