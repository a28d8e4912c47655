// A store, the shared parameter state and the link save state of one search bank
// operation, with the read family on top; the test plays the receiver.
#pragma once

#include "SearchBankRead.h"
#include "Store.h"

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

inline bool SameRecord(const TSearchBankElement& a, const TSearchBankElement& b)
{
    // Every field up to the end of the title; not the tail padding.
    return std::memcmp(&a, &b, offsetof(TSearchBankElement, Title) + sizeof a.Title) == 0;
}

inline std::vector<std::string> Commands(const TCommandList& list)
{
    std::vector<std::string> out;
    for (const TQueuedCommand& c : list)
        out.push_back(c.Command);
    return out;
}

inline std::vector<int> LinkedBanks(const std::uint8_t (&link)[5])
{
    std::vector<int> out;
    for (int bank = 0; bank < 40; ++bank)
        if ((link[bank / 8] >> (bank % 8)) & 1)
            out.push_back(bank);
    return out;
}

struct SearchBankRig {
    SearchBankRig()
    {
        store->EmptyData_Init();
        family.OffsetListComplete = [this] { ++offsetListRebuilds; };
        family.RegionChanged = [this](int r) { regions.push_back(r); };
    }
    bool Feed(const std::string& line, const std::string& sended)
    {
        return family.SearchBankReadRes_1Line(line, sended, appended);
    }
    TSearchBankElement& Bank(int b) { return store->SearchBankData[b]; }

    std::unique_ptr<TStore> store = std::make_unique<TStore>();
    memparam::TParamShared shared;
    std::int32_t state = sbank::kLinkNoBankYet;
    TSearchGrpElement backup{};
    bool keepBackup = false;
    sbank::TLinkSave link{state, backup, keepBackup};
    sbank::TSearchBankReadFamily family{*store, shared, link};
    TCommandList appended;
    int offsetListRebuilds = 0;
    std::vector<int> regions;
};
