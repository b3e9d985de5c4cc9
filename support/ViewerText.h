#pragma once
// What the text viewer shows of a file: the whole text when it fits, else its start
// between two notes. Lengths count characters (code points), so a cut never falls
// inside a character.

#include <cstddef>
#include <string>

namespace vorlane {

inline constexpr std::size_t kViewerLimit = 65530;

// The text as the viewer shows it; true in cut when the text was too long.
std::string ViewerText(const std::string& text, bool* cut = nullptr);

}  // namespace vorlane
