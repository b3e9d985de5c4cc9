#pragma once
// The dialogue of the purge speed test, shared by the window and the command line:
// the offer of a stored speed, three runs with their progress, the failure messages,
// the result and the stored mean. The windows add the drive chooser in front of it.

#include <functional>
#include <string>

#include "operation/OperationInterface.h"
#include "tools/SpeedTest.h"

namespace vorlane {

struct SpeedTestOutcome {
    bool measured = false;  // three runs succeeded, or a stored speed was accepted
    float speed = 0;        // the drive's speed now
    std::string label;      // the text of the main window's speed label
};

// "This writes test files to Drive / and then purges them ..." for one drive, or "to a
// selected drive" when the person chooses among several.
std::string SpeedTestQuestion(int driveCount, const std::string& onlyDrive);

// Steps after the drive is chosen. title: the caption of the command's button.
// ui.ShowProgress gets "Testing Drive / ... 2" while a run goes on.
SpeedTestOutcome MeasureDriveSpeed(const std::string& drive, const SpeedTestSettings& settings,
                                   DriveSpeedTable& speeds, OperationInterface& ui,
                                   const std::string& title);

}  // namespace vorlane
