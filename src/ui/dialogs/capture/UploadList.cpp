#include "ui/dialogs/capture/UploadList.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace kivtal {
namespace {

const QString kFailedText = QStringLiteral("上传失败");
constexpr int kItemRole = Qt::UserRole + 1;

class UploadItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override {
        return {option.rect.width(), UploadListView::kRowHeight};
    }

    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        const auto* item = static_cast<const UploadItem*>(index.data(kItemRole).value<const void*>());
        if (!item) return;
        p->save();
        p->setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
        const QRect row = option.rect.adjusted(6, 5, -6, -5);
        const bool current = option.state & QStyle::State_HasFocus;
        p->setPen(QPen(current ? QColor("#2b7cd3") : QColor("#d9dee5")));
        p->setBrush(QColor("#ffffff"));
        p->drawRoundedRect(row, 6, 6);
        const QRect thumb(row.left() + 8, row.top() + 8, 96, row.height() - 16);
        if (!item->thumbnail.isNull()) p->drawImage(thumb, item->thumbnail);
        else p->fillRect(thumb, QColor("#e8ebef"));
        PaintProgress(p, *item, QRect(thumb.right() + 10, row.top() + 40, row.right() - thumb.right() - 18, 22));
        PaintDelete(p, UploadListView::DeleteArea(option.rect));
        if (item->state == kItemFailed) PaintRetry(p, UploadListView::RetryArea(option.rect));
        p->restore();
    }

private:
    static void PaintProgress(QPainter* p, const UploadItem& item, const QRect& area) {
        const QRect bar(area.left(), area.top(), area.width(), 8);
        p->setPen(Qt::NoPen);
        p->setBrush(QColor("#e3e7ec"));
        p->drawRoundedRect(bar, 4, 4);
        const bool failed = item.state == kItemFailed;
        const int filled = failed ? bar.width() : bar.width() * item.progress / 100;
        p->setBrush(failed ? QColor("#e05a4f") : QColor("#2b9b5b"));
        p->drawRoundedRect(QRect(bar.left(), bar.top(), filled, bar.height()), 4, 4);
        p->setPen(failed ? QColor("#c0392b") : QColor("#555555"));
        QFont font = p->font();
        font.setPixelSize(12);
        p->setFont(font);
        const QString text = failed ? kFailedText : QStringLiteral("%1%").arg(item.progress);
        p->drawText(QRect(area.left(), bar.bottom() + 4, area.width(), 18), Qt::AlignLeft | Qt::AlignVCenter, text);
    }

    static void PaintDelete(QPainter* p, const QRect& r) {
        p->setPen(QPen(QColor("#8a939e"), 2));
        p->drawLine(r.topLeft() + QPoint(5, 5), r.bottomRight() - QPoint(5, 5));
        p->drawLine(r.topRight() + QPoint(-5, 5), r.bottomLeft() + QPoint(5, -5));
    }

    static void PaintRetry(QPainter* p, const QRect& r) {
        p->setPen(QPen(QColor("#2b7cd3"), 2));
        p->setBrush(Qt::NoBrush);
        const QRect arc = r.adjusted(4, 4, -4, -4);
        p->drawArc(arc, 90 * 16, 270 * 16);
        QPainterPath head;
        head.moveTo(arc.center().x(), arc.top() - 4);
        head.lineTo(arc.center().x() + 6, arc.top());
        head.lineTo(arc.center().x(), arc.top() + 4);
        p->setBrush(QColor("#2b7cd3"));
        p->drawPath(head);
    }
};

}  // namespace

int UploadListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

QVariant UploadListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const UploadItem& item = At(index.row());
    switch (role) {
        case Qt::DisplayRole:
        case Qt::AccessibleTextRole: return ItemText(item);
        case Qt::ToolTipRole: return item.state == kItemFailed ? QStringLiteral("重新上传") : QVariant();
        case kItemRole: return QVariant::fromValue(static_cast<const void*>(&item));
        default: return {};
    }
}

QString UploadListModel::ItemText(const UploadItem& item) {
    const QString progress = item.state == kItemFailed ? kFailedText : QStringLiteral("%1%").arg(item.progress);
    return QStringLiteral("名片 %1 %2").arg(item.imgId).arg(progress);
}

void UploadListModel::Append(UploadItem item) {
    const int row = rowCount();
    beginInsertRows({}, row, row);
    items_.push_back(std::move(item));
    endInsertRows();
}

