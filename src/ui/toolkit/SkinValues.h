#pragma once
// The value strings of layout attributes: image descriptions such as
// "file='edit_hot.png' corner='4,4,4,4' dest='0,1,289,40'" and ARGB colours "0xFF333333".
#include <QColor>
#include <QMargins>
#include <QRect>
#include <QString>
#include <optional>

namespace kivtal {

struct ImageSpec {
    QString file;               // empty: no image
    QMargins corner;            // stretch margins: the borders keep their size
    std::optional<QRect> dest;  // target rectangle inside the control; none: whole control
};

// A bare file name is accepted as well as the quoted key form. Nullopt for a malformed
// description (unterminated quote, a corner or dest that is not four integers).
std::optional<ImageSpec> ParseImageSpec(const QString& text);

// "0xAARRGGBB", "#AARRGGBB" or "#RRGGBB". Nullopt when malformed.
std::optional<QColor> ParseSkinColor(const QString& text);

// Where a skin image file lives in the compiled skin.
QString SkinImagePath(const QString& file);

}  // namespace kivtal
