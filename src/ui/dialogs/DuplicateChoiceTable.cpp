#include "ui/dialogs/DuplicateChoiceTable.h"

#include <QHeaderView>
#include <QSignalBlocker>
#include <QTableWidget>

#include "duplicates/MergeFields.h"

namespace kivtal {

namespace {
// An empty cell still reads as something to a screen reader.
const QString kEmptyValue = QStringLiteral("（空）");
}  // namespace

DuplicateChoiceTable::DuplicateChoiceTable(QTableWidget* table, std::map<int, QString> groupNames)
    : QObject(table), table_(table), groupNames_(std::move(groupNames)) {
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setTabKeyNavigation(false);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // One line a value, every row alike: a long address is cut, its whole text is the tooltip.
    table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table_->verticalHeader()->setDefaultSectionSize(30);
    table_->setWordWrap(false);
    connect(table_, &QTableWidget::itemChanged, this, &DuplicateChoiceTable::OnItemChanged);
}

QString DuplicateChoiceTable::Shown(std::size_t field, const BusinessCard& card) const {
    if (field == duplicates::GroupFieldIndex()) {
        const auto it = groupNames_.find(card.group_id);
        return it == groupNames_.end() ? QStringLiteral("未分组") : it->second;
    }
    const QString text = QString::fromStdString(duplicates::MergeFields()[field].text(card));
    return text.isEmpty() ? kEmptyValue : text;
}

void DuplicateChoiceTable::Clear() {
    const QSignalBlocker block(table_);
    table_->clear();
    table_->setRowCount(0);
    table_->setColumnCount(0);
    choices_.clear();
    rowFields_.clear();
}

void DuplicateChoiceTable::Show(const BusinessCardList& cards, std::size_t keeper, std::vector<std::size_t> choices) {
    Clear();
    const QSignalBlocker block(table_);
    choices_ = std::move(choices);
    const auto fields = duplicates::MergeFields();
    for (std::size_t f = 0; f < fields.size(); ++f) {
        const bool filled =
            std::any_of(cards.begin(), cards.end(), [&](const auto& c) { return !fields[f].text(c).empty(); });
        if (filled || f == duplicates::GroupFieldIndex()) rowFields_.push_back(f);
    }
    table_->setColumnCount(static_cast<int>(cards.size()));
    table_->setRowCount(static_cast<int>(rowFields_.size()));
    for (std::size_t c = 0; c < cards.size(); ++c) {
        QString header = QString::fromStdString(cards[c].bc_name);
        if (c == keeper) header += QStringLiteral("（保留）");
        table_->setHorizontalHeaderItem(static_cast<int>(c), new QTableWidgetItem(header));
    }
    for (std::size_t r = 0; r < rowFields_.size(); ++r) {
        const std::size_t f = rowFields_[r];
        table_->setVerticalHeaderItem(static_cast<int>(r), new QTableWidgetItem(QString::fromUtf8(fields[f].label)));
        const QString first = Shown(f, cards.front());
        const bool agree = std::all_of(cards.begin(), cards.end(), [&](const auto& c) { return Shown(f, c) == first; });
        for (std::size_t c = 0; c < cards.size(); ++c) {
            auto* item = new QTableWidgetItem(Shown(f, cards[c]));
            item->setToolTip(item->text());
            Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
            if (!agree) {
                flags |= Qt::ItemIsUserCheckable;
                item->setCheckState(choices_[f] == c ? Qt::Checked : Qt::Unchecked);
            }
            item->setFlags(flags);
            table_->setItem(static_cast<int>(r), static_cast<int>(c), item);
        }
    }
}

void DuplicateChoiceTable::Check(int row, int column) {
    const QSignalBlocker block(table_);
    for (int c = 0; c < table_->columnCount(); ++c)
        if (QTableWidgetItem* item = table_->item(row, c))
            item->setCheckState(c == column ? Qt::Checked : Qt::Unchecked);
    choices_[rowFields_[static_cast<std::size_t>(row)]] = static_cast<std::size_t>(column);
}

void DuplicateChoiceTable::OnItemChanged(QTableWidgetItem* item) {
    if (!(item->flags() & Qt::ItemIsUserCheckable)) return;
    const int row = item->row();
    // Unchecking the chosen value keeps it: a field always keeps one value.
    const int column = item->checkState() == Qt::Checked
                           ? item->column()
                           : static_cast<int>(choices_[rowFields_[static_cast<std::size_t>(row)]]);
    Check(row, column);
}

}  // namespace kivtal
