#pragma once
// The choice windows of the main window, each created once on first use and then
// reused. Each is shown modally with the main window's command frame disabled.

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>

#include "selection/ChoiceWindows.h"
#include "selection/Dialogs.h"

namespace vorlane {

class DateInputWindow;
class FileSelectionWindow;
class PurgeTypeWindow;

class ChoiceWindowSet : public ChoiceWindows {
  public:
    // enableMenu: the main window's EnableMenu; placeNear: where each window goes.
    ChoiceWindowSet(QWidget* owner, Dialogs& dialogs, std::function<void(bool)> enableMenu,
                    std::function<void(QWidget&)> placeNear);
    ~ChoiceWindowSet() override;

    FilesChoiceResult ChooseFiles(const std::string& folder, int fileCount,
                                  bool& singleFileOption) override;
    DateWindowResult ChooseDate(std::int32_t& jdn, const std::string& caption) override;
    bool ChoosePurgeType(PurgeTypeChoice& choice) override;
    void RunLong(const std::function<void()>& work) override;

    PurgeTypeWindow& TypeOfPurgeWindow();
    FileSelectionWindow& SpecifyFilesWindow();
    DateInputWindow& DateWindow();
    // The date window when it exists (for the main window's Clock1).
    DateInputWindow* ExistingDateWindow() const;

  private:
    template <typename Show>
    auto Modal(QWidget& window, Show show);

    QWidget* owner_;
    Dialogs& dialogs_;
    std::function<void(bool)> enableMenu_;
    std::function<void(QWidget&)> placeNear_;
    QPointer<PurgeTypeWindow> typeOfPurge_;
    QPointer<FileSelectionWindow> specifyFiles_;
    QPointer<DateInputWindow> dateInput_;
};

}  // namespace vorlane
