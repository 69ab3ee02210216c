#include "ui/controls/DatePopup.h"

#include <QCalendarWidget>
#include <QDateEdit>
#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <QTextCharFormat>

namespace kivtal {
namespace {

const QLocale kChinese(QLocale::Chinese, QLocale::China);

// Moves the pop-up window as it opens: the date edit places it before showing it.
class PopupPlacer : public QObject {
public:
    PopupPlacer(QDateEdit& edit, std::vector<QPointer<QWidget>> keepClear, QObject* parent)
        : QObject(parent), edit_(&edit), keepClear_(std::move(keepClear)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Show && edit_)
            if (auto* popup = qobject_cast<QWidget*>(watched)) Place(*popup);
        return false;
    }

private:
    void Place(QWidget& popup) const {
        const QRect anchor(edit_->mapToGlobal(QPoint(0, 0)), edit_->size());
        const QScreen* screen = edit_->screen();
        std::vector<QRect> clear;
        for (const QPointer<QWidget>& w : keepClear_)
            if (w && w->isVisible()) clear.emplace_back(w->mapToGlobal(QPoint(0, 0)), w->size());
        const QRect place =
            DatePopupPlace(anchor, popup.frameGeometry().size(), screen ? screen->availableGeometry() : QRect(), clear);
        if (place.isValid()) popup.move(place.topLeft());
    }

    QPointer<QDateEdit> edit_;
    std::vector<QPointer<QWidget>> keepClear_;
};

// The date edit opens its pop-up only for a press on its arrow: F4 and Alt+Down press it.
class PopupKeys : public QObject {
public:
    using QObject::QObject;

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress) return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool opens = key->key() == Qt::Key_F4 || ((key->key() == Qt::Key_Down || key->key() == Qt::Key_Up) &&
                                                        key->modifiers() & Qt::AltModifier);
        auto* edit = qobject_cast<QDateEdit*>(watched);
        if (!opens || !edit) return false;
        PressArrow(*edit);
        return true;
    }

private:
    static void PressArrow(QDateEdit& edit) {
        QStyleOptionComboBox option;
        option.initFrom(&edit);
        option.editable = true;
        option.subControls = QStyle::SC_All;
        const QPointF arrow =
            edit.style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, &edit).center();
        QMouseEvent press(QEvent::MouseButtonPress, arrow, edit.mapToGlobal(arrow), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(&edit, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, arrow, edit.mapToGlobal(arrow), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(&edit, &release);
    }
};

}  // namespace

QRect DatePopupPlace(const QRect& anchor, const QSize& size, const QRect& screen, const std::vector<QRect>& keepClear) {
    const QRect candidates[] = {
        QRect(QPoint(anchor.left(), anchor.bottom() + 1), size),
        QRect(QPoint(anchor.left(), anchor.top() - size.height()), size),
        QRect(QPoint(anchor.right() + 1, anchor.top()), size),
        QRect(QPoint(anchor.left() - size.width(), anchor.top()), size),
    };
    for (const QRect& c : candidates) {
        if (screen.isValid() && !screen.contains(c)) continue;
        bool covers = false;
        for (const QRect& k : keepClear) covers = covers || c.intersects(k);
        if (!covers) return c;
    }
    return {};
}

void UseHouseDatePopup(QDateEdit& edit, std::vector<QPointer<QWidget>> keepClear) {
    edit.setLocale(kChinese);
    auto* calendar = new QCalendarWidget(&edit);
    calendar->setObjectName(QStringLiteral("date_popup"));
    calendar->setLocale(kChinese);
    calendar->setFirstDayOfWeek(Qt::Sunday);
    calendar->setHorizontalHeaderFormat(QCalendarWidget::SingleLetterDayNames);
    calendar->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    calendar->setAccessibleName(edit.accessibleName());
    // Weekends in the grid's own colour: the house calendar marks no days by weekday.
    QTextCharFormat plain;
    plain.setForeground(QColor(0x66, 0x66, 0x66));
    for (Qt::DayOfWeek d : {Qt::Saturday, Qt::Sunday}) calendar->setWeekdayTextFormat(d, plain);
    edit.setCalendarWidget(calendar);
    edit.installEventFilter(new PopupKeys(&edit));
    // The edit wraps the calendar in a pop-up window of its own.
    if (QWidget* popup = calendar->window(); popup && popup != edit.window())
        popup->installEventFilter(new PopupPlacer(edit, std::move(keepClear), popup));
}

}  // namespace kivtal
