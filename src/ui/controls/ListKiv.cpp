#include "ui/controls/ListKiv.h"

#include <QAbstractListModel>
#include <functional>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScrollBar>
#include <QToolTip>

#include "ui/controls/ListRowDelegate.h"
#include "ui/toolkit/ControlData.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {

QString ListRows::PartTip(int, const QString&) const { return {}; }
QString ListRows::RowText(int) const { return {}; }

// Qt's view of the rows: a count, and the texts screen readers read. Drawing goes
// through the delegate, which asks ListRows directly.
class ListRowModel : public QAbstractListModel {
public:
    explicit ListRowModel(ListKiv* list) : QAbstractListModel(list), list_(list) {}

    int rowCount(const QModelIndex& parent) const override {
        return parent.isValid() || !list_->Rows() ? 0 : list_->Rows()->RowCount();
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || !list_->Rows()) return {};
        if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) return RowText(index.row());
        return {};
    }

    void Reset(const std::function<void()>& change) {
        beginResetModel();
        change();
        endResetModel();
    }
    void RowChanged(int row) { emit dataChanged(index(row), index(row)); }

private:
    QString RowText(int row) const {
        QString text = list_->Rows()->RowText(row);
        if (!text.isEmpty()) return text;
        QStringList texts;
        for (const RowPart& part : list_->GetRowLayout().parts) {
            if (part.kind != RowPart::Text) continue;
            const QString value = list_->Rows()->PartText(row, part.name);
            if (!value.isEmpty()) texts << value;
        }
        return texts.join(QStringLiteral(", "));
    }

    ListKiv* list_;
};

ListKiv::ListKiv(QWidget* parent) : QListView(parent), model_(new ListRowModel(this)) {
    setModel(model_);
    setItemDelegate(new ListRowDelegate(this));
    // Equal rows let the view place any row by arithmetic instead of measuring them all.
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
}

ListKiv::~ListKiv() = default;

void ListKiv::SetRowLayout(RowLayout layout) {
    model_->Reset([&] {
        ForgetPointer();
        layout_ = std::move(layout);
        for (const RowPart& part : layout_.parts) PartSender(part.name);
    });
}

void ListKiv::ReplaceRows(std::unique_ptr<ListRows> rows) {
    model_->Reset([&] {
        ForgetPointer();
        rows_ = std::move(rows);
    });
    scrollToTop();
}

// Rows and parts are about to change: nothing the pointer or the keyboard pointed at
// stays valid.
void ListKiv::ForgetPointer() {
    hoverRow_ = -1;  // the reset repaints every row anyway
    hoverPart_ = nullptr;
    pressRow_ = -1;
    pressPart_ = nullptr;
    currentTag_ = kNoTag;
}

void ListKiv::Refresh() {
    const std::int64_t current = currentTag_;
    const int scroll = verticalScrollBar()->value();
    model_->Reset([&] { ForgetPointer(); });
    verticalScrollBar()->setValue(scroll);
    if (current != kNoTag) {
        for (int row = 0; rows_ && row < rows_->RowCount(); ++row) {
            if (rows_->RowTag(row) == current) {
                setCurrentIndex(model_->index(row));
                break;
            }
        }
    }
}

void ListKiv::RefreshRow(int row) {
    if (rows_ && row >= 0 && row < rows_->RowCount()) model_->RowChanged(row);
}

void ListKiv::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    // Kept as the tag, not the row: the window may change its records before Refresh.
    currentTag_ = current.isValid() && rows_ ? rows_->RowTag(current.row()) : kNoTag;
}

bool ListKiv::SelectTag(std::int64_t tag) {
    for (int row = 0; rows_ && row < rows_->RowCount(); ++row) {
        if (rows_->RowTag(row) != tag) continue;
        setCurrentIndex(model_->index(row));
        scrollTo(model_->index(row));
        return true;
    }
    return false;
}

void ListKiv::ScrollToRow(int row) {
    if (rows_ && row >= 0 && row < rows_->RowCount()) scrollTo(model_->index(row), PositionAtTop);
}

QRect ListKiv::PartRectIn(const RowPart& part, const QRect& rowRect) const {
    QRect rect = part.rect;
    if (part.fromRight) rect.moveLeft(rowRect.width() - part.rect.x() - part.rect.width());
    return rect.translated(rowRect.topLeft());
}

bool ListKiv::IsPartShown(const RowPart& part, int row) const { return !part.hoverOnly || row == hoverRow_; }

