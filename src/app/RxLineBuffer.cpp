#include "RxLineBuffer.h"

std::optional<RxLineBuffer::Line> RxLineBuffer::push(std::uint8_t d)
{
    constexpr std::uint8_t kCR = 13;
    constexpr std::uint8_t kLF = 10;
    if (d == kLF)
        return std::nullopt;
    if (d == kCR) {
        Line line{take(), !overlong_};
        clear();
        return line;
    }
    std::optional<Line> piece;
    if (count_ >= kSize) {
        // Full: show what we have, keep receiving the rest of the line into a fresh buffer.
        piece = Line{take(), false};
        buf_.fill(0);
        count_ = 0;
        overlong_ = true;
    }
    buf_[count_++] = d;
    return piece;
}

void RxLineBuffer::clear()
{
    buf_.fill(0);
    count_ = 0;
    overlong_ = false;
}

std::string RxLineBuffer::take()
{
    return std::string(reinterpret_cast<const char*>(buf_.data()), count_);
}
