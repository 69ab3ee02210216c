#pragma once
// The contact list: a list view over ContactListModel whose delegate draws each row's
// parts (common mark, name, the optional columns, menu button) and turns a click or a
// key on a part into partActivated(part, contact id). Tooltips follow the part under
// the mouse.
#include <QListView>
#include <QStyledItemDelegate>

#include "ui/main/ContactColumns.h"

namespace kivtal {

class ContactRowDelegate : public QStyledItemDelegate {
    Q_OBJECT

public:
    explicit ContactRowDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

    void SetColumnMask(int mask) { mask_ = mask; }
    int ColumnMask() const { return mask_; }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;

    // The clickable part at pos of a row drawn in rowRect; false over text labels and gaps.
    bool PartAt(const QRect& rowRect, const QPoint& pos, RowPart& part) const;
    QRect PartRect(const QRect& rowRect, RowPart part) const;

private:
    int mask_ = 6;
};

class ContactListView : public QListView {
    Q_OBJECT

public:
    explicit ContactListView(QWidget* parent = nullptr);

    ContactRowDelegate* RowDelegate() const { return delegate_; }
    void SetColumnMask(int mask);
    // The part's rectangle on the screen in the row of contactId; empty when not shown.
    QRect GlobalPartRect(int contactId, RowPart part) const;

signals:
    void partActivated(kivtal::RowPart part, int contactId);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Activate(const QModelIndex& index, RowPart part);

    ContactRowDelegate* delegate_;
};

}  // namespace kivtal
