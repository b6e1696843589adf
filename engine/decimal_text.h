#pragma once

#include <charconv>
#include <concepts>
#include <string>
#include <string_view>

namespace moxel {

// A number as the game shows it: an optional minus sign and its digits, nothing
// else. Kept on the stack, since the clock converts two numbers every millisecond.
class DecimalText {
public:
    template <std::integral T>
    explicit DecimalText(T value) noexcept
        : length_(static_cast<std::size_t>(
              std::to_chars(buffer_, buffer_ + sizeof buffer_, value).ptr - buffer_)) {}

    std::string_view view() const noexcept { return {buffer_, length_}; }
    std::string str() const { return std::string(view()); }

private:
    char buffer_[24];
    std::size_t length_;
};

}  // namespace moxel
