#include "support/ViewerText.h"

#include <gtest/gtest.h>

#include "support/Utf8.h"

namespace vorlane {
namespace {

TEST(ViewerText, WholeBelowTheLimitCutAtIt) {
    const std::string fits(kViewerLimit - 1, 'a');
    bool cut = true;
    EXPECT_EQ(ViewerText(fits, &cut), fits);
    EXPECT_FALSE(cut);

    const std::string tooLong(kViewerLimit, 'a');
    const std::string shown = ViewerText(tooLong, &cut);
    EXPECT_TRUE(cut);
    EXPECT_EQ(shown.rfind("NOTE: This file is too large to display entirely in this textbox.\n", 0),
              0u);
    EXPECT_EQ(shown.substr(shown.size() - 58),
              "a\n\nNOTE: Entire contents of file have not been displayed.\n");
    // The notes and the text make the limit; the two line breaks come on top.
    EXPECT_EQ(shown.size(), kViewerLimit + 2);
}

TEST(ViewerText, CountsCharactersAndNeverCutsOne) {
    std::string text;
    for (std::size_t i = 0; i < kViewerLimit - 1; ++i) {
        text += "\xc3\xa9";  // é: two bytes, one character
    }
    EXPECT_EQ(ViewerText(text), text);
    text += "\xe2\x82\xac";  // €: the 65,530th character
    const std::string shown = ViewerText(text);
    EXPECT_EQ(DecodeUtf8(shown).size(), kViewerLimit + 2);
    EXPECT_EQ(EncodeUtf8(DecodeUtf8(shown)), shown);  // whole characters only
    EXPECT_EQ(shown.find("\xe2\x82\xac"), std::string::npos);
}

}  // namespace
}  // namespace vorlane
