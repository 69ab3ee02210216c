#pragma once
// A quick-day button of the matters page ("MultiButton"): a title and a date on the
// first line, "安排了 N 件事项" on the second.
#include <QPushButton>

namespace kivtal {

class CMultiLineButtonUI : public QPushButton {
    Q_OBJECT

public:
    explicit CMultiLineButtonUI(QWidget* parent = nullptr);

    // Sets the three parts and repaints. Title and date are cut to 31 characters.
    void SetDay(const QString& title, const QString& dateText, int count);
    QString DateText() const { return date_; }
    int Count() const { return count_; }
    QString SecondLine() const;

    QSize sizeHint() const override { return {174, 46}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString title_;
    QString date_;
    int count_ = 0;
};

}  // namespace kivtal
