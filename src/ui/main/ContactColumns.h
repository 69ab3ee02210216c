#pragma once
// The parts of one contact-list row, left to right, for a column mask and a row width:
// the list control draws them and the header above the list labels them with the same
// spans. The text columns take the width their content wants; when the row is short
// of it, a column wanting less than an equal share keeps its want and the others
// share the rest (their texts elided), none below a floor that keeps it readable;
// when the row has more, the rest is shared out so the columns use the row's width.
#include <QString>
#include <map>
#include <vector>

#include "ui/controls/ListKiv.h"

namespace kivtal {

// Column-mask bits of the optional columns (the user setting coloumn_show).
inline constexpr int kColumnCellPhone = 2;
inline constexpr int kColumnCompany = 4;
inline constexpr int kColumnEmail = 8;
inline constexpr int kColumnPosition = 16;
inline constexpr int kColumnGroup = 32;

inline constexpr int kContactRowHeight = 40;

// Part names of a contact row: the clickable ones, then the labels.
inline const QString kCommonPart = QStringLiteral("common_button");
inline const QString kNamePart = QStringLiteral("UserInfo_btn");
inline const QString kPhonePart = QStringLiteral("UserInfo_phone");
inline const QString kMenuPart = QStringLiteral("User_Oper");
inline const QString kMailPart = QStringLiteral("email_label");
inline const QString kCompanyPart = QStringLiteral("company_label");
inline const QString kPositionPart = QStringLiteral("obj_label");
inline const QString kGroupPart = QStringLiteral("group_name_label");

struct ColumnSpan {
    QString part;
    int x;
    int width;
};

// The width in pixels each text column's content wants (its widest text), by part; a
// part not named wants a default width.
using ColumnWants = std::map<QString, int>;

// The visible parts for mask in a row rowWidth wide, menu button last at the right.
std::vector<ColumnSpan> VisibleColumns(int mask, int rowWidth, const ColumnWants& wants = {});

// The list control's row layout for the same spans.
RowLayout ContactRowLayout(int mask, int rowWidth, const ColumnWants& wants = {});

// The header title of a text column; empty for the common mark and the menu button.
QString ColumnTitle(const QString& part);

}  // namespace kivtal
