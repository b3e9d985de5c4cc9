#pragma once
// A small parser for "--flag", "--name VALUE" and plain words, strict about unknown
// options so that a typo never turns into a purge with other settings.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vorlane::cli {

class Arguments {
  public:
    Arguments(const std::vector<std::string>& words, const std::set<std::string>& flags,
              const std::set<std::string>& valued);

    bool Valid() const { return error_.empty(); }
    const std::string& Error() const { return error_; }
    bool Has(const std::string& name) const;
    std::optional<std::string> Value(const std::string& name) const;
    const std::vector<std::string>& Words() const { return words_; }

    // An option's value as a whole number within [low, high]; nullopt when it is absent,
    // and an error is recorded when it is present but not such a number.
    std::optional<int> IntValue(const std::string& name, int low, int high);

  private:
    std::set<std::string> present_;
    std::map<std::string, std::string> values_;
    std::vector<std::string> words_;
    std::string error_;
};

}  // namespace vorlane::cli
