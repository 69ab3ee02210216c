#include "ui/main/ContactColumns.h"

#include <algorithm>

namespace kivtal {
namespace {

struct ColumnDef {
    const QString* part;
    int bit;      // 0: always shown
    int width;    // wanted when the content's width is not known
    int minimum;  // the floor when the row is short
    const char* title;
};

constexpr int kMargin = 4;
constexpr int kGap = 6;
constexpr int kMenuWidth = 30;
constexpr int kCommonWidth = 30;

// The name's floor fits a usual Western name ("Kevin O'Brien"), the phone's a mobile
// number; the others may shrink to a few characters.
const ColumnDef kColumns[] = {
    {&kCommonPart, 0, kCommonWidth, kCommonWidth, ""}, {&kNamePart, 0, 110, 110, "姓名"},
    {&kPhonePart, kColumnCellPhone, 100, 100, "手机"}, {&kMailPart, kColumnEmail, 140, 48, "邮箱"},
    {&kCompanyPart, kColumnCompany, 210, 48, "公司"},  {&kPositionPart, kColumnPosition, 67, 40, "职位"},
    {&kGroupPart, kColumnGroup, 103, 40, "分组"},
};

bool IsText(const ColumnDef& c) { return c.part != &kCommonPart; }

int Want(const ColumnDef& c, const ColumnWants& wants) {
    const auto found = wants.find(*c.part);
    return std::max(c.minimum, found == wants.end() ? c.width : found->second);
}

// Widths for the text columns in room: each its want when they all fit, else an equal
// share for those wanting more than the share (those wanting less keep their want, and
// a floor above the share holds).
std::vector<int> ShareOut(const std::vector<const ColumnDef*>& columns, const ColumnWants& wants, int room) {
    std::vector<int> widths(columns.size());
    int total = 0;
    for (std::size_t i = 0; i < columns.size(); ++i) total += widths[i] = Want(*columns[i], wants);
    if (columns.empty()) return widths;
    if (total <= room) {
        const int extra = (room - total) / static_cast<int>(columns.size());
        for (int& w : widths) w += extra;
        return widths;
    }
    std::vector<bool> settled(columns.size(), false);
    int left = room, open = static_cast<int>(columns.size());
    for (bool changed = true; changed && open > 0;) {
        changed = false;
        const int share = left / open;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (settled[i]) continue;
            // Wanting no more than the share, or held at a floor above it: fixed.
            if (widths[i] > share && columns[i]->minimum < share) continue;
            widths[i] = std::min(widths[i], std::max(columns[i]->minimum, share));
            settled[i] = true;
            left -= widths[i];
            --open;
            changed = true;
        }
    }
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (!settled[i]) widths[i] = left / std::max(1, open);
    return widths;
}

const QColor kLink(0x2b, 0x7c, 0xd3);
const QColor kText(0x33, 0x33, 0x33);
const QColor kSubText(0x66, 0x66, 0x66);

}  // namespace

std::vector<ColumnSpan> VisibleColumns(int mask, int rowWidth, const ColumnWants& wants) {
    std::vector<const ColumnDef*> texts;
    int fixed = 2 * kMargin + kMenuWidth + kCommonWidth + kGap;
    for (const ColumnDef& c : kColumns) {
        if (!IsText(c) || (c.bit != 0 && (mask & c.bit) == 0)) continue;
        texts.push_back(&c);
        fixed += kGap;
    }
    const std::vector<int> widths = ShareOut(texts, wants, std::max(0, rowWidth - fixed));
    std::vector<ColumnSpan> spans{{kCommonPart, kMargin, kCommonWidth}};
    int x = kMargin + kCommonWidth + kGap;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        spans.push_back({*texts[i]->part, x, widths[i]});
        x += widths[i] + kGap;
    }
    spans.push_back({kMenuPart, std::max(x, rowWidth - kMenuWidth - kMargin), kMenuWidth});
    return spans;
}

RowLayout ContactRowLayout(int mask, int rowWidth, const ColumnWants& wants) {
    RowLayout layout;
    layout.height = kContactRowHeight;
    // The line under every row: decoration, wider than any row.
    layout.parts.push_back(
        {.kind = RowPart::Image, .rect = {0, kContactRowHeight - 1, 4000, 1}, .image = "row_line.png"});
    for (const ColumnSpan& span : VisibleColumns(mask, rowWidth, wants)) {
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
