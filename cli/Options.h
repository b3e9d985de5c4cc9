#pragma once
// Command-line options as Linux tools take them: "--name value", "--name=value", a long
// name shortened while it stays unambiguous ("--sub" for "--subfolders"; an exact name
// wins over longer ones it begins), the short forms a command lists, clustered ("-ry",
// "-ryn3", "-n3"), and "--" ending the options. Any other word that begins with "-" is
// an option too, so a mistyped one stops the command before anything is touched
// instead of being taken for a file name.

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace vorlane::cli {

struct OptionSpec {
    std::string name;       // "--type"
    char shortName = 0;     // 'h' for -h; 0 when there is none
    std::string valueName;  // "T" when the option takes a value, empty for a switch
    std::string help;       // one line for --help
};

class Options {
  public:
    Options(const std::vector<std::string>& words, const std::vector<OptionSpec>& specs);

    bool Valid() const { return error_.empty(); }
    // The fault in one line, e.g. "unrecognized option '-keep'".
    const std::string& Error() const { return error_; }
    bool Has(const std::string& name) const { return given_.contains(name); }
    std::optional<std::string> Value(const std::string& name) const;
    // Words that are not options, in their order.
    const std::vector<std::string>& Operands() const { return operands_; }
    // The options given, by name, in the order of the table.
    std::vector<std::string> Given() const;

    // An option's value as a whole number within [low, high]; nullopt when it is
    // absent, and an error is recorded when it is present but not such a number.
    std::optional<int> IntValue(const std::string& name, int low, int high);

  private:
    // The option a long word names, whole or shortened; nullptr with the fault recorded.
    const OptionSpec* FindLong(const std::string& name, const std::string& word);
    const OptionSpec* FindShort(char letter) const;
    bool TakeLong(const std::vector<std::string>& words, std::size_t& i);
    bool TakeShort(const std::vector<std::string>& words, std::size_t& i);

    const std::vector<OptionSpec>& specs_;
    std::map<std::string, std::string> given_;  // name -> value (empty for a switch)
    std::vector<std::string> operands_;
    std::string error_;
};

}  // namespace vorlane::cli
