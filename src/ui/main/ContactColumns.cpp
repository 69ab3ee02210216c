#include "ui/main/ContactColumns.h"

#include <algorithm>

namespace kivtal {
namespace {

struct ColumnDef {
    RowPart part;
    int bit;  // 0: always shown
    int width;
};

constexpr int kGap = 6;
constexpr int kMenuWidth = 30;

constexpr ColumnDef kColumns[] = {
    {RowPart::Common, 0, 30},           {RowPart::Name, 0, 70},
    {RowPart::CellPhone, kColumnCellPhone, 120}, {RowPart::Email, kColumnEmail, 140},
    {RowPart::Company, kColumnCompany, 210},     {RowPart::Position, kColumnPosition, 67},
    {RowPart::Group, kColumnGroup, 103},
};

}  // namespace

std::vector<ColumnSpan> VisibleColumns(int mask, int rowWidth) {
    std::vector<ColumnSpan> spans;
    int x = 4;
    for (const ColumnDef& c : kColumns) {
        if (c.bit != 0 && (mask & c.bit) == 0) continue;
        spans.push_back({c.part, x, c.width});
        x += c.width + kGap;
    }
    spans.push_back({RowPart::Menu, std::max(x, rowWidth - kMenuWidth - 4), kMenuWidth});
    return spans;
}

int ColumnsWidth(int mask) {
    const ColumnSpan last = VisibleColumns(mask, 0).back();
    return last.x + last.width + 4;
}

QString PartName(RowPart part) {
    switch (part) {
    case RowPart::Common: return QStringLiteral("common_button");
    case RowPart::Name:
    case RowPart::CellPhone: return QStringLiteral("UserInfo_btn");
    case RowPart::Menu: return QStringLiteral("User_Oper");
    default: return {};
    }
}

QString ColumnTitle(RowPart part) {
    switch (part) {
    case RowPart::Name: return QStringLiteral("姓名");
    case RowPart::CellPhone: return QStringLiteral("手机");
    case RowPart::Email: return QStringLiteral("邮箱");
    case RowPart::Company: return QStringLiteral("公司");
    case RowPart::Position: return QStringLiteral("职位");
    case RowPart::Group: return QStringLiteral("分组");
    default: return {};
    }
}

}  // namespace kivtal
