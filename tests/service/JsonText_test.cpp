#include "JsonText.h"

#include <gtest/gtest.h>

namespace kivtal::service {
namespace {

// A reply written piece by piece must read exactly as the whole object written by the
// library, whatever a stored value holds.
TEST(JsonText, StringsAreWrittenAsTheLibraryWritesThem) {
    const std::string texts[] = {
        "",
        "张伟~麤^13800138000",
        R"(quote " backslash \ slash / %5c)",
        std::string("controls \b\f\n\r\t \x01\x1f and a zero \0 inside", 40),
        "delete \x7f, four bytes \xF0\x9F\x98\x80, line separator \xE2\x80\xA8",
    };
    for (const std::string& text : texts) {
        SCOPED_TRACE(text);
        std::string piece;
        AppendJsonString(piece, text);
        EXPECT_EQ(piece, WriteJson(Json::Value(text)));
    }
}

}  // namespace
}  // namespace kivtal::service
