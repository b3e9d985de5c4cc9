#include "selection/ReportButtons.h"

namespace vorlane {

ReportButtons ButtonsFor(ReportPhase phase, const std::string& pausedDone) {
    ReportButtons shown;
    switch (phase) {
        case ReportPhase::PurgeRunning:
            shown.pauseVisible = true;
            shown.pauseCaption = "Pause at next purge";
            shown.pauseWidth = 2500;
            break;
        case ReportPhase::ListingRunning:
            shown.pauseVisible = true;
            shown.pauseCaption = "Pause";
            break;
        case ReportPhase::Paused:
            shown.pauseVisible = true;
            shown.pauseCaption = "Continue";
            shown.pauseWidth = 1500;
            shown.stopVisible = true;
            shown.pausedDone = "Paused";
            break;
        case ReportPhase::Stopped:
            shown.closeVisible = true;
            shown.pausedDone = "Stopped";
            break;
        case ReportPhase::Ended:
            shown.closeVisible = true;
            shown.copyVisible = true;
            shown.pausedDone = pausedDone;
            break;
    }
    return shown;
}

CopyButton CopyButtonFor(bool textSelected) {
    return textSelected ? CopyButton{"Copy selected text to clipboard", 3165}
                        : CopyButton{"Copy to clipboard", 2115};
}

int ClusterSizeOfEntry(int entry) {
    return 512 << entry;
}

std::string ClusterSizeCaption(int entry) {
    return entry == 0 ? "512 bytes" : std::to_string(ClusterSizeOfEntry(entry) / 1024) + " KB";
}

int ClusterSizeEntry(int clusterBytes) {
    for (int entry = 0; entry < kClusterSizeEntries; ++entry) {
        if (ClusterSizeOfEntry(entry) == clusterBytes) {
            return entry;
        }
    }
    return -1;
}

}  // namespace vorlane
