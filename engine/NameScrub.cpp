#include "engine/NameScrub.h"

#include <cerrno>

namespace vorlane {
namespace {

using platform::Sys;

constexpr std::string_view kNameCharacters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
constexpr int kAttemptsPerLength = 4;  // a random name that exists already is drawn again

std::string RandomName(std::size_t length, bool marked, std::mt19937& generator) {
    std::uniform_int_distribution<std::size_t> pick(0, kNameCharacters.size() - 1);
    std::string name(length, kScrubMarker);
    for (std::size_t i = marked ? 1 : 0; i < length; ++i) {
        name[i] = kNameCharacters[pick(generator)];
    }
    return name;
}

// FUSE file systems (fusefat, ntfs-3g, exfat-fuse) refuse RENAME_NOREPLACE with EINVAL.
// There the name is looked at first and taken only when free; a file created under that
// random name in the moment between would be replaced, a chance of one in 62 to the
// power of the name's length less one, for a name nobody types.
std::error_code RenameIfFree(int folderFd, const std::string& from, const std::string& to) {
    if (to == from) {
        return platform::SystemError(EEXIST);
    }
    const std::error_code error = Sys().RenameAt(folderFd, from, to);
    if (error != std::errc::invalid_argument) {
        return error;
    }
    platform::FileStatus taken;
    if (Sys().StatAt(folderFd, to, taken) != std::errc::no_such_file_or_directory) {
        return platform::SystemError(EEXIST);
    }
    return Sys().RenameAtReplacing(folderFd, from, to);
}

// Renames `from` to a fresh random name of `length`; the new name, or "" when the file
// system refuses.
std::string RenameTo(int folderFd, const std::string& from, std::size_t length, bool marked,
                     std::mt19937& generator) {
    for (int attempt = 0; attempt < kAttemptsPerLength; ++attempt) {
        const std::string to = RandomName(length, marked, generator);
        const std::error_code error = RenameIfFree(folderFd, from, to);
        if (!error) {
            return to;
        }
        if (error != std::errc::file_exists) {
            return {};
        }
    }
    return {};
}

}  // namespace

std::string ScrubName(int folderFd, const std::string& name, const platform::FileStatus& file,
                      std::mt19937& generator) {
    platform::FileStatus now;
    if (Sys().StatAt(folderFd, name, now) || now.device != file.device || now.inode != file.inode) {
        return name;
    }
    // One name of the same length, so that it can take the old name's place in the
    // folder. No flush here: on a journalled file system every folder flush writes one
    // more copy of the folder's block, with every name still in it, into the journal
    // (measured with the forensic test: shred's renames and flushes leave 79 copies of
    // a name on ext4, two renames with a flush each 18, this one rename 10, as many as a
    // plain unlink). The caller flushes once, after the unlink.
    std::string renamed = RenameTo(folderFd, name, name.size(), true, generator);
    if (renamed.empty()) {
        // fusefat takes letters and digits only (EPERM for the marker): a plain random name
        // still scrubs the old one, though a leftover under it is not recognised later.
        renamed = RenameTo(folderFd, name, name.size(), false, generator);
    }
    return renamed.empty() ? name : renamed;
}

bool IsScrubLeftover(const std::string& name) {
    return !name.empty() && name[0] == kScrubMarker &&
           name.find_first_not_of(kNameCharacters, 1) == std::string::npos;
}

}  // namespace vorlane
