#include "mainwin/ChoiceWindowSet.h"

#include "mainwin/BackgroundWork.h"
#include "mainwin/DateInputWindow.h"
#include "mainwin/FileSelectionWindow.h"
#include "mainwin/PurgeTypeWindow.h"
#include "selection/DateInput.h"

namespace vorlane {

ChoiceWindowSet::ChoiceWindowSet(QWidget* owner, Dialogs& dialogs,
                                 std::function<void(bool)> enableMenu,
                                 std::function<void(QWidget&)> placeNear)
    : owner_(owner),
      dialogs_(dialogs),
      enableMenu_(std::move(enableMenu)),
      placeNear_(std::move(placeNear)) {}

ChoiceWindowSet::~ChoiceWindowSet() = default;

template <typename Show>
auto ChoiceWindowSet::Modal(QWidget& window, Show show) {
    enableMenu_(false);
    placeNear_(window);
    auto result = show();
    enableMenu_(true);
    return result;
}

PurgeTypeWindow& ChoiceWindowSet::TypeOfPurgeWindow() {
    if (!typeOfPurge_) {
        typeOfPurge_ = new PurgeTypeWindow(dialogs_, owner_);
    }
    return *typeOfPurge_;
}

FileSelectionWindow& ChoiceWindowSet::SpecifyFilesWindow() {
    if (!specifyFiles_) {
        specifyFiles_ = new FileSelectionWindow(dialogs_, owner_);
    }
    return *specifyFiles_;
}

DateInputWindow& ChoiceWindowSet::DateWindow() {
    if (!dateInput_) {
        dateInput_ = new DateInputWindow(dialogs_, owner_);
        dateInput_->SetYearRange(kDateWindowLowestYear, kDateWindowHighestYear);
    }
    return *dateInput_;
}

DateInputWindow* ChoiceWindowSet::ExistingDateWindow() const {
    return dateInput_;
}

FilesChoiceResult ChoiceWindowSet::ChooseFiles(const std::string& folder, int fileCount,
                                               bool& singleFileOption) {
    FileSelectionWindow& window = SpecifyFilesWindow();
    const FilesChoiceResult result =
        Modal(window, [&] { return window.Choose(folder, fileCount, "purge"); });
    singleFileOption = window.SingleFileSelected();
    return result;
}

DateWindowResult ChoiceWindowSet::ChooseDate(std::int32_t& jdn, const std::string& caption) {
    DateInputWindow& window = DateWindow();
    return Modal(window, [&] { return window.Choose(jdn, QString::fromStdString(caption)); });
}

bool ChoiceWindowSet::ChoosePurgeType(PurgeTypeChoice& choice) {
    PurgeTypeWindow& window = TypeOfPurgeWindow();
    return Modal(window, [&] { return window.Choose(choice); });
}

void ChoiceWindowSet::RunLong(const std::function<void()>& work) {
    enableMenu_(false);
    RunWhileServingEvents(work);
    enableMenu_(true);
}

}  // namespace vorlane
