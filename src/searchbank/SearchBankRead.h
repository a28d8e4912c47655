// Reading search banks: the command lists of "1 Bank Read" and "All Banks Read", the summary
// line "SE" with the detail chain it queues, and the search bank answer family. Toolkit-free:
// lines in, store changes and follow-up commands out.
#pragma once

#include "ParamAnswers.h"

#include <array>
#include "QueuedCommand.h"
#include "SearchBankLink.h"
#include "Store.h"

#include <cstdint>
#include <functional>
#include <string_view>

namespace sbank {

// "AZ" and "SR" bb for one bank, each "[1](200)".
TCommandList ReadCommands_1Bank(int bank);
// "AZ" "[1](200)", then "SR" 00..39 each "[-1](200)".
TCommandList ReadCommands_AllBanks();

// Queries that follow the summary line of a bank that holds a range: select it, the link
// save for the first such bank, the receive state, the parameters (the offset list once
// per operation), "TS" last.
TCommandList DetailChain(int bank, bool auInSe, std::int32_t& searchBankState,
                         std::int32_t& cmdOLReceivedFlag);

class TSearchBankReadFamily {
public:
    TSearchBankReadFamily(TStore& store, memparam::TParamShared& shared, TLinkSave link);

    // Offset entry 39 arrived: the search bank dialog rebuilds its offset list.
    std::function<void()> OffsetListComplete;
    // Region answer: both region radio groups select the item.
    std::function<void(int)> RegionChanged;

    // Bank that parameter answers go to; kept between operations.
    std::int32_t CmdFocusSearchBank = 0;
    std::int32_t AU_in_SE_Flag = 0;

    // Every command written to the port, so that a recall re-aims the chain guard.
    void CommandSent(std::string_view command);

    // One received line (no CR/LF); sendedCommand is the last command written to the port.
    // Commands the answer queues go to `appended`. True when claimed.
    bool SearchBankReadRes_1Line(std::string_view RxString, std::string_view sendedCommand,
                                 TCommandList& appended);

    // Key parsers, given the line cut to begin with the key.
    void SearchBankRes_SE(std::string_view line, TCommandList& appended);
    void SearchBankRes_RX(std::string_view line);

private:
    TSearchBankElement& Focused() { return store_.SearchBankData[CmdFocusSearchBank]; }

    TStore& store_;
    memparam::TParamShared& shared_;
    TLinkSave link_;
    memparam::TDetailChainGuard guard_;
    // Whether the detail chain of a bank asks for "AU" (its summary line had none).
    std::array<bool, kSearchBankCount> auQueried_{};
};

}  // namespace sbank
