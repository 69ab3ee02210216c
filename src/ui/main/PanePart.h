#pragma once
// The part of the main window's layout that one pane owns: its page in the page area,
// its side (the group list and its title) in the left column, and for the matters pane
// the day column. The main window hands each pane its part and places the parts; the
// pane finds its controls only inside them, and shows or hides its own side.
#include <QPointer>
#include <QWidget>
#include <span>
#include <vector>

#include "ui/toolkit/LayoutControl.h"

namespace kivtal {

class WindowImplBase;

class PanePart {
public:
    PanePart() = default;
    // The part made of window's controls named in roots: roots[0] its page, roots[1]
    // its side, any further ones other areas it owns. Absent roots are left out.
    PanePart(const WindowImplBase& window, std::span<const LayoutControl> roots);

    QWidget* Page() const { return Root(0); }
    QWidget* Side() const { return Root(1); }
    // The control of that name inside the part; null when absent or of another class.
    QWidget* Find(const QString& name) const;
    template <class T>
    T* Find(const QString& name) const {
        return qobject_cast<T*>(Find(name));
    }
    void ShowSide(bool shown) const;

private:
    QWidget* Root(std::size_t index) const { return index < roots_.size() ? roots_[index].data() : nullptr; }

    std::vector<QPointer<QWidget>> roots_;
};

}  // namespace kivtal