const RowPart* ListKiv::PartAt(const QPoint& viewportPos, int* row) const {
    const QModelIndex index = indexAt(viewportPos);
    if (row) *row = index.isValid() ? index.row() : -1;
    if (!index.isValid()) return nullptr;
    const QRect rowRect = visualRect(index);
    // Later parts are drawn over earlier ones, so they are hit first.
    for (auto it = layout_.parts.rbegin(); it != layout_.parts.rend(); ++it) {
        if (it->name.isEmpty() || !IsPartShown(*it, index.row())) continue;
        if (PartRectIn(*it, rowRect).contains(viewportPos)) return &*it;
    }
    return nullptr;
}

QRect ListKiv::PartRect(int row, const QString& name) const {
    if (!rows_ || row < 0 || row >= rows_->RowCount()) return {};
    const QRect rowRect = visualRect(model_->index(row));
    if (!rowRect.intersects(viewport()->rect())) return {};
    for (const RowPart& part : layout_.parts)
        if (part.name == name) return PartRectIn(part, rowRect);
    return {};
}

void ListKiv::TrackPointer(const QPoint& viewportPos) {
    // The row first: its hover-only parts can be hit only once it is the hovered row.
    const QModelIndex index = indexAt(viewportPos);
    SetHover(index.isValid() ? index.row() : -1, nullptr);
    int row = -1;
    const RowPart* part = PartAt(viewportPos, &row);
    SetHover(row, part);
}

void ListKiv::SetHover(int row, const RowPart* part) {
    if (row == hoverRow_ && part == hoverPart_) return;
    const int before = hoverRow_;
    hoverRow_ = row;
    hoverPart_ = part;
    if (before >= 0) update(model_->index(before));
    if (row >= 0 && row != before) update(model_->index(row));
}

// Each part name has one hidden stand-in control under the list: it is the sender of
// the part's notifications, named like the part, carrying the clicked row's tag.
QWidget* ListKiv::PartSender(const QString& name) {
    if (name.isEmpty()) return nullptr;
    for (QObject* child : children()) {
        auto* widget = qobject_cast<QWidget*>(child);
        if (widget && widget->objectName() == name && widget->property("kivtal_list_part").toBool()) return widget;
    }
    auto* sender = new QWidget(this);
    sender->setObjectName(name);
    sender->setProperty("kivtal_list_part", true);
    sender->hide();
    return sender;
}

void ListKiv::SendNotify(const QString& type, QWidget* sender) {
    if (auto* window = qobject_cast<WindowImplBase*>(this->window())) window->SendNotify(type, sender);
}

bool ListKiv::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        int row = -1;
        const RowPart* part = PartAt(help->pos(), &row);
        const QString tip = part && rows_ ? rows_->PartTip(row, part->name) : QString();
        if (tip.isEmpty()) QToolTip::hideText();
        else QToolTip::showText(help->globalPos(), tip, viewport(), PartRect(row, part->name));
        return true;
    }
    if (event->type() == QEvent::Leave) SetHover(-1, nullptr);
    return QListView::viewportEvent(event);
}

void ListKiv::mouseMoveEvent(QMouseEvent* event) {
    TrackPointer(event->position().toPoint());
    QListView::mouseMoveEvent(event);
}

void ListKiv::mousePressEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    TrackPointer(pos);
    pressRow_ = -1;
    pressPart_ = event->button() == Qt::LeftButton ? PartAt(pos, &pressRow_) : nullptr;
    QListView::mousePressEvent(event);
}

void ListKiv::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton || pressRow_ < 0 || !rows_) return;
    TrackPointer(event->position().toPoint());
    int row = -1;
    const RowPart* part = PartAt(event->position().toPoint(), &row);
    const RowPart* pressed = pressPart_;
    const int pressedRow = pressRow_;
    pressPart_ = nullptr;
    pressRow_ = -1;
    if (row != pressedRow || part != pressed) return;  // moved off before letting go
    if (!part) {
        SendNotify(QStringLiteral("itemclick"), this);
        return;
    }
    QWidget* sender = PartSender(part->name);
    SetControlTag(sender, rows_->RowTag(row));
    SendNotify(QStringLiteral("click"), sender);
}

void ListKiv::keyPressEvent(QKeyEvent* event) {
    const bool activate =
        event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Space;
    if (activate && CurrentTag() != kNoTag) {
        SendNotify(QStringLiteral("itemclick"), this);
        return;
    }
    QListView::keyPressEvent(event);
}

}  // namespace kivtal
