#pragma once
// The frame of every window test: per-user folders and the runtime folder in a
// temporary folder of the test's own, the program texts loaded, then the
// application. The windows are headless (QT_QPA_PLATFORM=offscreen, set by CTest).

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "common/TempFolder.h"
#include "support/ProgramText.h"
#include "tools/SettingsStore.h"

namespace vorlane::testing {

class GuiTestEnvironment {
  public:
    GuiTestEnvironment() {
        const std::string runtime = home.File("runtime");
        std::filesystem::create_directory(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        ::setenv("XDG_DATA_HOME", home.File("data").c_str(), 1);
        ::setenv("XDG_CONFIG_HOME", home.File("config").c_str(), 1);
        ::setenv("XDG_STATE_HOME", home.File("state").c_str(), 1);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
        SetSettingsFilePath(home.File("config/settings.ini"));
        loaded = ReadProgramTextFile(ProgramTextPath(kProgramTextFileName)).status ==
                 ProgramTextStatus::Loaded;
    }

    TempFolder home;
    bool loaded = false;
};

// Runs `act` once `ready` holds, checked every few milliseconds from the event loop, so
// that it runs while a modal window, a nested loop or a worker holds the caller. With a
// `context` the check goes with it, so that it never outlives what it looks at.
inline void When(std::function<bool()> ready, std::function<void()> act,
                 QObject* context = nullptr) {
    auto* timer = new QTimer(context);
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, ready, act] {
        if (ready()) {
            timer->stop();
            timer->deleteLater();
            act();
        }
    });
    timer->start();
}

// The program's top-level window of that name, once it shows.
inline QWidget* ShownWindow(const char* name) {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == name && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// The modal window in front, when it is a T.
template <typename T>
T* Modal() {
    return qobject_cast<T*>(QApplication::activeModalWidget());
}

// A control of a window; a missing one ends the test program, naming it.
template <typename T = QWidget>
T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(name);
    if (!child) {
        qFatal("no control %s", name);
    }
    return child;
}

// Once a message box shows, keeps its text in `text` and accepts it.
inline void AcceptMessageWhenShown(QString& text) {
    When([] { return Modal<QMessageBox>() != nullptr; },
         [&text] {
             text = Modal<QMessageBox>()->text();
             Modal<QMessageBox>()->accept();
         });
}

// Clicks a button of a window as soon as the window shows.
inline void ClickWhenShown(const char* window, const char* button,
                           std::function<void(QWidget*)> look = {}) {
    When([window] { return ShownWindow(window) != nullptr; },
         [window, button, look] {
             QWidget* shown = ShownWindow(window);
             if (look) {
                 look(shown);
             }
             shown->findChild<QPushButton*>(button)->click();
         });
}

}  // namespace vorlane::testing

#define VORLANE_GUI_TEST_MAIN(TestClass)                  \
    int main(int argc, char** argv) {                     \
        vorlane::testing::GuiTestEnvironment environment; \
        if (!environment.loaded) {                        \
            return EXIT_FAILURE;                          \
        }                                                 \
        QApplication app(argc, argv);                     \
        TestClass test;                                   \
        return QTest::qExec(&test, argc, argv);           \
    }
