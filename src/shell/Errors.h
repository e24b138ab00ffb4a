#pragma once

#include <stdexcept>
#include <string>

namespace uvlamp {

// A text that should have been a number, a time of day or a date could not be converted.
// Thrown inside the core where a conversion failure must end the whole operation (loading,
// for example); the operation's entry point catches it and returns its message as a value.
class TConversionError : public std::runtime_error {
  public:
    explicit TConversionError(const std::string& message) : std::runtime_error(message) {}
};

}  // namespace uvlamp
