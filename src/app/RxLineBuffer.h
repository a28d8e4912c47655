// Assembly of received bytes into lines: CR ends a line, LF is ignored. One fixed buffer
// of 301 bytes; a line that would grow past it is handed on in pieces that are shown but
// never offered as an answer, because no valid answer is that long.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

class RxLineBuffer {
public:
    static constexpr std::size_t kSize = 301;

    struct Line {
        std::string bytes;
        bool answer = true;  // false for the pieces of an overlong line
    };

    // One received byte; returns a line (or a piece of an overlong one) when one is ready.
    std::optional<Line> push(std::uint8_t d);

    // Count 0, every byte 0, and the next line starts afresh.
    void clear();

    std::size_t count() const { return count_; }
    const std::array<std::uint8_t, kSize>& bytes() const { return buf_; }

private:
    std::string take();

    std::array<std::uint8_t, kSize> buf_{};
    std::size_t count_ = 0;
    bool overlong_ = false;
};
