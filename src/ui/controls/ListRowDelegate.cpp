#include "ui/controls/ListRowDelegate.h"

#include <QPainter>
#include <QPixmapCache>

#include "ui/controls/ListKiv.h"
#include "ui/toolkit/SkinValues.h"

namespace kivtal {

QPixmap ListImage(const QString& file, const QSize& size) {
    if (file.isEmpty() || size.isEmpty()) return {};
    const QString key = QStringLiteral("ListKiv:%1:%2x%3").arg(file).arg(size.width()).arg(size.height());
    QPixmap pixmap;
    if (QPixmapCache::find(key, &pixmap)) return pixmap;
    if (!pixmap.load(SkinImagePath(file))) return {};
    if (pixmap.size() != size) pixmap = pixmap.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QPixmapCache::insert(key, pixmap);
    return pixmap;
}

ListRowDelegate::ListRowDelegate(ListKiv* list) : QStyledItemDelegate(list), list_(list) {}

QSize ListRowDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    return {option.rect.width(), list_->GetRowLayout().height};
}

void ListRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const RowLayout& layout = list_->GetRowLayout();
    const int row = index.row();
    painter->save();
    if (option.state & QStyle::State_Selected) painter->fillRect(option.rect, layout.currentColor);
    else if (row == list_->HoverRow()) painter->fillRect(option.rect, layout.hoverColor);
    for (const RowPart& part : layout.parts) {
        if (!list_->IsPartShown(part, row)) continue;
        const bool hot = row == list_->HoverRow() && &part == list_->HoverPart();
        PaintPart(painter, part, list_->PartRectIn(part, option.rect), row, hot);
    }
    painter->restore();
}

void ListRowDelegate::PaintPart(QPainter* painter, const RowPart& part, const QRect& rect, int row, bool hot) const {
    const QString face = hot && !part.hotImage.isEmpty() ? part.hotImage : part.image;
    if (!face.isEmpty()) painter->drawPixmap(rect.topLeft(), ListImage(face, rect.size()));
    const QString value = list_->Rows()->PartText(row, part.name);
    if (value.isEmpty()) return;
    if (part.kind == RowPart::Image) {
        painter->drawPixmap(rect.topLeft(), ListImage(value, rect.size()));
        return;
    }
    QFont font = list_->font();
    if (part.pixelSize > 0) font.setPixelSize(part.pixelSize);
    font.setBold(part.bold);
    painter->setFont(font);
    painter->setPen(part.color.isValid() ? part.color : list_->palette().color(QPalette::Text));
    const QString shown = QFontMetrics(font).elidedText(value, Qt::ElideRight, rect.width());
    painter->drawText(rect, static_cast<int>(part.align), shown);
}

}  // namespace kivtal