void UploadListModel::Remove(int imgId) {
    const int row = RowOf(imgId);
    if (row < 0) return;
    beginRemoveRows({}, row, row);
    items_.erase(items_.begin() + row);
    endRemoveRows();
}

const UploadItem* UploadListModel::Find(int imgId) const {
    const int row = RowOf(imgId);
    return row < 0 ? nullptr : &items_[static_cast<std::size_t>(row)];
}

void UploadListModel::SetState(int imgId, int state) {
    const int row = RowOf(imgId);
    if (row < 0) return;
    items_[static_cast<std::size_t>(row)].state = state;
    Changed(row);
}

void UploadListModel::SetProgress(int imgId, int progress) {
    const int row = RowOf(imgId);
    if (row < 0) return;
    items_[static_cast<std::size_t>(row)].progress = progress;
    Changed(row);
}

void UploadListModel::FailAll() {
    for (UploadItem& item : items_) item.state = kItemFailed;
    if (!items_.empty()) emit dataChanged(index(0), index(rowCount() - 1));
}

int UploadListModel::RowOf(int imgId) const {
    for (std::size_t i = 0; i < items_.size(); ++i) {
        if (items_[i].imgId == imgId) return static_cast<int>(i);
    }
    return -1;
}

void UploadListModel::Changed(int row) { emit dataChanged(index(row), index(row)); }

UploadListView::UploadListView(QWidget* parent) : QListView(parent) {
    setItemDelegate(new UploadItemDelegate(this));
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::NoSelection);
    setMouseTracking(true);
    setUniformItemSizes(true);
    setFrameShape(QFrame::NoFrame);
}

QRect UploadListView::DeleteArea(const QRect& row) { return {row.right() - 30, row.top() + 10, 20, 20}; }

QRect UploadListView::RetryArea(const QRect& row) { return {row.right() - 30, row.bottom() - 34, 22, 22}; }

const UploadItem* UploadListView::ItemAt(const QModelIndex& index) const {
    auto* list = qobject_cast<UploadListModel*>(model());
    return list && index.isValid() ? &list->At(index.row()) : nullptr;
}

void UploadListView::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    const UploadItem* item = ItemAt(index);
    if (item && event->button() == Qt::LeftButton) {
        const QRect row = visualRect(index);
        const int id = item->imgId;
        if (DeleteArea(row).contains(pos)) emit DeleteRequested(id);
        else if (item->state == kItemFailed && RetryArea(row).contains(pos)) emit RetryRequested(id);
    }
    QListView::mouseReleaseEvent(event);
}

void UploadListView::mouseMoveEvent(QMouseEvent* event) {
    const QPoint pos = event->position().toPoint();
    const QModelIndex index = indexAt(pos);
    const UploadItem* item = ItemAt(index);
    const bool overRetry = item && item->state == kItemFailed && RetryArea(visualRect(index)).contains(pos);
    viewport()->setCursor(overRetry ? Qt::PointingHandCursor : Qt::ArrowCursor);
    QListView::mouseMoveEvent(event);
}

void UploadListView::keyPressEvent(QKeyEvent* event) {
    const UploadItem* item = ItemAt(currentIndex());
    if (item && event->key() == Qt::Key_Delete) {
        emit DeleteRequested(item->imgId);
        return;
    }
    if (item && item->state == kItemFailed && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        emit RetryRequested(item->imgId);
        return;
    }
    QListView::keyPressEvent(event);
}

void UploadListView::paintEvent(QPaintEvent* event) {
    QListView::paintEvent(event);
    if (model() && model()->rowCount() > 0) return;
    QPainter p(viewport());
    p.setPen(QColor("#8a939e"));
    p.drawText(viewport()->rect().adjusted(16, 0, -16, 0), Qt::AlignCenter | Qt::TextWordWrap,
               QStringLiteral("保存的名片会在这里上传给小秘书"));
}

void UploadListView::wheelEvent(QWheelEvent* event) {
    if (!model() || model()->rowCount() <= kStillRows) {
        event->accept();
        return;
    }
    const int delta = event->angleDelta().y();
    QScrollBar* bar = verticalScrollBar();
    if (delta != 0) bar->setValue(bar->value() + (delta > 0 ? -kWheelStep : kWheelStep));
    event->accept();
}

}  // namespace kivtal
