#include "SearchBankLink.h"

#include "IntText.h"
#include "MemoryRead.h"
#include "ParamAnswers.h"

namespace sbank {

bool IsAcknowledgement(std::string_view line)
{
    return line == " " || line == "20 ";
}

void ParseLinkList(std::string_view line, std::uint8_t (&link)[5])
{
    std::uint8_t bits[5] = {};
    for (std::size_t at = 2; at + 2 <= line.size(); at += 2) {
        const std::int64_t bank = ReadInt(line.substr(at, 2), 100);
        if (bank == 99)
            continue;
        if (!memparam::InRange(bank, 0, 39))
            break;  // the banks before the bad pair stay
        bits[bank / 8] |= static_cast<std::uint8_t>(1u << (bank % 8));
    }
    for (int i = 0; i < 5; ++i)
        link[i] = bits[i];
}

void SearchBankRes_BK(std::string_view line, TLinkSave& link)
{
    if (!link.KeepBackup)
        ParseLinkList(line, link.SearchLinkBackup.Link);
}

int AppendLinkSave(int bank, std::int32_t& state, TCommandList& out)
{
    if (state != kLinkNoBankYet)
        return 0;
    out.push_back({"BK", "[1](200)"});
    out.push_back({"BK99", "[1](200)"});
    out.push_back({"SS" + TwoDigits(bank), "[1](2)"});
    state = kLinkSaveQueued;
    return 3;
}

bool LinkAnswer(std::string& line, std::string_view sendedCommand, TLinkSave& link)
{
    std::int32_t& state = link.SearchBankState;
    if (sendedCommand.starts_with("SS") && IsAcknowledgement(line)) {
        if (state == kLinkSaveQueued)
            state = kLinkSelected;
        return true;
    }
    if (!sendedCommand.starts_with("BK"))
        return false;
    // The list is taken in state 2 as well: an "SS" acknowledgement that never came (or
    // came too late) must not leave the list unsaved while "BK99" still replaces it.
    if (state == kLinkSaveQueued || state == kLinkSelected) {
        const auto at = memparam::FindKeyAt(line, "BK");
        if (!at)
            return false;
        line.erase(0, *at);
        SearchBankRes_BK(line, link);
        state = kLinkSaved;
        return true;
    }
    if (state == kLinkSaved && IsAcknowledgement(line)) {
        state = kLinkReplaced;
        return true;
    }
    if (state == kLinkRestoreQueued && IsAcknowledgement(line)) {
        state = kLinkDone;
        link.KeepBackup = false;
        return true;
    }
    return false;
}

}  // namespace sbank
