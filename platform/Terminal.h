#pragma once
// What the command line needs of its terminal and of the process's own descriptors.

#include <cstdint>
#include <optional>
#include <string>
#include <system_error>

namespace vorlane::platform {

inline constexpr int kStandardInput = 0;
inline constexpr int kStandardOutput = 1;
inline constexpr int kStandardError = 2;

bool IsTerminal(int fd);
// The terminal's width in columns; 0 when fd is no terminal or does not say.
int TerminalColumns(int fd);

enum class LineRead { Line, End, Woken };

// Reads one line (without its line break) from fd, keeping what came after it in
// `buffer` for the next call. Woken when wakeFd (if >= 0) becomes readable first;
// End at the end of input or on a read error.
LineRead ReadLine(int fd, int wakeFd, std::string& buffer, std::string& line);

// The bytes this process has handed to write calls so far; nothing when the system does
// not say. Progress of an overwrite is measured by it without a hook in the engine.
std::optional<std::int64_t> BytesWrittenByProcess();

// The system's words for an error number: "No such file or directory".
std::string SystemErrorText(std::error_code error);

}  // namespace vorlane::platform
