#pragma once
// Draws one row of a ListKiv from its RowLayout: the row's background (pointer over it,
// current), then each part's image and text. Only rows on screen are drawn.
#include <QStyledItemDelegate>

namespace kivtal {

class ListKiv;
struct RowPart;

class ListRowDelegate : public QStyledItemDelegate {
public:
    explicit ListRowDelegate(ListKiv* list);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    void PaintPart(QPainter* painter, const RowPart& part, const QRect& rect, int row, bool hot) const;

    ListKiv* list_;
};

// A skin image (or image file) scaled to size, cached across rows and repaints; null
// when the file cannot be read.
QPixmap ListImage(const QString& file, const QSize& size);

}  // namespace kivtal
