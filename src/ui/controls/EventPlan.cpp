#include "ui/controls/EventPlan.h"

#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <algorithm>
#include <QPainter>
#include <QPaintEvent>
#include <QToolTip>

#include "ui/controls/TimelineAccessible.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {
namespace {

const char* const kWeekdayChars[] = {"日", "一", "二", "三", "四", "五", "六"};
const char* const kNearDays[] = {"今天 ", "明天 ", "后天 ", "大后天 "};

constexpr int kHeadingLeft = 42;
constexpr int kHeadingTop = 12;
constexpr int kItemsBelowHeading = 31;
constexpr int kItemHeight = 38;
constexpr int kRemarkHeight = 35;
constexpr int kRemarkIndent = 12;
constexpr int kMaxItemTextWidth = 400;
constexpr int kIconSize = 16;
constexpr int kDatePartRightGap = 70;

const QColor kHeadingColour = QColor::fromRgba(0xFF546D21);
const QColor kItemColour = QColor::fromRgba(0xFF333333);
const QColor kRemarkColour(136, 136, 136);

}  // namespace

QString DayHeading(CalendarDate date, CalendarDate today) {
    QString prefix;
    const int ahead = date.day - today.day;
    if (date.year == today.year && date.month == today.month && ahead >= 0 && ahead <= 3)
        prefix = QString::fromUtf8(kNearDays[ahead]);
    return prefix + QStringLiteral("%1年%2月%3日 星期%4")
                        .arg(date.year, 4)
                        .arg(date.month, 2, 10, QLatin1Char('0'))
                        .arg(date.day, 2, 10, QLatin1Char('0'))
                        .arg(QString::fromUtf8(kWeekdayChars[DayOfWeek(date)]));
}

int SectionContentHeight(const std::vector<TimeItem>& items) {
    int h = kItemsBelowHeading;
    for (const TimeItem& item : items) h += kItemHeight + kRemarkHeight * static_cast<int>(item.remarks.size());
    return h;
}

// --- Day section ---

CTimeBody::CTimeBody(CalendarDate date, QString heading, std::vector<TimeItem> items, QWidget* parent)
    : QWidget(parent), date_(date), heading_(std::move(heading)), items_(std::move(items)) {
    for (TimeItem& item : items_)
        if (item.remarks.size() > 2) item.remarks.resize(2);
    static const bool factoryInstalled = [] {
        QAccessible::installFactory(TimelineAccessibleFactory);
        return true;
    }();
    (void)factoryInstalled;
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setFixedHeight(ContentHeight() + kSectionElementExtra);
    setAccessibleName(heading_);
}

QString CTimeBody::SpokenItem(int index) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) return {};
    const TimeItem& item = items_[index];
    QString text = item.time.isEmpty() ? QString() : item.time + QLatin1Char(' ');
    text += QString(item.text).replace(QChar(13), QLatin1Char(' '));
    if (item.reminder) text += QStringLiteral("，有提醒");
    for (const QString& remark : item.remarks) text += QStringLiteral("；备注：") + remark;
    return text;
}

void CTimeBody::Open(int index, Part part) {
    if (index < 0 || index >= static_cast<int>(items_.size())) return;
    const TimeItem& item = items_[index];
    auto* owner = qobject_cast<WindowImplBase*>(window());
    if (!owner) return;
    if (item.IsBirthday()) owner->PostMessage(WM_UI_CONTACT_OPEN, item.contactId);
    else owner->PostMessage(part == AddRemark ? WM_UI_MATTER_ADD_REMARK : WM_UI_MATTER_DETAILS, item.event_id);
}

void CTimeBody::keyPressEvent(QKeyEvent* event) {
    const int last = static_cast<int>(items_.size()) - 1;
    switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down: {
            const int next = std::clamp(current_ + (event->key() == Qt::Key_Up ? -1 : 1), 0, last);
            if (next == current_) break;
            current_ = next;
            update();
            QAccessibleEvent focus(this, QAccessible::Focus);
            focus.setChild(current_);
            QAccessible::updateAccessibility(&focus);
            return;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter: Open(current_, event->modifiers() & Qt::ShiftModifier ? AddRemark : Details); return;
        default: break;
    }
    QWidget::keyPressEvent(event);
}

void CTimeBody::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    if (auto* list = qobject_cast<QListWidget*>(parentWidget() ? parentWidget()->parentWidget() : nullptr))
        for (int i = 0; i < list->count(); ++i)
            if (list->itemWidget(list->item(i)) == this) list->setCurrentRow(i);
    update();
}

void CTimeBody::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    update();
}

void CTimeBody::SetHighlighted(bool highlighted) {
    if (highlighted_ == highlighted) return;
    highlighted_ = highlighted;
    update();
}

int CTimeBody::ItemTop(int index) const {
    int y = kHeadingTop + kItemsBelowHeading;
    for (int i = 0; i < index; ++i) y += kItemHeight + kRemarkHeight * static_cast<int>(items_[i].remarks.size());
    return y;
}

