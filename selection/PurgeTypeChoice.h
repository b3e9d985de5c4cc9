#pragma once
// The chosen purge type and, for each type, its own chosen number of passes.

#include <array>
#include <string>

#include "engine/PurgeTypes.h"

namespace vorlane {

class PurgeTypeChoice {
  public:
    PurgeTypeChoice() { Initialization(); }

    // Type 0 with the default passes of every type.
    void Initialization();

    int GetPurgeType() const { return type_; }
    int GetNumberOfPasses() const { return passes_[type_]; }
    int PassesOf(int purgeType) const;
    int GetNumOverwritesPerPass() const { return vorlane::GetNumOverwritesPerPass(type_); }
    int GetNumOverwrites() const { return GetNumberOfPasses() * GetNumOverwritesPerPass(); }

    // Out-of-range values are ignored.
    void SelectType(int purgeType);
    void SetPassesOf(int purgeType, int passes);

    // The main window's line, e.g. "Random bytes plus zeros, 6 times (= 12 overwrites)".
    std::string Caption() const;

    friend bool operator==(const PurgeTypeChoice&, const PurgeTypeChoice&) = default;

  private:
    int type_ = 0;
    std::array<int, kPurgeTypeCount> passes_{};
};

// The question of the purge-type window's Accept button.
std::string PurgeTypeAcceptQuestion(int overwrites);

}  // namespace vorlane
