#pragma once
// A value, or why there is none: the shape of C++23's std::expected, cut to what the
// program uses, so that a result and its failure travel together instead of through an
// out-parameter beside a flag.

#include <utility>
#include <variant>

namespace vorlane {

// The failure side, as a constructor argument: `return Unexpected(text);`.
template <class Error>
struct Unexpected {
    explicit Unexpected(Error e) : error(std::move(e)) {}
    Error error;
};

template <class Value, class Error>
class Expected {
  public:
    Expected(Value value) : held_(std::in_place_index<0>, std::move(value)) {}
    template <class From>
    Expected(Unexpected<From> failure)
        : held_(std::in_place_index<1>, Error(std::move(failure.error))) {}

    bool has_value() const { return held_.index() == 0; }
    explicit operator bool() const { return has_value(); }

    Value& operator*() { return std::get<0>(held_); }
    const Value& operator*() const { return std::get<0>(held_); }
    Value* operator->() { return &std::get<0>(held_); }
    const Value* operator->() const { return &std::get<0>(held_); }
    // Only when there is no value.
    const Error& error() const { return std::get<1>(held_); }

  private:
    std::variant<Value, Error> held_;
};

}  // namespace vorlane
