#include "cli/FileList.h"

#include "platform/Streams.h"
#include "platform/Terminal.h"

namespace vorlane::cli {

std::vector<ListedName> SplitNames(std::string_view bytes, bool nulEnded) {
    const char end = nulEnded ? '\0' : '\n';
    std::vector<ListedName> names;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t stop = bytes.find(end, start);
        if (stop == std::string_view::npos) {
            stop = bytes.size();
        }
        names.push_back({std::string(bytes.substr(start, stop - start)), names.size() + 1});
        start = stop + 1;
    }
    return names;
}

std::string ListedNameFault(const ListedName& listed) {
    if (listed.entry == 0) {
        return {};  // a name of the command line, looked up as it always was
    }
    if (listed.name.empty()) {
        return "empty name";
    }
    if (listed.name.find('\0') != std::string::npos) {
        return "NUL byte in the name (give -0 for a list of NUL-ended names)";
    }
    return {};
}

std::error_code ReadFileList(const std::string& source, bool nulEnded,
                             std::vector<ListedName>& names) {
    std::string bytes;
    const std::error_code error = source == "-"
                                      ? platform::ReadToEnd(platform::kStandardInput, bytes)
                                      : platform::ReadToEnd(source, bytes);
    names = error ? std::vector<ListedName>() : SplitNames(bytes, nulEnded);
    return error;
}

std::string ListSourceName(const std::string& source) {
    return source == "-" ? "(standard input)" : source;
}

}  // namespace vorlane::cli
