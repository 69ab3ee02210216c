#include "ui/main/ContactColumns.h"

#include <algorithm>

namespace kivtal {
namespace {

struct ColumnDef {
    const QString* part;
    int bit;  // 0: always shown
    int width;
    const char* title;
};

constexpr int kMargin = 4;
constexpr int kGap = 6;
constexpr int kMenuWidth = 30;
constexpr int kNarrowest = 40;

const ColumnDef kColumns[] = {
    {&kCommonPart, 0, 30, ""},
    {&kNamePart, 0, 70, "姓名"},
    {&kPhonePart, kColumnCellPhone, 100, "手机"},
    {&kMailPart, kColumnEmail, 140, "邮箱"},
    {&kCompanyPart, kColumnCompany, 210, "公司"},
    {&kPositionPart, kColumnPosition, 67, "职位"},
    {&kGroupPart, kColumnGroup, 103, "分组"},
};

// The name and the phone keep their width; the other columns share what is left.
bool Squeezable(const ColumnDef& c) { return c.bit != 0 && c.bit != kColumnCellPhone; }

const QColor kLink(0x2b, 0x7c, 0xd3);
const QColor kText(0x33, 0x33, 0x33);
const QColor kSubText(0x66, 0x66, 0x66);

}  // namespace

std::vector<ColumnSpan> VisibleColumns(int mask, int rowWidth) {
    std::vector<const ColumnDef*> shown;
    int fixed = 2 * kMargin + kMenuWidth, optional = 0;
    for (const ColumnDef& c : kColumns) {
        if (c.bit != 0 && (mask & c.bit) == 0) continue;
        shown.push_back(&c);
        (Squeezable(c) ? optional : fixed) += c.width;
        fixed += kGap;
    }
    const int room = std::max(0, rowWidth - fixed);
    std::vector<ColumnSpan> spans;
    int x = kMargin;
    for (const ColumnDef* c : shown) {
        int width = c->width;
        if (Squeezable(*c) && optional > room) width = std::max(kNarrowest, c->width * room / optional);
        spans.push_back({*c->part, x, width});
        x += width + kGap;
    }
    spans.push_back({kMenuPart, std::max(x, rowWidth - kMenuWidth - kMargin), kMenuWidth});
    return spans;
}

RowLayout ContactRowLayout(int mask, int rowWidth) {
    RowLayout layout;
    layout.height = kContactRowHeight;
    // The line under every row: decoration, wider than any row.
    layout.parts.push_back(
        {.kind = RowPart::Image, .rect = {0, kContactRowHeight - 1, 4000, 1}, .image = "row_line.png"});
    for (const ColumnSpan& span : VisibleColumns(mask, rowWidth)) {
        RowPart part{.name = span.part, .rect = {span.x, 0, span.width, kContactRowHeight}};
        if (span.part == kCommonPart) {
            part.kind = RowPart::Image;
            part.rect = {span.x + 7, 12, 16, 16};
        } else if (span.part == kMenuPart) {
            part.kind = RowPart::Image;
            part.rect = {kMargin + 4, 10, 22, 20};
            part.fromRight = true;
        } else {
            part.color = span.part == kNamePart ? kLink : span.part == kPhonePart ? kText : kSubText;
        }
        layout.parts.push_back(part);
    }
    return layout;
}

QString ColumnTitle(const QString& part) {
    for (const ColumnDef& c : kColumns)
        if (*c.part == part) return QString::fromUtf8(c.title);
    return {};
}

}  // namespace kivtal
