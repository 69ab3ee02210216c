#include "ui/controls/Calendar.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/Clock.h"
#include "text/LunarCalendar.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {
namespace {

const char* const kWeekdayNames[] = {"星期日", "星期一", "星期二", "星期三", "星期四", "星期五", "星期六"};
const char* const kWeekdayHeads[] = {"日", "一", "二", "三", "四", "五", "六"};

QColor Argb(unsigned argb) { return QColor::fromRgba(argb); }

QString Two(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

QPushButton* MonthButton(const char* name, const QString& text, const QString& accessible, QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAccessibleName(accessible);
    button->setToolTip(accessible);
    button->setFixedSize(24, 22);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

}  // namespace

CalendarDayButton::CalendarDayButton(QWidget* parent) : QAbstractButton(parent) {
    setObjectName(calendar::kDayButton);
    setProperty("group", QStringLiteral("calendar"));
    setCheckable(true);
    setFixedSize(kCalendarCellWidth, kCalendarCellHeight);
    setCursor(Qt::PointingHandCursor);
    setAttribute(Qt::WA_Hover);
}

void CalendarDayButton::SetDate(CalendarDate date, bool inShownMonth, bool isToday) {
    date_ = date;
    inMonth_ = inShownMonth;
    today_ = isToday;
    busy_ = false;
    birthday_ = false;
    dayText_ = CalendarDayText(date.year, date.month, date.day);
    setText(QString::number(date.day));
    UpdateAccessibleName();
    update();
}

void CalendarDayButton::SetBusy(bool busy) {
    if (busy_ == busy) return;
    busy_ = busy;
    UpdateAccessibleName();
    update();
}

void CalendarDayButton::SetBirthday(bool birthday) {
    if (birthday_ == birthday) return;
    birthday_ = birthday;
    UpdateAccessibleName();
    update();
}

unsigned CalendarDayButton::TextColour() const {
    if (today_) return 0xFFFFFFFF;
    if (busy_) return kBusyColour;
    if (!inMonth_) return kOtherMonthColour;
    const int weekday = DayOfWeek(date_);
    return weekday == 0 || weekday == 6 ? kWeekendColour : kDayTextColour;
}

unsigned CalendarDayButton::SecondLineColour() const {
    if (today_) return 0xFFFFFFFF;
    if (!inMonth_) return kOtherMonthColour;
    switch (dayText_.kind) {
        case DayTextKind::kFestival: return kFestivalColour;
        case DayTextKind::kSolarTerm: return kTermColour;
        default: return kLunarTextColour;
    }
}

void CalendarDayButton::UpdateAccessibleName() {
    QString name = QStringLiteral("%1年%2月%3日").arg(date_.year).arg(date_.month).arg(date_.day);
    if (!dayText_.text.empty()) name += QLatin1Char(' ') + QString::fromStdString(dayText_.text);
    if (today_) name += QStringLiteral(" 今天");
    if (busy_) name += QStringLiteral(" 有事项");
    if (birthday_) name += QStringLiteral(" 生日");
    setAccessibleName(name);
}

void CalendarDayButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF box = QRectF(rect()).adjusted(1, 1, -1, -1);
    const bool hot = underMouse();
    QColor fill(Qt::transparent);
    QColor ring(Qt::transparent);
    if (today_) fill = hot && isChecked() ? QColor(0x4f, 0x9a, 0xe8) : QColor(0x2b, 0x7c, 0xd3);
    else if (isChecked()) ring = hot ? QColor(0x4f, 0x9a, 0xe8) : QColor(0x2b, 0x7c, 0xd3);
    else if (hot) fill = QColor(0xe6, 0xef, 0xf9);
    painter.setPen(ring.alpha() ? QPen(ring, 1.5) : Qt::NoPen);
    painter.setBrush(fill);
    painter.drawRoundedRect(box, 4, 4);

    // The number keeps the upper part and its busy colour; the day's text sits below.
    const QRect numberRect(0, 1, width(), height() * 11 / 20);
    const QRect lineRect(0, numberRect.bottom(), width(), height() - numberRect.bottom() - 1);
    painter.setPen(Argb(TextColour()));
    painter.drawText(numberRect, Qt::AlignHCenter | Qt::AlignBottom, this->text());
    QFont small = painter.font();
    small.setPixelSize(9);
    painter.setFont(small);
    painter.setPen(Argb(SecondLineColour()));
    painter.drawText(lineRect, Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(dayText_.text));

    // Today's filled cell cannot show a red number: a red dot beside it marks matters.
    painter.setPen(Qt::NoPen);
    if (today_ && busy_) {
        painter.setBrush(Argb(kBusyColour));
        painter.drawEllipse(QPointF(width() - 5.0, 5.0), 2, 2);
    }
    if (birthday_) {
        painter.setBrush(today_ ? QColor(Qt::white) : Argb(kBirthdayMarkColour));
        painter.drawEllipse(QPointF(5.0, 5.0), 2, 2);
    }
}

CCalendarUI::CCalendarUI(QWidget* parent) : QWidget(parent) {
    today_ = TodayDate();
    selected_ = today_;
    shownYear_ = today_.year;
    shownMonth_ = today_.month;
    BuildChildren();
    SetTexts();
    RebuildGrid();
}

void CCalendarUI::BuildChildren() {
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 4, 0, 6);
    column->setSpacing(2);

