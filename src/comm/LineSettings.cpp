#include "LineSettings.h"

#include <array>
#include <utility>

namespace kestrel::comm {

std::uint32_t FlowCtrlFlagWord(TCommFlowCtrls flow)
{
    using namespace dcb;
    const std::uint32_t base = kBinary | kParity;
    const auto dtr = [](std::uint32_t v) { return v << kDtrControlShift; };
    const auto rts = [](std::uint32_t v) { return v << kRtsControlShift; };
    switch (flow) {
    case cfcRtsCts: return base | kOutxCtsFlow | dtr(kControlOn) | rts(kControlHandshake);
    case cfcDtrDsr: return base | kOutxDsrFlow | dtr(kControlHandshake) | rts(kControlOn);
    case cfcXonXoff: return base | kOutX | kInX | dtr(kControlOn) | rts(kControlOn);
    case cfcHalfHigh: return base | dtr(kControlOn) | rts(kControlOff);
    case cfcHalfLow:
    case cfcNone: return base | dtr(kControlOn) | rts(kControlOn);
    }
    return base | dtr(kControlOn) | rts(kControlOn);
}

std::uint16_t XonXoffLimit(std::int32_t bufLenReceive)
{
    const std::int32_t q = bufLenReceive / 4;
    if (q < 0) return 0;
    if (q > 0xFFFF) return 0xFFFF;
    return static_cast<std::uint16_t>(q);
}

std::optional<FlowSettings> FlowFromFlagWord(std::uint32_t flags)
{
    using namespace dcb;
    const std::uint32_t dtrCtl = (flags >> kDtrControlShift) & 0x3;
    const std::uint32_t rtsCtl = (flags >> kRtsControlShift) & 0x3;
    if ((flags & kOutxDsrFlow) || dtrCtl == kControlHandshake || dtrCtl > kControlHandshake
        || rtsCtl > kControlHandshake)
        return std::nullopt;
    FlowSettings f;
    f.crtscts = (flags & kOutxCtsFlow) || rtsCtl == kControlHandshake;
    f.ixon = flags & kOutX;
    f.ixoff = flags & kInX;
    f.dtrOn = dtrCtl == kControlOn;
    f.rtsOn = rtsCtl != kControlOff;
    return f;
}

bool SetBitRate(termios& t, std::int32_t bitRate)
{
    static constexpr std::array<std::pair<std::int32_t, speed_t>, 30> kRates{{
        {50, B50}, {75, B75}, {110, B110}, {134, B134}, {150, B150}, {200, B200},
        {300, B300}, {600, B600}, {1200, B1200}, {1800, B1800}, {2400, B2400},
        {4800, B4800}, {9600, B9600}, {19200, B19200}, {38400, B38400},
        {57600, B57600}, {115200, B115200}, {230400, B230400}, {460800, B460800},
        {500000, B500000}, {576000, B576000}, {921600, B921600}, {1000000, B1000000},
        {1152000, B1152000}, {1500000, B1500000}, {2000000, B2000000},
        {2500000, B2500000}, {3000000, B3000000}, {3500000, B3500000},
        {4000000, B4000000},
    }};
    for (const auto& [rate, code] : kRates) {
        if (rate == bitRate) {
            cfsetispeed(&t, code);
            cfsetospeed(&t, code);
            return true;
        }
    }
    return false;
}

bool SetCharSize(termios& t, std::int32_t charSize)
{
    tcflag_t bits = 0;
    switch (charSize) {
    case 5: bits = CS5; break;
    case 6: bits = CS6; break;
    case 7: bits = CS7; break;
    case 8: bits = CS8; break;
    default: return false;
    }
    t.c_cflag = (t.c_cflag & ~CSIZE) | bits;
    return true;
}

bool SetParity(termios& t, TCommParityBits parity)
{
    switch (parity) {
    case cpbNone: t.c_cflag &= ~(PARENB | PARODD); t.c_iflag &= ~INPCK; break;
    case cpbOdd: t.c_cflag |= PARENB | PARODD; t.c_iflag |= INPCK; break;
    case cpbEven: t.c_cflag = (t.c_cflag | PARENB) & ~PARODD; t.c_iflag |= INPCK; break;
    }
    return true;
}

bool SetStopBits(termios& t, TCommStopBits stop)
{
    switch (stop) {
    case csb1: t.c_cflag &= ~CSTOPB; return true;
    case csb2: t.c_cflag |= CSTOPB; return true;
    case csb1p5: return false;  // Linux UARTs have no one-and-a-half stop bits
    }
    return true;
}

void SetFlow(termios& t, const FlowSettings& flow)
{
    t.c_cflag = flow.crtscts ? (t.c_cflag | CRTSCTS) : (t.c_cflag & ~CRTSCTS);
    t.c_iflag = flow.ixon ? (t.c_iflag | IXON) : (t.c_iflag & ~IXON);
    t.c_iflag = flow.ixoff ? (t.c_iflag | IXOFF) : (t.c_iflag & ~IXOFF);
    t.c_iflag &= ~IXANY;
}

void SetXonChar(termios& t, char c) { t.c_cc[VSTART] = static_cast<cc_t>(c); }
void SetXoffChar(termios& t, char c) { t.c_cc[VSTOP] = static_cast<cc_t>(c); }

void MakeRaw(termios& t)
{
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 0;
    t.c_cc[VTIME] = 0;
}

std::int32_t HalfWaitTime(std::int32_t bitRate)
{
    const std::int32_t charsPerSecond = bitRate < 10 ? 1 : bitRate / 10;
    return 1000 / charsPerSecond + 1;
}

}  // namespace kestrel::comm
