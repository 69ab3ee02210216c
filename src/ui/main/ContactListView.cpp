#include "ui/main/ContactListView.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

#include "ui/main/ContactRows.h"

namespace kivtal {
namespace {

const QColor kText(0x33, 0x33, 0x33);
const QColor kSubText(0x66, 0x66, 0x66);
const QColor kLink(0x2b, 0x7c, 0xd3);
const QColor kHover(0xf3, 0xf7, 0xfc);
const QColor kSelected(0xe8, 0xf1, 0xfb);
const QColor kLine(0xe3, 0xe7, 0xec);
const QColor kStar(0xf5, 0xa6, 0x23);
const QColor kStarOff(0xc4, 0xcc, 0xd6);

int TextRole(RowPart part) {
    switch (part) {
    case RowPart::Name: return Qt::DisplayRole;
    case RowPart::CellPhone: return ContactListModel::CellPhoneRole;
    case RowPart::Email: return ContactListModel::MailRole;
    case RowPart::Company: return ContactListModel::CompanyRole;
    case RowPart::Position: return ContactListModel::PositionRole;
    case RowPart::Group: return ContactListModel::GroupRole;
    default: return -1;
    }
}

QRect SpanRect(const QRect& row, const ColumnSpan& span) {
    return QRect(row.left() + span.x, row.top(), span.width, row.height());
}

void DrawStar(QPainter& p, const QRectF& box, bool filled) {
    QPainterPath star;
    const QPointF c = box.center();
    const double outer = 7.5, inner = 3.2;
    for (int i = 0; i < 10; ++i) {
        const double r = i % 2 == 0 ? outer : inner;
        const double a = -M_PI / 2 + i * M_PI / 5;
        const QPointF pt(c.x() + r * std::cos(a), c.y() + r * std::sin(a));
        if (i == 0) star.moveTo(pt);
        else star.lineTo(pt);
    }
    star.closeSubpath();
    p.setPen(QPen(filled ? kStar : kStarOff, 1.2));
    p.setBrush(filled ? kStar : Qt::transparent);
    p.drawPath(star);
}

void DrawMenuButton(QPainter& p, const QRectF& box, bool open) {
    const QRectF face = QRectF(0, 0, 22, 20).translated(box.center() - QPointF(11, 10));
    p.setPen(QPen(open ? kLink : kStarOff, 1));
    p.setBrush(open ? kSelected : Qt::white);
    p.drawRoundedRect(face, 3, 3);
    p.setPen(QPen(open ? kLink : kSubText, 1.5));
    const QPointF c = face.center();
    if (open) p.drawPolyline(QPolygonF{c + QPointF(-4, 2), c + QPointF(0, -2), c + QPointF(4, 2)});
    else p.drawPolyline(QPolygonF{c + QPointF(-4, -2), c + QPointF(0, 2), c + QPointF(4, -2)});
}

}  // namespace

void ContactRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    QPainter& p = *painter;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QRect row = option.rect;
    if (option.state & QStyle::State_Selected) p.fillRect(row, kSelected);
    else if (option.state & QStyle::State_MouseOver) p.fillRect(row, kHover);
    p.setPen(kLine);
    p.drawLine(row.bottomLeft(), row.bottomRight());
    for (const ColumnSpan& span : VisibleColumns(mask_, row.width())) {
        const QRect box = SpanRect(row, span);
        if (span.part == RowPart::Common) {
            DrawStar(p, box, index.data(ContactListModel::CommonRole).toBool());
        } else if (span.part == RowPart::Menu) {
            DrawMenuButton(p, box, index.data(ContactListModel::MenuOpenRole).toBool());
        } else {
            const bool button = !PartName(span.part).isEmpty();
            p.setPen(span.part == RowPart::Name ? kLink : button ? kText : kSubText);
            p.setFont(option.font);
            const QString text = index.data(TextRole(span.part)).toString();
            p.drawText(box, Qt::AlignVCenter | Qt::AlignLeft,
                       option.fontMetrics.elidedText(text, Qt::ElideRight, box.width()));
        }
    }
    p.restore();
}

QSize ContactRowDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    return QSize(ColumnsWidth(mask_), kContactRowHeight);
}

bool ContactRowDelegate::PartAt(const QRect& rowRect, const QPoint& pos, RowPart& part) const {
    for (const ColumnSpan& span : VisibleColumns(mask_, rowRect.width())) {
        if (PartName(span.part).isEmpty() || !SpanRect(rowRect, span).contains(pos)) continue;
        part = span.part;
        return true;
    }
    return false;
}

QRect ContactRowDelegate::PartRect(const QRect& rowRect, RowPart part) const {
    for (const ColumnSpan& span : VisibleColumns(mask_, rowRect.width()))
        if (span.part == part) return SpanRect(rowRect, span);
    return {};
}

bool ContactRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                                   const QModelIndex& index) {
    if (event->type() != QEvent::ToolTip || !index.isValid()) return false;
    QString tip;
    for (const ColumnSpan& span : VisibleColumns(mask_, option.rect.width())) {
        if (!SpanRect(option.rect, span).contains(event->pos())) continue;
        if (span.part == RowPart::Common)
            tip = index.data(ContactListModel::CommonRole).toBool() ? QStringLiteral("取消常用") : QStringLiteral("设为常用");
        else if (span.part == RowPart::Menu)
            tip = index.data(ContactListModel::MenuOpenRole).toBool() ? QStringLiteral("收起") : QStringLiteral("展开");
        else tip = index.data(TextRole(span.part)).toString();
    }
    if (tip.isEmpty()) QToolTip::hideText();
    else QToolTip::showText(event->globalPos(), tip, view);
    return true;
}

ContactListView::ContactListView(QWidget* parent) : QListView(parent), delegate_(new ContactRowDelegate(this)) {
    setItemDelegate(delegate_);
    setUniformItemSizes(true);  // one row's size stands for all: no pass over every row
    setMouseTracking(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setAccessibleName(QStringLiteral("联系人列表"));
}

void ContactListView::SetColumnMask(int mask) {
    delegate_->SetColumnMask(mask);
    // Uniform sizes are cached from the first row; a new mask changes the row width.
    setUniformItemSizes(false);
    setUniformItemSizes(true);
    doItemsLayout();
    viewport()->update();
}

QRect ContactListView::GlobalPartRect(int contactId, RowPart part) const {
    const auto* rows = qobject_cast<const ContactListModel*>(model());
    if (!rows) return {};
    const int row = rows->RowOfContact(contactId);
    if (row < 0) return {};
    const QRect box = delegate_->PartRect(visualRect(rows->index(row)), part);
    if (box.isEmpty()) return {};
    return QRect(viewport()->mapToGlobal(box.topLeft()), box.size());
}

void ContactListView::mouseReleaseEvent(QMouseEvent* event) {
    QListView::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    const QModelIndex index = indexAt(event->pos());
    RowPart part;
    if (index.isValid() && delegate_->PartAt(visualRect(index), event->pos(), part)) Activate(index, part);
}

void ContactListView::keyPressEvent(QKeyEvent* event) {
    const QModelIndex index = currentIndex();
    if (index.isValid()) {
        switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: Activate(index, RowPart::Name); return;
        case Qt::Key_Space: Activate(index, RowPart::Common); return;
        case Qt::Key_Menu: Activate(index, RowPart::Menu); return;
        default: break;
        }
    }
    QListView::keyPressEvent(event);
}

void ContactListView::Activate(const QModelIndex& index, RowPart part) {
    setCurrentIndex(index);
    emit partActivated(part, index.data(ContactListModel::TagRole).toInt());
}

}  // namespace kivtal
