#include "ui/toolkit/ControlAttributes.h"

#include <QVariantMap>
#include <QWidget>
#include <map>

#include "ui/toolkit/AttributeSink.h"
#include "ui/toolkit/ControlAccess.h"
#include "ui/toolkit/SkinValues.h"

namespace kivtal {
namespace {

constexpr const char* kRulesProperty = "kivtal_style_rules";

// Which state of the control an image or text colour belongs to.
const std::map<QString, QString>& StateOfAttribute() {
    static const std::map<QString, QString> states = {
        {"bkimage", ""},
        {"normalimage", ""},
        {"foreimage", ""},
        {"hotimage", ":hover"},
        {"pushedimage", ":pressed"},
        {"focusedimage", ":focus"},
        {"disabledimage", ":disabled"},
        {"selectedimage", ":checked"},
        {"textcolor", ""},
        {"hottextcolor", ":hover"},
        {"pushedtextcolor", ":pressed"},
        {"disabledtextcolor", ":disabled"},
        {"selectedtextcolor", ":checked"},
        {"bkcolor", ""},
        {"bordercolor", ""},
        {"font", ""},
    };
    return states;
}

QString Rgba(const QColor& c) {
    return QStringLiteral("rgba(%1,%2,%3,%4)").arg(c.red()).arg(c.green()).arg(c.blue()).arg(c.alpha());
}

// A dest rectangle becomes margins (padding for a fore image) measured from the
// control's size when the attribute is set; the style engine has no notion of dest.
QString DestBox(const QRect& dest, const QSize& size, const char* box) {
    const int right = std::max(0, size.width() - dest.right() - 1);
    const int bottom = std::max(0, size.height() - dest.bottom() - 1);
    return QStringLiteral("%1: %2px %3px %4px %5px;").arg(box).arg(dest.top()).arg(right).arg(bottom).arg(dest.left());
}

QString ImageDeclarations(const ImageSpec& spec, bool fore, const QSize& size) {
    if (spec.file.isEmpty()) return fore ? QStringLiteral("image: none;") : QStringLiteral("border-image: none;");
    const QString url = QStringLiteral("url(%1)").arg(SkinImagePath(spec.file));
    QString decl;
    if (fore) {
        decl = QStringLiteral("image: %1; image-position: top left;").arg(url);
        if (spec.dest) decl += DestBox(*spec.dest, size, "padding");
        return decl;
    }
    const QMargins& c = spec.corner;
    decl = QStringLiteral("border-image: %1 %2 %3 %4 %5 stretch stretch; border-width: %2px %3px %4px %5px;")
               .arg(url)
               .arg(c.top())
               .arg(c.right())
               .arg(c.bottom())
               .arg(c.left());
    if (spec.dest) decl += DestBox(*spec.dest, size, "margin");
    return decl;
}

QString ColorDeclarations(const QString& name, const QColor& color) {
    if (name == u"bkcolor") return QStringLiteral("background-color: %1;").arg(Rgba(color));
    if (name == u"bordercolor") return QStringLiteral("border: 1px solid %1;").arg(Rgba(color));
    return QStringLiteral("color: %1;").arg(Rgba(color));
}

std::optional<QString> Declarations(QWidget* control, const QString& name, const QString& value) {
    if (name.endsWith(u"image")) {
        const auto spec = ParseImageSpec(value);
        if (!spec) return std::nullopt;
        return ImageDeclarations(*spec, name == u"foreimage", control->size());
    }
    if (name == u"font") {
        bool ok = false;
        const QString decl = SkinFontDeclarations(value.toInt(&ok));
        if (!ok || decl.isEmpty()) return std::nullopt;
        return decl;
    }
    const auto color = ParseSkinColor(value);
    if (!color) return std::nullopt;
    return ColorDeclarations(name, *color);
}

// Rules are kept per (state, attribute) so that a later value replaces an earlier one
// and the style sheet is rebuilt from all of them.
void StoreRule(QWidget* control, const QString& state, const QString& name, const QString& decl) {
    QVariantMap rules = control->property(kRulesProperty).toMap();
    rules.insert(state + u'|' + name, decl);
    control->setProperty(kRulesProperty, rules);
    if (control->objectName().isEmpty())
        control->setObjectName(QStringLiteral("kv_%1").arg(reinterpret_cast<quintptr>(control), 0, 16));
    std::map<QString, QString> byState;
    for (auto it = rules.cbegin(); it != rules.cend(); ++it)
        byState[it.key().section(u'|', 0, 0)] += it.value().toString();
    QString sheet;
    for (const auto& [st, decls] : byState)
        sheet += QStringLiteral("#%1%2 { %3 }\n").arg(control->objectName(), st, decls);
    control->setStyleSheet(sheet);
}

bool SetPlainAttribute(QWidget* control, const QString& name, const QString& value) {
    bool ok = true;
    if (name == u"text") SetControlText(control, value);
    else if (name == u"tooltip") control->setToolTip(value);
    else if (name == u"visible") control->setVisible(value == u"true");
    else if (name == u"enabled") control->setEnabled(value == u"true");
    else if (name == u"width") control->setFixedWidth(value.toInt(&ok));
    else if (name == u"height") control->setFixedHeight(value.toInt(&ok));
    else return false;
    return ok;
}

}  // namespace

QString SkinFontDeclarations(int index) {
    struct Font {
        int px;
        bool bold;
    };
    // 0 body, 1 body bold, 2 title, 3 title bold, 4 large bold, 5 the password mask's bullets.
    static constexpr Font fonts[] = {{12, false}, {12, true}, {14, false}, {14, true}, {16, true}, {10, false}};
    if (index < 0 || index >= static_cast<int>(std::size(fonts))) return {};
    const Font& f = fonts[index];
    return QStringLiteral("font-size: %1px; font-weight: %2;").arg(f.px).arg(f.bold ? "bold" : "normal");
}

bool SetControlAttribute(QWidget* control, const QString& name, const QString& value) {
    if (!control) return false;
    if (auto* sink = dynamic_cast<AttributeSink*>(control); sink && sink->SetSkinAttribute(name, value)) return true;
    const auto state = StateOfAttribute().find(name);
    if (state == StateOfAttribute().end()) return SetPlainAttribute(control, name, value);
    const auto decl = Declarations(control, name, value);
    if (!decl) return false;
    StoreRule(control, state->second, name, *decl);
    return true;
}

}  // namespace kivtal
