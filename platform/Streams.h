#pragma once
// Reading a stream to its end: a pipe, a FIFO, standard input or a file, whatever
// another program hands over, in the bytes it wrote.

#include <string>
#include <system_error>

namespace vorlane::platform {

// Everything fd holds from where it stands to its end.
std::error_code ReadToEnd(int fd, std::string& out);
// Everything the file at path holds; a FIFO is read as its writer writes it, and a
// folder is refused with the read's EISDIR.
std::error_code ReadToEnd(const std::string& path, std::string& out);

}  // namespace vorlane::platform
