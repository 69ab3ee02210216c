// Attribute strings: image descriptions and colours, and their effect on a control.
#include <QLabel>
#include <gtest/gtest.h>

#include "ui/controls/GifButton.h"
#include "ui/toolkit/ControlAttributes.h"
#include "ui/toolkit/SkinValues.h"

namespace kivtal {
namespace {

struct ImageCase {
    const char* text;
    bool valid;
    const char* file;
    QMargins corner;
    std::optional<QRect> dest;
};

TEST(SkinValues, ParsesImageDescriptions) {
    const ImageCase cases[] = {
        {"file='edit_hot.png' corner='4,4,4,4'", true, "edit_hot.png", {4, 4, 4, 4}, std::nullopt},
        {"file='account_Focus.png' corner='4,4,4,4' dest='0,1,289,40'",
         true,
         "account_Focus.png",
         {4, 4, 4, 4},
         QRect(0, 1, 289, 39)},
        {"file='synch_ico_nor.png' dest='17,8,39,30'", true, "synch_ico_nor.png", {}, QRect(17, 8, 22, 22)},
        {"file='a b.png' corner='1,2,3,4'", true, "a b.png", {1, 2, 3, 4}, std::nullopt},
        {"plain.png", true, "plain.png", {}, std::nullopt},
        {"", true, "", {}, std::nullopt},
        {"file='x.png' fade='200'", true, "x.png", {}, std::nullopt},
        {"file='x.png", false, "", {}, std::nullopt},
        {"file='x.png' corner='4,4,4'", false, "", {}, std::nullopt},
        {"file='x.png' dest='0,0,a,4'", false, "", {}, std::nullopt},
        {"file=x.png", false, "", {}, std::nullopt},
    };
    for (const ImageCase& c : cases) {
        SCOPED_TRACE(c.text);
        const auto spec = ParseImageSpec(QString::fromUtf8(c.text));
        ASSERT_EQ(spec.has_value(), c.valid);
        if (!c.valid) continue;
        EXPECT_EQ(spec->file, QString::fromUtf8(c.file));
        EXPECT_EQ(spec->corner, c.corner);
        EXPECT_EQ(spec->dest, c.dest);
    }
}

TEST(SkinValues, ParsesArgbColours) {
    EXPECT_EQ(ParseSkinColor("0xFF333333"), QColor(0x33, 0x33, 0x33, 0xFF));
    EXPECT_EQ(ParseSkinColor("0x80FF0000"), QColor(0xFF, 0, 0, 0x80));
    EXPECT_EQ(ParseSkinColor("#00a0e9"), QColor(0x00, 0xA0, 0xE9, 0xFF));
    EXPECT_FALSE(ParseSkinColor("0xFF33"));
    EXPECT_FALSE(ParseSkinColor("0xGG333333"));
    EXPECT_FALSE(ParseSkinColor(""));
}

TEST(ControlAttributes, StateImagesAndColoursBecomeStyleRulesThatReplaceEachOther) {
    QLabel label;
    label.setObjectName("account_page");
    ASSERT_TRUE(SetControlAttribute(&label, "bkimage", "file='account_input.png' corner='2,2,2,2'"));
    ASSERT_TRUE(SetControlAttribute(&label, "hotimage", "file='account_btn_hover.png'"));
    ASSERT_TRUE(SetControlAttribute(&label, "textcolor", "0xFF333333"));
    ASSERT_TRUE(SetControlAttribute(&label, "bkimage", "file='account_Focus.png' corner='4,4,4,4'"));
    const QString sheet = label.styleSheet();
    EXPECT_TRUE(sheet.contains("#account_page { border-image: url(:/skin/images/account_Focus.png) 4 4 4 4"));
    EXPECT_FALSE(sheet.contains("account_input.png"));
    EXPECT_TRUE(sheet.contains("#account_page:hover { border-image: url(:/skin/images/account_btn_hover.png)"));
    EXPECT_TRUE(sheet.contains("color: rgba(51,51,51,255);"));
}

TEST(ControlAttributes, RejectsUnknownOrMalformedValuesWithoutChangingTheControl) {
    QLabel label("x");
    label.setObjectName("lbl");
    ASSERT_TRUE(SetControlAttribute(&label, "font", "5"));
    const QString before = label.styleSheet();
    EXPECT_FALSE(SetControlAttribute(&label, "bkimage", "file='broken"));
    EXPECT_FALSE(SetControlAttribute(&label, "textcolor", "red"));
    EXPECT_FALSE(SetControlAttribute(&label, "font", "99"));
    EXPECT_FALSE(SetControlAttribute(&label, "no_such_attribute", "1"));
    EXPECT_EQ(label.styleSheet(), before);
    EXPECT_TRUE(SetControlAttribute(&label, "text", "●●●●●●"));
    EXPECT_EQ(label.text(), "●●●●●●");
}

TEST(ControlAttributes, AnEmptyForeImageRunsTheButtonAnimation) {
    GifButton button;
    button.setObjectName("btn_cogradient");
    button.SetFrameFolder(":/skin/processimage/synch");
    ASSERT_TRUE(SetControlAttribute(&button, "foreimage", ""));
    EXPECT_TRUE(button.IsAnimating());
    ASSERT_TRUE(SetControlAttribute(&button, "foreimage", "file='synch_ico_nor.png' dest='17,8,39,30'"));
    EXPECT_FALSE(button.IsAnimating());
    EXPECT_TRUE(button.styleSheet().contains("image: url(:/skin/images/synch_ico_nor.png)"));
}

}  // namespace
}  // namespace kivtal
