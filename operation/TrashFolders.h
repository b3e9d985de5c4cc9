#pragma once
// Finding a user's Trash folders and opening them, each once: the home Trash and, per
// volume, <mount>/.Trash/<uid> and <mount>/.Trash-<uid>. A folder is known to lie in a
// Trash by device and inode, never by its name.

#include <optional>
#include <string>
#include <vector>

#include "platform/FolderWalk.h"
#include "platform/Platform.h"

namespace vorlane {

// A Trash folder, open. Every purge in it works relative to fd.
struct OpenTrash {
    std::string path;  // for texts only, without a trailing separator
    platform::UniqueFd fd;
    platform::FileStatus status;
};

// $XDG_DATA_HOME/Trash, by default ~/.local/share/Trash, when it exists.
std::optional<OpenTrash> OpenHomeTrash();

// The Trash folders of this user on the volume mounted at mountPoint: the home Trash
// when it lies on that volume; <mount>/.Trash/<uid> only when <mount>/.Trash is a real
// folder (not a link) with the sticky bit, as others could plant it otherwise; and
// <mount>/.Trash-<uid>.
std::vector<OpenTrash> OpenTrashFoldersOn(const std::string& mountPoint);

// Where in a Trash a chosen folder lies.
enum class TrashPart {
    WholeTrash,  // the Trash folder itself, or its info/ folder or a folder in it
    Files,       // the files/ folder: every deleted item
    Item,        // one deleted item of files/
    InsideItem,  // a folder inside a deleted item, or beside files/ and info/
};

struct TrashScope {
    OpenTrash trash;
    platform::WalkFolder chosen;  // open
    TrashPart part = TrashPart::WholeTrash;
    std::string itemName;  // the item of files/ that is, or holds, the chosen folder
};

// The Trash a folder is, or lies in, with the folder opened once; none when it lies
// in no Trash of this user.
std::optional<TrashScope> FindTrashScope(const std::string& folder);

}  // namespace vorlane
