#pragma once
// The timeline of the matters page ("EventPlan", CTimeBase): a list of day sections
// (CTimeBody), each a day heading over the day's matters with their reminder mark and
// up to two remark lines. A press on a matter's text or details icon posts
// WM_UI_MATTER_DETAILS to the window, a press on its add-remark icon
// WM_UI_MATTER_ADD_REMARK, both with the matter's event_id. From the keyboard a section
// takes the focus with Tab, Up and Down choose its matter, Enter opens the details and
// Shift+Enter the add-remark page; a screen reader finds each matter as a list item
// with its time, text and remarks and the same two actions.
// An all-day birthday item (contactId set) has no icons; opening it (a press on its
// text, Enter) posts WM_UI_CONTACT_OPEN with the contact's id.
#include <QListWidget>
#include <QString>
#include <vector>

#include "ui/controls/CalendarDate.h"

namespace kivtal {

struct TimeItem {
    int event_id = 0;
    int contactId = 0;  // a contact's birthday, shown as an all-day item
    bool IsBirthday() const { return contactId != 0; }
    bool reminder = false;
    QString time;  // "10:00-11:30", or with dates for a matter beyond the day; read out, not drawn
    QString text;
    std::vector<QString> remarks;  // at most two; each ends in its "(mm-dd)" date part
};

// "今天 2026年12月10日 星期四" ... "大后天 …" for today and the three days after it within
// today's month; the plain "2026年12月10日 星期四" otherwise.
QString DayHeading(CalendarDate date, CalendarDate today);

// Height of a section's content: 31 + 38 per item + 35 per remark line.
int SectionContentHeight(const std::vector<TimeItem>& items);
inline constexpr int kSectionElementExtra = 19;

class CTimeBody : public QWidget {
    Q_OBJECT

public:
    enum Part { None, Text, AddRemark, Details };

    CTimeBody(CalendarDate date, QString heading, std::vector<TimeItem> items, QWidget* parent = nullptr);

    CalendarDate Date() const { return date_; }
    const QString& Heading() const { return heading_; }
    const std::vector<TimeItem>& Items() const { return items_; }
    int ContentHeight() const { return SectionContentHeight(items_); }
    void SetHighlighted(bool highlighted);

    // Where a part of item `index` lies; empty for an unknown index.
    QRect PartRect(int index, Part part) const;
    // The item and part under a point, {-1, None} for none.
    std::pair<int, Part> HitTest(const QPoint& point) const;
    // The matter the keyboard acts on.
    int CurrentItem() const { return current_; }
    // What a screen reader says for item `index`: time, text, reminder and remarks.
    QString SpokenItem(int index) const;
    // Posts the message of `part` (Details or AddRemark) for item `index`.
    void Open(int index, Part part);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int ItemTop(int index) const;
    void PaintItem(QPainter& painter, int index);
    void PaintIcon(QPainter& painter, const QRect& box, Part part, bool active) const;
    void SetHot(int index, Part part);

    CalendarDate date_;
    QString heading_;
    std::vector<TimeItem> items_;
    bool highlighted_ = false;
    int hotItem_ = -1;
    Part hotPart_ = None;
    bool pressed_ = false;
    int current_ = 0;
};

class CTimeBase : public QListWidget {
    Q_OBJECT

public:
    explicit CTimeBase(QWidget* parent = nullptr);

    void Clear();
    // Appends a section with the date's heading (today from the clock) and selects the
    // first section. Nothing for an empty list of items.
    void AddSection(CalendarDate date, std::vector<TimeItem> items);
    int SectionCount() const { return count(); }
    CTimeBody* Section(int index) const;

private:
    void OnCurrentChanged();
};

}  // namespace kivtal