QRect CTimeBody::PartRect(int index, Part part) const {
    if (index < 0 || index >= static_cast<int>(items_.size())) return {};
    const int top = ItemTop(index);
    const int right = width() - 24;
    const int iconTop = top + (kItemHeight - kIconSize) / 2 - 6;
    switch (part) {
        case Details: return {right - kIconSize, iconTop, kIconSize, kIconSize};
        case AddRemark: return {right - 2 * kIconSize - 10, iconTop, kIconSize, kIconSize};
        case Text: {
            const QString line =
                QStringLiteral("%1.%2").arg(index + 1).arg(items_[index].text.section(QChar(13), 0, 0));
            const int limit = std::min(kMaxItemTextWidth, right - 2 * kIconSize - 20 - kHeadingLeft - 24);
            const int w = std::min(fontMetrics().horizontalAdvance(line), limit);
            return {kHeadingLeft, top, w, kItemHeight - 12};
        }
        case None: break;
    }
    return {};
}

std::pair<int, CTimeBody::Part> CTimeBody::HitTest(const QPoint& point) const {
    for (int i = 0; i < static_cast<int>(items_.size()); ++i)
        for (Part part : {Text, AddRemark, Details})
            if ((part == Text || !items_[i].IsBirthday()) && PartRect(i, part).contains(point)) return {i, part};
    return {-1, None};
}

void CTimeBody::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const int h = ContentHeight();
    // The timeline along the left, and this section's marker on it.
    painter.setPen(QPen(QColor(0xd5, 0xdd, 0xe6), 2));
    painter.drawLine(10, 0, 10, height());
    painter.setPen(Qt::NoPen);
    painter.setBrush(highlighted_ ? QColor(0x2b, 0x7c, 0xd3) : QColor(0xb8, 0xc6, 0xd4));
    painter.drawEllipse(QPointF(10, kHeadingTop + 9), 5, 5);
    // The section's card.
    painter.setPen(highlighted_ ? QColor(0x9c, 0xc3, 0xec) : QColor(0xdd, 0xe4, 0xec));
    painter.setBrush(Qt::white);
    painter.drawRoundedRect(QRectF(21.5, highlighted_ ? 2.5 : 3.5, width() - 26, h + 7), 5, 5);

    QFont headingFont = font();
    headingFont.setBold(highlighted_);
    painter.setFont(headingFont);
    painter.setPen(kHeadingColour);
    const int headingTop = highlighted_ ? kHeadingTop - 2 : kHeadingTop;
    painter.drawText(QRect(kHeadingLeft, headingTop, width() - kHeadingLeft - 10, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     heading_);
    painter.setFont(font());
    // Only the items in the exposed band: a long day scrolls, and its hidden items cost nothing.
    const QRect exposed = event->rect();
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const int top = ItemTop(i);
        if (top > exposed.bottom()) break;
        const int bottom = top + kItemHeight + kRemarkHeight * static_cast<int>(items_[i].remarks.size());
        if (bottom >= exposed.top()) PaintItem(painter, i);
    }
}

void CTimeBody::PaintItem(QPainter& painter, int index) {
    const TimeItem& item = items_[index];
    const int top = ItemTop(index);
    const QRect textBox = PartRect(index, Text);
    const int limit = std::min(kMaxItemTextWidth, PartRect(index, AddRemark).left() - 28 - kHeadingLeft);
    QString first = item.text.section(QChar(13), 0, 0);
    if (first.size() < item.text.size()) first += QStringLiteral("…");
    const QString line =
        painter.fontMetrics().elidedText(QStringLiteral("%1.%2").arg(index + 1).arg(first), Qt::ElideRight, limit);
    painter.setPen(item.IsBirthday() ? QColor::fromRgba(0xFFC2185B) : kItemColour);
    painter.drawText(QRect(kHeadingLeft, top, limit, textBox.height()), Qt::AlignLeft | Qt::AlignVCenter, line);
    if (item.reminder) {
        const int x = kHeadingLeft + painter.fontMetrics().horizontalAdvance(line) + 6;
        const QRect clock(x, top + (textBox.height() - 12) / 2, 12, 12);
        painter.setPen(QPen(QColor(0xe0, 0x8a, 0x1e), 1.4));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(clock);
        painter.drawLine(clock.center(), clock.center() - QPoint(0, 4));
        painter.drawLine(clock.center(), clock.center() + QPoint(3, 0));
    }
    if (hasFocus() && index == current_) {
        // The keyboard's matter: one frame, drawn only while the section has the focus.
        painter.setPen(QPen(QColor(0x2b, 0x7c, 0xd3), 1, Qt::DotLine));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(textBox.adjusted(-4, 0, 4, 0));
    }
    if (!item.IsBirthday()) {
        PaintIcon(painter, PartRect(index, AddRemark), AddRemark, hotItem_ == index && hotPart_ == AddRemark);
        PaintIcon(painter, PartRect(index, Details), Details, hotItem_ == index && hotPart_ == Details);
    }

    int y = top + 27;
    const int right = width() - kDatePartRightGap;
    for (const QString& remark : item.remarks) {
        const int open = remark.lastIndexOf(QLatin1Char('('));
        const QString body = open < 0 ? remark : remark.left(open);
        const QString datePart = open < 0 ? QString() : remark.mid(open);
        const int left = kHeadingLeft + kRemarkIndent;
        const int dateWidth = painter.fontMetrics().horizontalAdvance(datePart);
        painter.setPen(kRemarkColour);
        const QString shown = painter.fontMetrics().elidedText(QStringLiteral("备注：") + body.section(QChar(13), 0, 0),
                                                               Qt::ElideRight, right - dateWidth - 12 - left);
        painter.drawText(QRect(left, y, right - left, 24), Qt::AlignLeft | Qt::AlignVCenter, shown);
        painter.drawText(QRect(left, y, right - left, 24), Qt::AlignRight | Qt::AlignVCenter, datePart);
        y += kRemarkHeight;
    }
    if (index + 1 < static_cast<int>(items_.size())) {
        painter.setPen(QColor(0xee, 0xf0, 0xf3));
        const int sep = ItemTop(index + 1) - 6;
        painter.drawLine(kHeadingLeft - 10, sep, width() - 18, sep);
    }
}

