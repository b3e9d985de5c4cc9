#pragma once
// The names a list hands to the purge, as `find -print0` or a file of lines gives them.
// A name is taken byte for byte: no quotes, no escapes, no patterns, no trimming. In a
// list of lines a CR before the LF stays part of the name, as a file name may end in
// CR; a list written on Windows needs converting first.

#include <string>
#include <string_view>
#include <system_error>
#include <vector>

namespace vorlane::cli {

struct ListedName {
    std::string name;       // may be empty: the list's fault, told for that entry alone
    std::size_t entry = 0;  // counted from 1: the line, or the NUL-ended name
};

// The names in bytes, ended by NUL when nulEnded, otherwise by LF. A last name
// without its end still counts; nothing after the last end makes no name.
std::vector<ListedName> SplitNames(std::string_view bytes, bool nulEnded);

// What makes a listed name no file name, in words; empty for a name to look up. A NUL
// would end the name early and make it another file's, so it is never cut there.
std::string ListedNameFault(const ListedName& listed);

// The list `source` names ("-": standard input), split as above.
std::error_code ReadFileList(const std::string& source, bool nulEnded,
                             std::vector<ListedName>& names);

// The list as messages name it.
std::string ListSourceName(const std::string& source);

}  // namespace vorlane::cli
