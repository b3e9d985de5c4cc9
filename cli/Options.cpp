#include "cli/Options.h"

#include <charconv>

namespace vorlane::cli {

Options::Options(const std::vector<std::string>& words, const std::vector<OptionSpec>& specs)
    : specs_(specs) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size() && error_.empty(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.empty() || word[0] != '-') {
            operands_.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else {
            Take(words, i);
        }
    }
}

const OptionSpec* Options::Find(const std::string& word) const {
    for (const OptionSpec& spec : specs_) {
        if (word == spec.name || (spec.shortName != 0 && word.size() == 2 && word[0] == '-' &&
                                  word[1] == spec.shortName)) {
            return &spec;
        }
    }
    return nullptr;
}

// Reads the option at words[i] (and its value); false with the fault recorded.
bool Options::Take(const std::vector<std::string>& words, std::size_t& i) {
    std::string word = words[i];
    std::optional<std::string> attached;
    const std::size_t equals = word.find('=');
    if (word.rfind("--", 0) == 0 && equals != std::string::npos) {
        attached = word.substr(equals + 1);
        word.resize(equals);
    }
    const OptionSpec* spec = Find(word);
    if (spec == nullptr) {
        error_ = "unrecognized option '" + word + "'";
        return false;
    }
    if (spec->valueName.empty()) {
        if (attached) {
            error_ = "option '" + spec->name + "' doesn't allow an argument";
            return false;
        }
        given_[spec->name].clear();
        return true;
    }
    if (!attached && i + 1 >= words.size()) {
        error_ = "option '" + spec->name + "' requires an argument";
        return false;
    }
    given_[spec->name] = attached ? *attached : words[++i];
    return true;
}

std::optional<std::string> Options::Value(const std::string& name) const {
    const auto found = given_.find(name);
    return found == given_.end() ? std::nullopt : std::optional<std::string>(found->second);
}

std::vector<std::string> Options::Given() const {
    std::vector<std::string> names;
    for (const OptionSpec& spec : specs_) {
        if (Has(spec.name)) {
            names.push_back(spec.name);
        }
    }
    return names;
}

std::optional<int> Options::IntValue(const std::string& name, int low, int high) {
    const auto text = Value(name);
    if (!text) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (ec != std::errc() || end != text->data() + text->size() || value < low || value > high) {
        error_ = "invalid value '" + *text + "' for " + name + ": a whole number from " +
                 std::to_string(low) + " to " + std::to_string(high) + " is needed";
        return std::nullopt;
    }
    return value;
}

}  // namespace vorlane::cli
