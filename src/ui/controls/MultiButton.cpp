#include "ui/controls/MultiButton.h"

#include <QPainter>
#include <QStyleOptionButton>

namespace kivtal {
namespace {

constexpr int kMaxPartLength = 31;

}  // namespace

CMultiLineButtonUI::CMultiLineButtonUI(QWidget* parent) : QPushButton(parent) {
    setCursor(Qt::PointingHandCursor);
    setMinimumHeight(46);
    setAttribute(Qt::WA_Hover);
}

void CMultiLineButtonUI::SetDay(const QString& title, const QString& dateText, int count) {
    title_ = title.left(kMaxPartLength);
    date_ = dateText.left(kMaxPartLength);
    count_ = count;
    setAccessibleName(title_ + QLatin1Char(' ') + date_ + QLatin1Char(' ') + SecondLine());
    update();
}

QString CMultiLineButtonUI::SecondLine() const { return QStringLiteral("安排了 %1 件事项").arg(count_); }

void CMultiLineButtonUI::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF frame = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    const QColor fill = isDown() ? QColor(0xdc, 0xe9, 0xf8) : underMouse() ? QColor(0xee, 0xf4, 0xfb) : Qt::white;
    painter.setPen(QColor(0xd9, 0xe2, 0xec));
    painter.setBrush(fill);
    painter.drawRoundedRect(frame, 4, 4);

    const QRect inner = rect().adjusted(10, 4, -8, -4);
    const int half = inner.height() / 2;
    QFont bold = font();
    bold.setBold(true);
    painter.setFont(bold);
    painter.setPen(QColor(0x2b, 0x7c, 0xd3));
    const QRect top(inner.left(), inner.top(), inner.width(), half);
    painter.drawText(top, Qt::AlignLeft | Qt::AlignVCenter, title_);
    painter.setFont(font());
    painter.setPen(QColor(0x99, 0x99, 0x99));
    painter.drawText(top, Qt::AlignRight | Qt::AlignVCenter, date_);
    painter.setPen(QColor(0x33, 0x33, 0x33));
    painter.drawText(QRect(inner.left(), inner.top() + half, inner.width(), inner.height() - half),
                     Qt::AlignLeft | Qt::AlignVCenter, SecondLine());
}

}  // namespace kivtal
