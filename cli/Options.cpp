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
        } else if (word.starts_with("--")) {
            TakeLong(words, i);
        } else {
            TakeShort(words, i);
        }
    }
}

const OptionSpec* Options::FindLong(const std::string& name, const std::string& word) {
    std::vector<const OptionSpec*> begun;
    for (const OptionSpec& spec : specs_) {
        if (spec.name == name) {
            return &spec;
        }
        if (name.size() > 2 && spec.name.starts_with(name)) {
            begun.push_back(&spec);
        }
    }
    if (begun.size() == 1) {
        return begun.front();
    }
    if (begun.empty()) {
        error_ = "unrecognized option '" + name + "'";
        return nullptr;
    }
    // In getopt_long's words, so that a script's author meets a familiar message.
    error_ = "option '" + word + "' is ambiguous; possibilities:";
    for (const OptionSpec* spec : begun) {
        error_ += " '" + spec->name + "'";
    }
    return nullptr;
}

const OptionSpec* Options::FindShort(char letter) const {
    for (const OptionSpec& spec : specs_) {
        if (spec.shortName != 0 && spec.shortName == letter) {
            return &spec;
        }
    }
    return nullptr;
}

// Reads the long option at words[i] (and its value); false with the fault recorded.
bool Options::TakeLong(const std::vector<std::string>& words, std::size_t& i) {
    const std::string& word = words[i];
    std::string name = word;
    std::optional<std::string> attached;
    if (const std::size_t equals = word.find('='); equals != std::string::npos) {
        attached = word.substr(equals + 1);
        name.resize(equals);
    }
    const OptionSpec* spec = FindLong(name, word);
    if (spec == nullptr) {
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

// Reads a cluster of short options at words[i]: switches, then at most one option with
// a value, which takes the rest of the word or else the next word.
bool Options::TakeShort(const std::vector<std::string>& words, std::size_t& i) {
    const std::string& word = words[i];
    if (word.size() == 1) {
        error_ = "unrecognized option '-'";
        return false;
    }
    for (std::size_t at = 1; at < word.size(); ++at) {
        const OptionSpec* spec = FindShort(word[at]);
        if (spec == nullptr) {
            // The whole word: "-keep" is one mistyped option to the person, not four.
            error_ = "unrecognized option '" + word + "'";
            return false;
        }
        if (spec->valueName.empty()) {
            given_[spec->name].clear();
            continue;
        }
        if (at + 1 < word.size()) {
            given_[spec->name] = word.substr(at + 1);
        } else if (i + 1 < words.size()) {
            given_[spec->name] = words[++i];
        } else {
            error_ = "option '" + spec->name + "' requires an argument";
            return false;
        }
        return true;
    }
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
