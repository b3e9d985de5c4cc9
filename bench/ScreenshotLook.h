#pragma once
// The look of the screenshot programs: with VORLANE_DARK set, a dark palette, as a
// desktop's dark theme gives the program one; with VORLANE_FONT_POINTS, a font of that
// size, as a person who reads large text chooses.

#include <QApplication>
#include <QPalette>
#include <QStyleFactory>
#include <cstdlib>
#include <filesystem>

#include "support/ProgramText.h"
#include "tools/SettingsStore.h"

// A fresh private home, runtime folder and settings file under `work`, so that a run
// reads nothing of the person's own; false when the program's texts cannot be read.
inline bool PrepareScreenshotHome(const std::filesystem::path& work) {
    namespace fs = std::filesystem;
    fs::remove_all(work);
    fs::create_directories(work / "home");
    fs::create_directory(work / "runtime");
    fs::permissions(work / "runtime", fs::perms::owner_all);
    ::setenv("XDG_RUNTIME_DIR", (work / "runtime").c_str(), 1);
    ::setenv("XDG_DATA_HOME", (work / "home").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (work / "home").c_str(), 1);
    vorlane::SetSettingsFilePath((work / "home/settings.ini").string());
    return vorlane::ReadProgramTextFile(vorlane::ProgramTextPath(vorlane::kProgramTextFileName))
               .status == vorlane::ProgramTextStatus::Loaded;
}

inline void ApplyScreenshotLook() {
    if (const int points = qEnvironmentVariableIntValue("VORLANE_FONT_POINTS"); points > 0) {
        QFont font = QApplication::font();
        font.setPointSize(points);
        QApplication::setFont(font);
    }
    if (!qEnvironmentVariableIsSet("VORLANE_DARK")) {
        return;
    }
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    QPalette dark;
    const QColor window(45, 45, 48);
    const QColor base(30, 30, 32);
    const QColor text(230, 230, 230);
    dark.setColor(QPalette::Window, window);
    dark.setColor(QPalette::WindowText, text);
    dark.setColor(QPalette::Base, base);
    dark.setColor(QPalette::AlternateBase, window);
    dark.setColor(QPalette::Text, text);
    dark.setColor(QPalette::Button, window);
    dark.setColor(QPalette::ButtonText, text);
    dark.setColor(QPalette::ToolTipBase, window);
    dark.setColor(QPalette::ToolTipText, text);
    dark.setColor(QPalette::Highlight, QColor(61, 142, 201));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::WindowText, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    QApplication::setPalette(dark);
}
