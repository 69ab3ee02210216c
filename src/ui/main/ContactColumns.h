#pragma once
// The parts of one contact-list row, left to right, for a column mask: the list's
// delegate draws them and the header above the list labels them with the same spans.
#include <QString>
#include <vector>

namespace kivtal {

// Column-mask bits of the optional columns (the user setting coloumn_show).
inline constexpr int kColumnCellPhone = 2;
inline constexpr int kColumnCompany = 4;
inline constexpr int kColumnEmail = 8;
inline constexpr int kColumnPosition = 16;
inline constexpr int kColumnGroup = 32;

enum class RowPart { Common, Name, CellPhone, Email, Company, Position, Group, Menu };

struct ColumnSpan {
    RowPart part;
    int x;
    int width;
};

inline constexpr int kContactRowHeight = 40;

// The visible parts for mask, with their x offsets; the menu button sits at the right
// edge of a row rowWidth wide (or right after the last column when that is wider).
std::vector<ColumnSpan> VisibleColumns(int mask, int rowWidth);

// The part's layout name: "common_button", "UserInfo_btn" (name and cell phone),
// "User_Oper"; labels have none (empty).
QString PartName(RowPart part);
// The header title of a text column.
QString ColumnTitle(RowPart part);

// The width all visible columns need, menu button included.
int ColumnsWidth(int mask);

}  // namespace kivtal
