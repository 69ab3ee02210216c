#pragma once
// ListKiv: a list of many rows (contacts, uploads, matters) in which only the rows on
// screen cost anything. A row is not built of widgets: it is drawn from a RowLayout of
// named parts, and a click on a part reaches the window's Notify exactly as a click on
// a control of that name would.
//
// Usage, in a window whose layout holds <widget class="ListKiv" name="contact_list"/>
// (or a ListKiv created in code under the window):
//
//   // 1. The rows' parts, once (again whenever the shown columns change).
//   RowLayout layout;
//   layout.height = 56;
//   layout.parts = {
//       {.name = "head_pic", .kind = RowPart::Image, .rect = {10, 8, 40, 40}},
//       {.name = "name_label", .rect = {60, 8, 160, 20}, .bold = true},
//       {.name = "phone_label", .rect = {60, 30, 160, 18}, .color = QColor(0x99, 0x99, 0x99)},
//       {.name = "edit_btn", .rect = {40, 16, 24, 24}, .fromRight = true,
//        .image = "edit.png", .hotImage = "edit_hot.png", .hoverOnly = true},
//   };
//   list->SetRowLayout(layout);
//
//   // 2. The rows: a ListRows over the window's own records.
//   class ContactRows : public ListRows {
//   public:
//       std::vector<BusinessCard> cards;
//       int RowCount() const override { return int(cards.size()); }
//       std::int64_t RowTag(int row) const override { return cards[row].id; }
//       QString PartText(int row, const QString& part) const override {
//           if (part == "name_label") return QString::fromStdString(cards[row].name);
//           if (part == "head_pic") return "head_default.png";  // Image: an image file
//           return {};                                           // nothing drawn
//       }
//       QString PartTip(int row, const QString& part) const override {
//           return part == "edit_btn" ? QStringLiteral("编辑") : QString();
//       }
//   };
//   auto* rows = list->SetRows(std::make_unique<ContactRows>());
//
//   // 3. Clicks arrive in the window's Notify; the sender is named after the part and
//   //    carries the row's tag (ControlTag, ui/toolkit/ControlData.h).
//   void Notify(const QString& type, QWidget* sender) override {
//       if (type == "click" && sender->objectName() == "edit_btn")
//           EditContact(ControlTag(sender));
//       if (type == "itemclick" && sender->objectName() == "contact_list")
//           ShowDetails(list->CurrentTag());   // a click on the row outside any part
//   }
//
//   // 4. After changing the records: list->Refresh() (all rows; the current row is kept
//   //    by its tag) or list->RefreshRow(row) (one row's texts changed).
//
// Notifications: "click" (sender: the part, tag: the row's) for a press and release on
// the same named part of the same row; "itemclick" (sender: the list) for a click on a
// row outside any named part and for Return or Space on the current row. Parts without
// a name are decoration. Screen readers read each row as its text parts joined (or
// ListRows::RowText when a model gives one).
#include <QColor>
#include <QListView>
#include <QRect>
#include <QString>
#include <cstdint>
#include <memory>
#include <vector>

#include "ui/toolkit/ControlData.h"

namespace kivtal {

struct RowPart {
    enum Kind { Text, Image };

    QString name{};  // the sender's name in Notify; empty: decoration, not clickable
    Kind kind = Text;
    // In row coordinates. With fromRight, x counts from the row's right edge to the
    // part's right edge, so the part stays at the end of rows of any width.
    QRect rect{};
    bool fromRight = false;
    // Text: the text colour (invalid: the list's), size in pixels (0: the list's font).
    QColor color{};
    int pixelSize = 0;
    bool bold = false;
    Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter;
    // Skin images drawn behind the part in every row (a button's face); hotImage
    // replaces image while the pointer is over the part.
    QString image{};
    QString hotImage{};
    // Drawn, and clickable, only in the row under the pointer.
    bool hoverOnly = false;
};

struct RowLayout {
    int height = 40;
    std::vector<RowPart> parts{};
    QColor hoverColor = QColor(0xF2, 0xF6, 0xFB);
    QColor currentColor = QColor(0xE2, 0xEC, 0xF8);
};

// The rows a ListKiv shows. Called only for rows being drawn, clicked or read, so it
// should answer from records in memory, never from the store.
class ListRows {
public:
    virtual ~ListRows() = default;
    virtual int RowCount() const = 0;
    // The row's record id: the tag clicks carry.
    virtual std::int64_t RowTag(int row) const = 0;
    // A Text part's text, an Image part's image file (a skin image name or an absolute
    // path). Empty: the part draws nothing in this row.
    virtual QString PartText(int row, const QString& part) const = 0;
    // Shown while the pointer rests on the part; empty: no tooltip.
    virtual QString PartTip(int row, const QString& part) const;
    // What a screen reader reads for the row; empty: the row's Text parts joined.
    virtual QString RowText(int row) const;
};

class ListRowModel;

class ListKiv : public QListView {
    Q_OBJECT

public:
    explicit ListKiv(QWidget* parent = nullptr);
    ~ListKiv() override;

    void SetRowLayout(RowLayout layout);
    const RowLayout& GetRowLayout() const { return layout_; }

    // Takes the rows and shows them from the top; returns them for the window to fill.
    template <class Rows>
    Rows* SetRows(std::unique_ptr<Rows> rows) {
        Rows* kept = rows.get();
        ReplaceRows(std::move(rows));
        return kept;
    }
    ListRows* Rows() const { return rows_.get(); }

    // The rows changed (added, removed, reordered or edited): shows them again and keeps
    // the current row by its tag when it is still there.
    void Refresh();
    // One row's contents changed.
    void RefreshRow(int row);

    // The current row's tag; kNoTag when no row is current.
    std::int64_t CurrentTag() const { return currentTag_; }
    // Makes the row with this tag current and scrolls it into view; false when absent.
    bool SelectTag(std::int64_t tag);
    // Scrolls so that the row is the top row (the letter index of the contact list).
    void ScrollToRow(int row);

    // The part at a point of the viewport, or nullptr (hit test, tooltips, tests).
    const RowPart* PartAt(const QPoint& viewportPos, int* row = nullptr) const;
    // Where a row's part lies in viewport coordinates; empty when the part or row is
    // unknown or the row is scrolled out of view.
    QRect PartRect(int row, const QString& part) const;

protected:
    bool viewportEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    friend class ListRowDelegate;

    void ReplaceRows(std::unique_ptr<ListRows> rows);
    QRect PartRectIn(const RowPart& part, const QRect& rowRect) const;
    bool IsPartShown(const RowPart& part, int row) const;
    int HoverRow() const { return hoverRow_; }
    const RowPart* HoverPart() const { return hoverPart_; }
    void SetHover(int row, const RowPart* part);
    void TrackPointer(const QPoint& viewportPos);
    void ForgetPointer();
    QWidget* PartSender(const QString& name);
    void SendNotify(const QString& type, QWidget* sender);

    RowLayout layout_;
    std::unique_ptr<ListRows> rows_;
    ListRowModel* model_;
    int hoverRow_ = -1;
    const RowPart* hoverPart_ = nullptr;
    std::int64_t currentTag_ = kNoTag;
    int pressRow_ = -1;
    const RowPart* pressPart_ = nullptr;
};

}  // namespace kivtal
