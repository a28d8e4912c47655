// The save and restore of the receiver's search link list around the search bank reads and
// writes. Reading a bank's parameters needs the receiver on that one bank, so the list is
// saved ("BK"), replaced by "99" ("BK99") and sent back by the engine when the queue runs
// dry. SearchBankState records how far that has come:
//
//   1 no bank with a range met yet      2 save commands queued
//   3 "SS" acknowledged                 4 list saved
//   5 "BK99" acknowledged (replaced)    6 restore queued, not yet acknowledged
//   0 restore acknowledged (or never started)
//
// The state and the saved list live on the engine (its end-of-operation step reads them);
// the answer handlers work on them through TLinkSave.
#pragma once

#include "QueuedCommand.h"
#include "Records.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace sbank {

enum LinkStage : std::int32_t {
    kLinkDone = 0,
    kLinkNoBankYet = 1,
    kLinkSaveQueued = 2,
    kLinkSelected = 3,
    kLinkSaved = 4,
    kLinkReplaced = 5,
    kLinkRestoreQueued = 6,
};

struct TLinkSave {
    std::int32_t& SearchBankState;
    TSearchGrpElement& SearchLinkBackup;
    // Set when an earlier restore was never acknowledged: the receiver may still hold "99",
    // so the list it reports must not replace the one saved before.
    bool& KeepBackup;
};

// An acknowledgement is exactly " " or "20 ".
bool IsAcknowledgement(std::string_view line);

// "BK" answer (cut to begin with the key) into a 40-bit link list: pairs of digits, "99"
// skipped, anything that is no bank 00..39 ends the walk.
void ParseLinkList(std::string_view line, std::uint8_t (&link)[5]);

// The link list answer into the saved list (left alone while KeepBackup is set).
void SearchBankRes_BK(std::string_view line, TLinkSave& link);

// "BK", "BK99" and the second "SS" for the first bank with a range; nothing once the state
// has left 1. Moves the state to 2. Returns the number of commands appended.
int AppendLinkSave(int bank, std::int32_t& state, TCommandList& out);

// The answers to "SS" and "BK" commands, shared by the read and the write handler. The line
// is cut to begin with "BK" when it carries the saved list. True when claimed.
bool LinkAnswer(std::string& line, std::string_view sendedCommand, TLinkSave& link);

// Whether a search bank operation ended (or was aborted) with the receiver's list possibly
// replaced, so that the saved one must go back.
constexpr bool RestoreDue(std::int32_t state)
{
    return state == kLinkSaved || state == kLinkReplaced;
}

}  // namespace sbank
