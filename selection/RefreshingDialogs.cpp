#include "selection/RefreshingDialogs.h"

namespace vorlane {

MessageAnswer RefreshingDialogs::Ask(const Question& question) {
    refresh_();
    return dialogs_.Ask(question);
}

std::string RefreshingDialogs::OpenFileName(const std::string& title) {
    refresh_();
    return dialogs_.OpenFileName(title);
}

std::string RefreshingDialogs::OperationFileName(const std::string& title, bool forSaving) {
    refresh_();
    return dialogs_.OperationFileName(title, forSaving);
}

std::string RefreshingDialogs::ReportFileName(const std::string& title) {
    refresh_();
    return dialogs_.ReportFileName(title);
}

std::string RefreshingDialogs::BrowseForFolder(const std::string& title) {
    refresh_();
    return dialogs_.BrowseForFolder(title);
}

void RefreshingDialogs::Close() {
    dialogs_.Close();
}

}  // namespace vorlane
