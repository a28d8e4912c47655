// Writing search banks: the mode text, the summary line, the bank blocks of the two write
// buttons and the write answer check. Toolkit-free.
#pragma once

#include "QueuedCommand.h"
#include "SearchBankLink.h"
#include "Store.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sbank {

// The three-character "MD" text: "0" code digit "0" for a digital mode, "0F" AMode else.
std::string Make_SEMD_Param(const TSearchBankElement& SBTmp);

// A bank holds a range when it is registered and both edges are set; others are deleted.
bool BankHoldsRange(const TSearchBankElement& bank);

// "SE" bb " SL" .. " TT" title: the summary line that writes a bank's range.
std::string SummaryWriteLine(int bank, const TSearchBankElement& rec);

// One bank's commands: "SX" bb for a bank without a range; else the summary line, "SS" bb,
// the link save while the state is 1 (it then becomes 2) and the parameter set commands.
TCommandList BankWriteBlock(int bank, const TSearchBankElement& rec, std::int32_t& searchBankState);

// Whole command lists of "1 Bank Write" and "All Banks Write": "AZ", "IX1", the offset list
// when it changed (clearing offsetFreqChanged), the bank blocks, "IX0".
TCommandList WriteCommands_1Bank(const TStore& store, int bank, std::int32_t& searchBankState,
                                 bool& offsetFreqChanged);
TCommandList WriteCommands_AllBanks(const TStore& store, std::int32_t& searchBankState,
                                    bool& offsetFreqChanged);

// The write family's answer handler: link answers, acknowledgements, error answers and the
// receive state of a search bank. It stores nothing but the saved list.
bool SearchBankWriteRes_1Line(std::string_view RxString, std::string_view sendedCommand, TLinkSave& link);

}  // namespace sbank
