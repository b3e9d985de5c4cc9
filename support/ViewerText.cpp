#include "support/ViewerText.h"

#include "support/Utf8.h"

namespace vorlane {
namespace {

constexpr char kHeadNote[] =
    "NOTE: This file is too large to display entirely in this textbox.\nTo view the entire "
    "contents of the file load it into gedit,\nKate or some other text editor.\n\n";
constexpr char kTailNote[] = "NOTE: Entire contents of file have not been displayed.\n";

}  // namespace

std::string ViewerText(const std::string& text, bool* cut) {
    const std::u32string characters = DecodeUtf8(text);
    const bool tooLong = characters.size() >= kViewerLimit;
    if (cut != nullptr) {
        *cut = tooLong;
    }
    if (!tooLong) {
        return text;
    }
    const std::size_t notes = DecodeUtf8(kHeadNote).size() + DecodeUtf8(kTailNote).size();
    const std::size_t kept = kViewerLimit - notes;
    return std::string(kHeadNote) + EncodeUtf8(std::u32string_view(characters).substr(0, kept)) +
           "\n\n" + kTailNote;
}

}  // namespace vorlane
