#pragma once
// The 近期生日 list of the matters page ("BirthdayList"): a heading over one row per
// coming birthday, nearest first (name, date, solar or lunar date, age when the year of
// birth is known, days left). A click on a row posts WM_UI_CONTACT_OPEN with the
// contact's id to the window. It shows what it is given; the matters pane reads the store.
#include <QWidget>
#include <vector>

#include "text/Birthdays.h"

class QLabel;
class QListWidget;

namespace kivtal {

// "张三 05-21 农历四月初五 41岁 今天": one row's text.
QString BirthdayRowText(const UpcomingBirthday& birthday);

class BirthdayList : public QWidget {
    Q_OBJECT

public:
    explicit BirthdayList(QWidget* parent = nullptr);

    // The rows anew; an empty list shows "30天内没有生日", a failed read `readFailed`.
    void SetBirthdays(const std::vector<UpcomingBirthday>& birthdays, bool readFailed = false);
    QListWidget* Rows() const { return rows_; }
    QString EmptyText() const;

private:
    void OnRowClicked(int row);

    QLabel* heading_ = nullptr;
    QLabel* empty_ = nullptr;
    QListWidget* rows_ = nullptr;
    std::vector<int> contactIds_;
};

}  // namespace kivtal
