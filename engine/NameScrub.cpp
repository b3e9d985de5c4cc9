#include "engine/NameScrub.h"

#include <cerrno>

namespace vorlane {
namespace {

using platform::Sys;

constexpr std::string_view kNameCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int kAttemptsPerLength = 4;  // a random name that exists already is drawn again

std::string RandomName(std::size_t length, std::mt19937& generator) {
    std::uniform_int_distribution<std::size_t> pick(0, kNameCharacters.size() - 1);
    std::string name(length, 'x');
    for (char& c : name) {
        c = kNameCharacters[pick(generator)];
    }
    return name;
}

// Renames `from` to a fresh random name of `length`; the new name, or "" when the file
// system refuses.
std::string RenameTo(int folderFd, const std::string& from, std::size_t length,
                     std::mt19937& generator) {
    for (int attempt = 0; attempt < kAttemptsPerLength; ++attempt) {
        const std::string to = RandomName(length, generator);
        const int error = to == from ? EEXIST : Sys().RenameAt(folderFd, from, to);
        if (error == 0) {
            return to;
        }
        if (error != EEXIST) {
            return {};
        }
    }
    return {};
}

}  // namespace

std::string ScrubName(int folderFd, const std::string& name, const platform::FileStatus& file,
                      std::mt19937& generator) {
    platform::FileStatus now;
    if (Sys().StatAt(folderFd, name, now) != 0 || now.device != file.device ||
        now.inode != file.inode) {
        return name;
    }
    // The same length first, so the new name lands where the old one was written; the
    // short name then leaves as little as possible for the unlink to leave behind.
    std::string current = name;
    for (const std::size_t length : {name.size(), std::size_t{1}}) {
        const std::string renamed = RenameTo(folderFd, current, length, generator);
        if (renamed.empty()) {
            break;
        }
        current = renamed;
    }
    if (current != name) {
        Sys().SyncFolder(folderFd);
    }
    return current;
}

}  // namespace vorlane
