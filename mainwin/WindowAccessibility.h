#pragma once
// A top-level window built on a plain widget (not a QDialog, not a QMainWindow) is a
// "filler" to a screen reader, which then never names it as a window. Installed once,
// this makes every such window a frame with its title as its name.

namespace vorlane {

void ExposeTopLevelWidgetsAsFrames();

}  // namespace vorlane
