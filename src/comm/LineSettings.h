// Pure translation of the component's settings into termios and line levels, kept apart
// from the device so that it can be checked without a port.
#pragma once

#include "CommX.h"

#include <termios.h>

#include <cstdint>
#include <optional>

namespace kestrel::comm {

// Flow-control flag word as the component records it (bit layout of the classic serial
// device control block: DTR control in bits 4-5, RTS control in bits 12-13).
namespace dcb {
constexpr std::uint32_t kBinary = 0x1;
constexpr std::uint32_t kParity = 0x2;
constexpr std::uint32_t kOutxCtsFlow = 0x4;
constexpr std::uint32_t kOutxDsrFlow = 0x8;
constexpr std::uint32_t kDtrControlShift = 4;
constexpr std::uint32_t kOutX = 0x100;
constexpr std::uint32_t kInX = 0x200;
constexpr std::uint32_t kRtsControlShift = 12;
constexpr std::uint32_t kControlOff = 0;
constexpr std::uint32_t kControlOn = 1;
constexpr std::uint32_t kControlHandshake = 2;
}  // namespace dcb

std::uint32_t FlowCtrlFlagWord(TCommFlowCtrls flow);

// XON and XOFF limits (both a quarter of the receive buffer length).
std::uint16_t XonXoffLimit(std::int32_t bufLenReceive);

// What a flag word asks of a Linux tty. DSR output flow and DTR handshake have no termios
// counterpart, so such a word is refused (nullopt) as a device without them would.
struct FlowSettings {
    bool crtscts = false;  // CTS output flow / RTS handshake
    bool ixon = false;
    bool ixoff = false;
    bool dtrOn = false;
    bool rtsOn = false;  // level to set when RTS is not under handshake
};
std::optional<FlowSettings> FlowFromFlagWord(std::uint32_t flags);

// Field setters on a termios image; false when the value cannot be represented.
bool SetBitRate(termios& t, std::int32_t bitRate);
bool SetCharSize(termios& t, std::int32_t charSize);
// Parity and stop bits outside their enumeration are stored but not applied: returns true
// and leaves t untouched.
bool SetParity(termios& t, TCommParityBits parity);
bool SetStopBits(termios& t, TCommStopBits stop);
void SetFlow(termios& t, const FlowSettings& flow);
void SetXonChar(termios& t, char c);
void SetXoffChar(termios& t, char c);
void MakeRaw(termios& t);

// Half-duplex settle time in ms: 1000 div (bit rate div 10) + 1; rates under 10 bit/s
// count as 10 so that the division is defined.
std::int32_t HalfWaitTime(std::int32_t bitRate);

}  // namespace kestrel::comm
