#include "ui/controls/BirthdayList.h"

#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include "text/LunarCalendar.h"
#include "ui/toolkit/UiMessages.h"
#include "ui/toolkit/WindowImplBase.h"

namespace kivtal {
namespace {

constexpr int kRowHeight = 22;
constexpr int kShownRows = 2;

QString DaysLeftText(int days) {
    if (days == 0) return QStringLiteral("今天");
    if (days == 1) return QStringLiteral("明天");
    return QStringLiteral("%1天后").arg(days);
}

QString KindText(const UpcomingBirthday& b) {
    if (b.birthday.type != kLunarBirthday) return QStringLiteral("公历");
    return QStringLiteral("农历") +
           QString::fromStdString(LunarMonthText(b.birthday.month) + LunarDayName(b.birthday.day));
}

}  // namespace

QString BirthdayRowText(const UpcomingBirthday& b) {
    QString text = QStringLiteral("%1 %2-%3 %4")
                       .arg(QString::fromStdString(b.name))
                       .arg(b.next.date.month, 2, 10, QLatin1Char('0'))
                       .arg(b.next.date.day, 2, 10, QLatin1Char('0'))
                       .arg(KindText(b));
    if (b.next.age >= 0) text += QStringLiteral(" %1岁").arg(b.next.age);
    return text + QLatin1Char(' ') + DaysLeftText(b.daysLeft);
}

BirthdayList::BirthdayList(QWidget* parent) : QWidget(parent) {
    setAccessibleName(QStringLiteral("近期生日"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(2);
    heading_ = new QLabel(QStringLiteral("近期生日"), this);
    heading_->setObjectName(QStringLiteral("birthday_heading"));
    empty_ = new QLabel(this);
    empty_->setObjectName(QStringLiteral("birthday_empty"));
    rows_ = new QListWidget(this);
    rows_->setObjectName(QStringLiteral("birthday_rows"));
    rows_->setAccessibleName(QStringLiteral("近期生日列表"));
    rows_->setFrameShape(QFrame::NoFrame);
    rows_->setFixedHeight(kRowHeight * kShownRows + 2);
    for (QWidget* w : {static_cast<QWidget*>(heading_), static_cast<QWidget*>(empty_), static_cast<QWidget*>(rows_)})
        column->addWidget(w);
    connect(rows_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { OnRowClicked(rows_->row(item)); });
    SetBirthdays({});
}

void BirthdayList::SetBirthdays(const std::vector<UpcomingBirthday>& birthdays, bool readFailed) {
    rows_->clear();
    contactIds_.clear();
    for (const UpcomingBirthday& b : birthdays) {
        auto* item = new QListWidgetItem(BirthdayRowText(b), rows_);
        item->setSizeHint(QSize(0, kRowHeight));
        item->setToolTip(item->text());
        contactIds_.push_back(b.contactId);
    }
    empty_->setText(readFailed ? QStringLiteral("生日读取失败") : QStringLiteral("30天内没有生日"));
    empty_->setVisible(birthdays.empty());
    rows_->setVisible(!birthdays.empty());
}

QString BirthdayList::EmptyText() const { return empty_->isVisibleTo(this) ? empty_->text() : QString(); }

void BirthdayList::OnRowClicked(int row) {
    if (row < 0 || row >= static_cast<int>(contactIds_.size())) return;
    if (auto* owner = qobject_cast<WindowImplBase*>(window())) owner->PostMessage(WM_UI_CONTACT_OPEN, contactIds_[row]);
}

}  // namespace kivtal
