#pragma once
// One JSON object on one line, built field by field. Small enough to need no library:
// the records hold only strings, whole numbers, booleans and null. Strings are escaped so
// that no byte of a value can end the line or the string early.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlane::cli {

class JsonObject {
  public:
    JsonObject& Add(std::string_view key, std::string_view text);
    JsonObject& Add(std::string_view key, const char* text) {
        return Add(key, std::string_view(text));
    }
    JsonObject& Add(std::string_view key, std::int64_t number);
    JsonObject& Add(std::string_view key, int number) {
        return Add(key, static_cast<std::int64_t>(number));
    }
    JsonObject& Add(std::string_view key, bool value);
    JsonObject& AddNull(std::string_view key);
    template <typename Value>
    JsonObject& Add(std::string_view key, const std::optional<Value>& value) {
        return value ? Add(key, *value) : AddNull(key);
    }
    // The object, closed, without a line break.
    std::string Text() const { return text_ + "}"; }

  private:
    void Key(std::string_view key);

    std::string text_ = "{";
};

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view bytes);
// The bytes as a JSON string, quotes included. Invalid UTF-8 becomes U+FFFD, one per
// byte that cannot be read: a string that is not UTF-8 is no JSON.
std::string JsonString(std::string_view bytes);
// Standard base64 with padding, for bytes that no JSON string can carry exactly.
std::string Base64(std::string_view bytes);

}  // namespace vorlane::cli
