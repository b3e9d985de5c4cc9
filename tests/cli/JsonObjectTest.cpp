// The JSON writer's edges: only well-formed UTF-8 passes as text, and base64 keeps every
// byte, whatever the length.

#include <gtest/gtest.h>

#include "cli/JsonObject.h"

namespace vorlane::cli {
namespace {

TEST(JsonObjectTest, OnlyWellFormedUtf8PassesAsText) {
    EXPECT_TRUE(IsValidUtf8("plain \xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80 \xF4\x8F\xBF\xBF"));
    for (const char* bad : {
             "\xC0\xAF",          // overlong '/': a path separator in disguise
             "\xE0\x80\xAF",      // overlong in three bytes
             "\xED\xA0\x80",      // a surrogate half
             "\xF4\x90\x80\x80",  // past U+10FFFF
             "\xE2\x82",          // cut short at the end
             "\xE2\x82x",         // cut short by a plain byte
             "\x80",
             "\xFF",
         }) {
        SCOPED_TRACE(testing::PrintToString(std::string(bad)));
        EXPECT_FALSE(IsValidUtf8(bad));
    }
    // Each unreadable byte stands as U+FFFD; control bytes, DEL, quote and backslash are
    // escaped, so no value can end the line or the string.
    EXPECT_EQ(JsonString("a\xE2\x82x\x7F\x1F\"\\\r"),
              "\"a\xEF\xBF\xBD\xEF\xBF\xBDx\\u007f\\u001f\\\"\\\\\\r\"");
}

TEST(JsonObjectTest, Base64PadsEveryLength) {
    EXPECT_EQ(Base64(""), "");
    EXPECT_EQ(Base64("\xFF"), "/w==");
    EXPECT_EQ(Base64("\xFF\xFE"), "//4=");
    EXPECT_EQ(Base64(std::string("\xFF\xFE\x00\x01", 4)), "//4AAQ==");
    JsonObject object;
    object.Add("n", std::int64_t{-9007199254740993}).AddNull("none").Add("yes", true);
    EXPECT_EQ(object.Text(), R"({"n":-9007199254740993,"none":null,"yes":true})");
}

}  // namespace
}  // namespace vorlane::cli
