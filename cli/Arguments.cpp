#include "cli/Arguments.h"

#include <charconv>

namespace vorlane::cli {

Arguments::Arguments(const std::vector<std::string>& words, const std::set<std::string>& flags,
                     const std::set<std::string>& valued) {
    bool optionsEnded = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (optionsEnded || word.size() < 2 || word.rfind("--", 0) != 0) {
            words_.push_back(word);
        } else if (word == "--") {
            optionsEnded = true;
        } else if (flags.contains(word)) {
            present_.insert(word);
        } else if (valued.contains(word) && i + 1 < words.size()) {
            present_.insert(word);
            values_[word] = words[++i];
        } else if (valued.contains(word)) {
            error_ = word + " needs a value";
            return;
        } else {
            error_ = "unknown option " + word;
            return;
        }
    }
}

bool Arguments::Has(const std::string& name) const {
    return present_.contains(name);
}

std::optional<std::string> Arguments::Value(const std::string& name) const {
    const auto found = values_.find(name);
    return found == values_.end() ? std::nullopt : std::optional<std::string>(found->second);
}

std::optional<int> Arguments::IntValue(const std::string& name, int low, int high) {
    const auto text = Value(name);
    if (!text) {
        return std::nullopt;
    }
    int value = 0;
    const auto [end, ec] = std::from_chars(text->data(), text->data() + text->size(), value);
    if (ec != std::errc() || end != text->data() + text->size() || value < low || value > high) {
        error_ = name + " must be a whole number from " + std::to_string(low) + " to " +
                 std::to_string(high);
        return std::nullopt;
    }
    return value;
}

}  // namespace vorlane::cli
