#pragma once
// What the report window shows in each phase of an operation: the captions, widths
// (in twips) and visibility of its buttons and the end-state label.

#include <string>

#include "operation/OperationInterface.h"

namespace vorlane {

struct ReportButtons {
    bool pauseVisible = false;
    std::string pauseCaption;
    int pauseWidth = 1000;
    bool stopVisible = false;
    int stopWidth = 1000;
    bool closeVisible = false;
    bool copyVisible = false;
    std::string pausedDone;  // "Paused", "Stopped", "Done" or empty
};

// pausedDone: the operation's end state, for the Ended phase.
ReportButtons ButtonsFor(ReportPhase phase, const std::string& pausedDone = {});

// The copy button's caption and width (twips), with or without a selection.
struct CopyButton {
    std::string caption;
    int width = 2115;
};
CopyButton CopyButtonFor(bool textSelected);

// The confirmation window's hidden cluster-size list: the entry that holds this size,
// or -1 when none does.
int ClusterSizeEntry(int clusterBytes);
inline constexpr int kClusterSizeEntries = 8;
// 512 bytes doubled per entry: "512 bytes", "1 KB", ... "64 KB".
int ClusterSizeOfEntry(int entry);
std::string ClusterSizeCaption(int entry);

}  // namespace vorlane
