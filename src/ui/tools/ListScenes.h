#pragma once
// The list control's scene for kivtal-screens: contact-like rows, one of them under the
// pointer (its hover-only buttons shown) and one current.
#include <QApplication>
#include <QMouseEvent>
#include <QVBoxLayout>
#include <QWidget>
#include <functional>
#include <vector>

#include "ui/controls/ListKiv.h"

namespace kivtal::screens {

class SampleContactRows : public ListRows {
public:
    int RowCount() const override { return 10000; }
    std::int64_t RowTag(int row) const override { return row + 1; }
    QString PartText(int row, const QString& part) const override {
        static const QString names[] = {QStringLiteral("王晓明"), QStringLiteral("李娜"), QStringLiteral("张伟"),
                                        QStringLiteral("Catherine Zhao-Richardson"), QStringLiteral("刘洋")};
        if (part == "name_label") return names[row % 5];
        if (part == "company_label") return QStringLiteral("北京某某科技有限公司第%1分公司").arg(row % 37);
        if (part == "phone_label") return QStringLiteral("138%1").arg(10000000 + row * 7919 % 90000000);
        if (part == "head_pic") return QStringLiteral("home_logo.png");
        if (part == "edit_btn") return QStringLiteral("编辑");
        return {};
    }
};

inline std::vector<QWidget*> ShowContactList(const std::function<void()>& settle) {
    auto* window = new QWidget;
    window->setGeometry(40, 40, 420, 360);
    window->setStyleSheet(QStringLiteral("background:#ffffff;"));
    auto* layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* list = new ListKiv(window);
    layout->addWidget(list);
    RowLayout rows;
    rows.height = 56;
    rows.parts = {
        {.name = "head_pic", .kind = RowPart::Image, .rect = {10, 10, 36, 36}},
        {.name = "name_label", .rect = {56, 7, 140, 22}, .pixelSize = 14, .bold = true},
        {.name = "company_label", .rect = {56, 31, 230, 18}, .color = QColor(0x88, 0x88, 0x88), .pixelSize = 12},
        {.name = "phone_label", .rect = {110, 7, 100, 22}, .fromRight = true, .color = QColor(0x55, 0x55, 0x55)},
        {.name = "edit_btn",
         .rect = {12, 16, 60, 24},
         .fromRight = true,
         .color = QColor(0x2b, 0x7c, 0xd3),
         .align = Qt::AlignCenter,
         .hoverOnly = true},
    };
    list->SetRowLayout(rows);
    list->SetRows(std::make_unique<SampleContactRows>());
    window->show();
    list->SelectTag(2);
    settle();
    // The pointer resting on the fourth row shows its buttons.
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 56 * 3 + 20), QPointF(200, 56 * 3 + 20), Qt::NoButton,
                     Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(list->viewport(), &move);
    settle();
    return {window};
}

}  // namespace kivtal::screens
