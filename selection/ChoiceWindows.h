#pragma once
// The modal choice windows as the main window's commands see them. The windows
// implement this; tests answer it from a script.

#include <cstdint>
#include <functional>
#include <string>

#include "selection/FilesChoice.h"
#include "selection/PurgeTypeChoice.h"

namespace vorlane {

enum class DateWindowResult { Cancelled, Accepted, Removed };

class ChoiceWindows {
  public:
    virtual ~ChoiceWindows() = default;

    // The files window over the folder's files. singleFileOption tells afterwards
    // whether its single-file choice is the one selected.
    virtual FilesChoiceResult ChooseFiles(const std::string& folder, int fileCount,
                                          bool& singleFileOption) = 0;
    // The date window, starting from jdn; the accepted day comes back in jdn.
    virtual DateWindowResult ChooseDate(std::int32_t& jdn, const std::string& caption) = 0;
    // The purge-type window; true when the person accepted a choice.
    virtual bool ChoosePurgeType(PurgeTypeChoice& choice) = 0;
    // Runs work that may take long (a count over a large tree) so that the window
    // keeps answering; returns when it is done.
    virtual void RunLong(const std::function<void()>& work) = 0;
};

}  // namespace vorlane
