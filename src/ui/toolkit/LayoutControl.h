#pragma once
// A control a window's code looks up in its layout: its object name and the class the
// code takes it for. Each window keeps the controls it uses in one table beside it
// (<Window>Controls.h); the code names them from there and the layout test walks the
// same table, so a control renamed in a layout or in the code is caught by the test.
#include <QLatin1StringView>
#include <QString>
#include <span>

namespace kivtal {

struct LayoutControl {
    const char* name;
    const char* kind;  // the class the control must be or derive from

    operator QString() const { return QString::fromLatin1(name); }
    friend bool operator==(const QString& objectName, const LayoutControl& c) {
        return objectName == QLatin1StringView(c.name);
    }
};

// A layout file and the controls of it that the code uses.
struct LayoutControls {
    const char* layout;
    std::span<const LayoutControl> controls;
};

}  // namespace kivtal
