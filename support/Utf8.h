#pragma once
// UTF-8 to code points and back. File names on Linux are bytes, not guaranteed to
// be valid UTF-8, so a byte that does not start a valid sequence becomes a lone
// code point U+DC80..U+DCFF and comes back as the same byte: nothing is lost when
// a name goes through a character-wise procedure.

#include <string>
#include <string_view>

namespace vorlane {

std::u32string DecodeUtf8(std::string_view text);
std::string EncodeUtf8(std::u32string_view text);
std::string EncodeUtf8(char32_t codePoint);

}  // namespace vorlane
