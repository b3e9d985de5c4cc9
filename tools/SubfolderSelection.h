#pragma once
// What the subfolder window lists and keeps: one entry per direct subfolder of the top
// folder with a description of its contents, the checked states, the paging of the rows
// and the summary line. Names are kept exactly as the file system has them, so that
// " x" and "x", or "Docs" and "docs", are never confused.

#include <functional>
#include <string>
#include <vector>

namespace vorlane {

struct SubfolderEntry {
    std::string name;         // exactly as on disk
    std::string description;  // "12 files and 1 subfolder, 2.53 MB" or an error text
    bool unreadable = false;  // the description is a reading error
    bool empty = false;       // neither a file nor a subfolder
    double size = 0;          // bytes, never negative
    bool sizeOver = false;    // the size walk stopped at its file limit
    bool checked = false;

    // "name {description}", the row's caption.
    std::string Text() const { return name + " {" + description + "}"; }
    // Empty and unreadable folders cannot be checked.
    bool Checkable() const { return !unreadable && !empty; }
};

struct SubfolderListing {
    std::vector<SubfolderEntry> entries;  // sorted
    std::string error;                    // the top folder could not be read
    bool stopped = false;
};

// Reads and describes the subfolders. Trash folders, links and mounts of pseudo file
// systems (or any mount that is not a drive) are left out. progress(n) is called after
// each subfolder; false from it stops the reading.
SubfolderListing ReadSubfolders(const std::string& topFolder, bool noSizes,
                                const std::function<bool(int)>& progress = {});

// The description of one folder, as the row shows it.
SubfolderEntry DescribeSubfolder(const std::string& folder, const std::string& name, bool noSizes);

// Sorts by the lower-cased row text and then the size.
void SortSubfolderEntries(std::vector<SubfolderEntry>& entries);

// Checks the entries whose full paths the previous selection holds (exact comparison).
void PreCheck(std::vector<SubfolderEntry>& entries, const std::string& topFolder,
              const std::vector<std::string>& previousSelection);

// Sets an entry's state; an entry that cannot be checked stays unchecked. Returns the
// state it now has.
bool SetChecked(SubfolderEntry& entry, bool checked);
void SetAllChecked(std::vector<SubfolderEntry>& entries, bool checked);

struct SubfolderPaging {
    int rows = 0;            // rows shown at once
    bool scrollBar = false;  // more entries than rows
    int scrollMaximum = 0;   // first shown entry runs from 0 to this
    int pageStep = 0;
};
SubfolderPaging PagingFor(int count, int rowsPerPage);

struct SelectionSummary {
    std::string text;  // the summary label
    double totalSize = 0;
    bool sizeIsLowerBound = false;
    int checkedCount = 0;
};
// withTotal: the window's caption asks for the total size ("included").
SelectionSummary SummariseSelection(const std::vector<SubfolderEntry>& entries, bool withTotal);

// Full paths of the checked entries, in list order.
std::vector<std::string> SelectedPaths(const std::string& topFolder,
                                       const std::vector<SubfolderEntry>& entries);

}  // namespace vorlane