void CTimeBody::PaintIcon(QPainter& painter, const QRect& box, Part part, bool active) const {
    const QColor colour =
        active ? (pressed_ ? QColor(0x1a, 0x5f, 0xa8) : QColor(0x2b, 0x7c, 0xd3)) : QColor(0xa0, 0xaa, 0xb4);
    painter.setPen(QPen(colour, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(box).adjusted(0.75, 0.75, -0.75, -0.75), 3, 3);
    const QPointF c = QRectF(box).center();
    if (part == AddRemark) {
        painter.drawLine(QPointF(c.x() - 4, c.y()), QPointF(c.x() + 4, c.y()));
        painter.drawLine(QPointF(c.x(), c.y() - 4), QPointF(c.x(), c.y() + 4));
    } else {
        for (int dx : {-4, 0, 4}) painter.drawPoint(QPointF(c.x() + dx, c.y()));
    }
}

void CTimeBody::SetHot(int index, Part part) {
    if (hotItem_ == index && hotPart_ == part) return;
    hotItem_ = index;
    hotPart_ = part;
    update();
}

void CTimeBody::mouseMoveEvent(QMouseEvent* event) {
    const auto [index, part] = HitTest(event->position().toPoint());
    setCursor(part == None ? Qt::ArrowCursor : Qt::PointingHandCursor);
    QString tip;
    if (part == Details) tip = QStringLiteral("显示事项详情");
    else if (part == AddRemark) tip = QStringLiteral("添加备注");
    setToolTip(tip);
    SetHot(part == Text ? -1 : index, part == Text ? None : part);
}

void CTimeBody::mousePressEvent(QMouseEvent* event) {
    const auto [index, part] = HitTest(event->position().toPoint());
    if (event->button() != Qt::LeftButton || part == None) {
        QWidget::mousePressEvent(event);
        return;
    }
    pressed_ = true;
    current_ = index;
    update();
    Open(index, part);
}

void CTimeBody::mouseReleaseEvent(QMouseEvent* event) {
    pressed_ = false;
    update();
    QWidget::mouseReleaseEvent(event);
}

void CTimeBody::leaveEvent(QEvent*) {
    setToolTip(QString());
    SetHot(-1, None);
}

// --- Timeline ---

CTimeBase::CTimeBase(QWidget* parent) : QListWidget(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    // Tab goes straight to the sections, which act on their matters.
    setFocusPolicy(Qt::NoFocus);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setAccessibleName(QStringLiteral("事项时间轴"));
    connect(this, &QListWidget::currentRowChanged, this, &CTimeBase::OnCurrentChanged);
}

void CTimeBase::Clear() { clear(); }

void CTimeBase::AddSection(CalendarDate date, std::vector<TimeItem> items) {
    if (items.empty()) return;
    auto* body = new CTimeBody(date, DayHeading(date, TodayDate()), std::move(items));
    auto* element = new QListWidgetItem(this);
    element->setSizeHint(QSize(0, body->height()));
    element->setData(Qt::AccessibleTextRole, body->Heading());  // screen readers read the row
    setItemWidget(element, body);
    setCurrentRow(0);
    OnCurrentChanged();
}

CTimeBody* CTimeBase::Section(int index) const { return qobject_cast<CTimeBody*>(itemWidget(item(index))); }

void CTimeBase::OnCurrentChanged() {
    for (int i = 0; i < count(); ++i)
        if (CTimeBody* body = Section(i)) body->SetHighlighted(i == currentRow());
}

}  // namespace kivtal
