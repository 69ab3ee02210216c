#pragma once
// Implemented by custom controls whose attributes mean more than a style (an animated
// button that runs while its fore image is empty, a picker whose items come from text).
#include <QString>

namespace kivtal {

class AttributeSink {
public:
    virtual ~AttributeSink() = default;
    // True when the control took the attribute; false lets the toolkit apply it.
    virtual bool SetSkinAttribute(const QString& name, const QString& value) = 0;
};

}  // namespace kivtal
