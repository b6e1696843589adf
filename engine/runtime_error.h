#pragma once

#include <exception>
#include <string_view>

namespace moxel {

// The run-time errors the game's arithmetic can raise. A handler that meets one
// stops where it is; the window layer reports it to the player.
enum class ErrorKind { Overflow, DivisionByZero, FloatingPoint, NoSuchControl };

class RuntimeError : public std::exception {
public:
    explicit RuntimeError(ErrorKind kind) noexcept : kind_(kind) {}

    ErrorKind kind() const noexcept { return kind_; }
    // The error's name as the player reads it: "Overflow", "Division by zero", ...
    std::string_view name() const noexcept;
    const char* what() const noexcept override;

private:
    ErrorKind kind_;
};

[[noreturn]] void raiseError(ErrorKind kind);

}  // namespace moxel
