// A value or the reason there is none: what every fallible host operation
// hands back, so callers report a clear message instead of crashing.
#pragma once

#include <string>
#include <utility>

namespace gridsmith::hosting {

template <typename T>
struct Outcome {
    T value{};
    std::string error;  // empty on success

    bool ok() const { return error.empty(); }

    static Outcome Success(T v) { return Outcome{std::move(v), {}}; }
    static Outcome Failure(std::string message) { return Outcome{T{}, std::move(message)}; }
};

}  // namespace gridsmith::hosting