    auto* heading = new QHBoxLayout;
    heading->setContentsMargins(0, 0, 0, 0);
    heading->addWidget(MonthButton(calendar::kPreviousMonth.name, QStringLiteral("‹"), QStringLiteral("上个月"), this));
    monthHeading_ = new QLabel(this);
    monthHeading_->setObjectName(QStringLiteral("calendar_month"));
    monthHeading_->setAlignment(Qt::AlignCenter);
    heading->addWidget(monthHeading_, 1);
    heading->addWidget(MonthButton(calendar::kNextMonth.name, QStringLiteral("›"), QStringLiteral("下个月"), this));
    column->addLayout(heading);

    auto* grid = new QGridLayout;
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(1);
    grid->setVerticalSpacing(1);
    for (int d = 0; d < 7; ++d) {
        auto* head = new QLabel(QString::fromUtf8(kWeekdayHeads[d]), this);
        head->setObjectName(QStringLiteral("calendar_weekday"));
        head->setAlignment(Qt::AlignCenter);
        grid->addWidget(head, 0, d);
    }
    for (int i = 0; i < kCalendarCells; ++i) {
        auto* cell = new CalendarDayButton(this);
        cells_.push_back(cell);
        grid->addWidget(cell, 1 + i / 7, i % 7);
    }
    column->addLayout(grid);

    todayLine_ = new QLabel(this);
    todayLine_->setObjectName(QStringLiteral("calendar_today"));
    lunarLine_ = new QLabel(this);
    lunarLine_->setObjectName(QStringLiteral("calendar_lunar"));
    for (QLabel* line : {todayLine_, lunarLine_}) {
        line->setAlignment(Qt::AlignCenter);
        column->addWidget(line);
    }
}

void CCalendarUI::SetTexts() {
    monthHeading_->setText(QStringLiteral("%1年%2月").arg(shownYear_, 4).arg(Two(shownMonth_)));
    todayLine_->setText(
        QStringLiteral("%1月%2日 [%3]")
            .arg(Two(today_.month), Two(today_.day), QString::fromUtf8(kWeekdayNames[DayOfWeek(today_)])));
    lunarLine_->setText(QString::fromStdString(SolarToLunarText(today_.year, today_.month, today_.day)));
}

void CCalendarUI::RebuildGrid() {
    const CalendarDate first{shownYear_, shownMonth_, 1};
    const CalendarDate gridStart = AddDays(first, -DayOfWeek(first));
    const CalendarDate now = TodayDate();
    CalendarDate date = gridStart;
    for (CalendarDayButton* cell : cells_) {
        cell->SetDate(date, date.year == shownYear_ && date.month == shownMonth_, date == now);
        cell->setChecked(date == selected_);
        date = NextDay(date);
    }
    RefreshBusyMarks();
}

void CCalendarUI::RefreshBusyMarks() {
    for (CalendarDayButton* cell : cells_) {
        cell->SetBusy(false);
        cell->SetBirthday(false);
    }
    if (cells_.empty()) return;
    if (birthdaySource_) {
        for (CalendarDate day : birthdaySource_(cells_.front()->Date(), cells_.back()->Date()))
            if (CalendarDayButton* cell = CellOf(day)) cell->SetBirthday(true);
    }
    if (!busySource_) return;
    // Every cell of the grid, the neighbouring months' days included, from the first
    // cell's 00:00 to the end of the last one.
    const auto from = DayStart(cells_.front()->Date());
    const auto last = DayStart(cells_.back()->Date());
    if (!from || !last) return;
    const std::int64_t end = std::int64_t{*last} + 86400;
    const auto to = static_cast<std::int32_t>(std::min<std::int64_t>(end, INT32_MAX));
    std::vector<int> days;
    busySource_(*from, to, days);  // the days found before a failure still show
    for (int n : days)
        if (n >= 0 && n < static_cast<int>(cells_.size())) cells_[n]->SetBusy(true);
}

CalendarDayButton* CCalendarUI::CellOf(CalendarDate date) const {
    for (CalendarDayButton* cell : cells_)
        if (cell->Date() == date) return cell;
    return nullptr;
}

bool CCalendarUI::SelectIfShown(CalendarDate date) {
    if (!CellOf(date)) return false;
    selected_ = date;
    for (CalendarDayButton* cell : cells_) cell->setChecked(cell->Date() == date);
    return true;
}

void CCalendarUI::Refresh() {
    today_ = TodayDate();
    ShowMonth(today_.year, today_.month);
}

void CCalendarUI::ShowMonth(int year, int month) {
    shownYear_ = year;
    shownMonth_ = month;
    SetTexts();
    RebuildGrid();
}

void CCalendarUI::OnDayClick(QWidget* sender) {
    auto* cell = qobject_cast<CalendarDayButton*>(sender);
    if (!cell || (!cells_.empty() && std::find(cells_.begin(), cells_.end(), cell) == cells_.end())) return;
    const CalendarDate date = cell->Date();
    SelectIfShown(date);
    if (auto* owner = qobject_cast<WindowImplBase*>(window())) owner->SendMessage(WM_UI_CALENDAR_PICK, date.Pack());
    if (date.year != shownYear_ || date.month != shownMonth_) {
        ShowMonth(date.year, date.month);
        SelectIfShown(date);
    }
}

void CCalendarUI::PreviousMonth() {
    if (shownMonth_ == 1) ShowMonth(shownYear_ - 1, 12);
    else ShowMonth(shownYear_, shownMonth_ - 1);
}

void CCalendarUI::NextMonth() {
    if (shownMonth_ == 12) ShowMonth(shownYear_ + 1, 1);
    else ShowMonth(shownYear_, shownMonth_ + 1);
}

}  // namespace kivtal
