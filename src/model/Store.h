// The receiver image kept by the program: plain public fields, owned by the main window.
#pragma once

#include "Records.h"

#include <cstdint>

constexpr int kMemBankCount = 40;
constexpr int kMemChPerBank = 50;
constexpr int kSearchBankCount = 40;
constexpr int kGroupCount = 10;
constexpr int kOffsetCount = 40;

struct TStore {
    TMemChElement MemChData[kMemBankCount][kMemChPerBank]{};
    TMemBankElement MemBankData[kMemBankCount]{};
    TMemChElement MemChEmptyData{};
    TMemBankElement MemBankEmptyData{};
    std::int32_t OffsetFreqTable[kOffsetCount]{};
    TSearchGrpElement ScanGrpData[kGroupCount]{};
    TSearchBankElement SearchBankData[kSearchBankCount]{};
    TSearchBankElement SearchBankEmptyData{};
    std::int32_t Region = 0;
    TSearchGrpElement SearchGrpData[kGroupCount]{};

    // Fills the three blank templates: all zeros, title of 12 spaces and two NULs.
    void EmptyData_Init();
};
