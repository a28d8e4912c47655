// Reading memory channels and bank headers: the command lists of the three read buttons
// and the memory answer family (main answer, bank header, receive state, parameters).
// Toolkit-free: lines in, store changes and follow-up commands out.
#pragma once

#include "ParamAnswers.h"
#include "QueuedCommand.h"
#include "Store.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string_view>

// Commands queued when a read starts, each with "[1](200)".
TCommandList ReadCommands_1Ch(int bank, int ch);
TCommandList ReadCommands_1Bank(int bank);
TCommandList ReadCommands_AllBanks();

// Queries that follow the main answer of a channel that holds data: recall, focus, the
// parameters (the offset list once per operation), "TS" last.
TCommandList DetailChain(int bank, int ch, bool auInMx, std::int32_t& cmdOLReceivedFlag);

// Bank and channel numbers in commands: two digits with a leading zero.
std::string TwoDigits(int n);

class TMemoryReadFamily {
public:
    TMemoryReadFamily(TStore& store, memparam::TParamShared& shared);

    // Offset entry 39 arrived: the channel dialog rebuilds its offset list.
    std::function<void()> OffsetListComplete;
    // Region answer: both region radio groups select the item.
    std::function<void(int)> RegionChanged;

    // Channel that parameter answers go to; kept between operations.
    std::int32_t CmdFocusMemBank = 0;
    std::int32_t CmdFocusMemCh = 0;
    std::int32_t AU_in_MX_Flag = 0;

    // Every command written to the port, so that a recall re-aims the chain guard.
    void CommandSent(std::string_view command);

    // One received line (no CR/LF). sendedCommand is the last command written to the port.
    // Commands that the answer queues are appended to `appended`. True when claimed.
    bool MemoryReadRes_1Line(std::string_view RxString, std::string_view sendedCommand,
                             TCommandList& appended);

    // Key parsers, given the line cut to begin with the key.
    void MemoryRes_MX(std::string_view line, TCommandList& appended);
    void MemoryRes_MW(std::string_view line);
    void MemoryRes_RX(std::string_view line);

private:
    TMemChElement& Focused() { return store_.MemChData[CmdFocusMemBank][CmdFocusMemCh]; }

    TStore& store_;
    memparam::TParamShared& shared_;
    memparam::TDetailChainGuard guard_;
    // Whether the detail chain of a channel asks for "AU" (its main answer had none).
    std::array<std::array<bool, kMemChPerBank>, kMemBankCount> auQueried_{};
};
