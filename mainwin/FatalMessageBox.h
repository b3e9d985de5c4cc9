#pragma once
// The end of the program when its texts cannot be loaded: a critical message box
// without a title, the message on standard error too, and a non-zero exit.

#include <functional>

#include "support/ProgramText.h"

namespace vorlane {

class FatalMessageBox : public FatalMessageSink {
  public:
    // end: how the program ends (std::exit unless a test replaces it).
    explicit FatalMessageBox(std::function<void(int)> end);
    void EndWithMessage(const std::string& message) override;

  private:
    std::function<void(int)> end_;
};

}  // namespace vorlane
