#pragma once
// Dialogs for the programs in bench/: OK to every note, No to every question (the offer
// to delete the emptied folder), nothing chosen in a file dialog.

#include <string>

#include "selection/Dialogs.h"

class QuietDialogs : public vorlane::Dialogs {
  public:
    vorlane::MessageAnswer Ask(const vorlane::Question& question) override {
        return question.buttons == vorlane::MessageButtons::Ok ? vorlane::MessageAnswer::Ok
                                                               : vorlane::MessageAnswer::No;
    }
    std::string OpenFileName(const std::string&) override { return {}; }
    std::string BrowseForFolder(const std::string&) override { return {}; }
};
