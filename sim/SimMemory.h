// The receiver's own memory: what it stores, in the units it works in (10 Hz resolution,
// settings as the indexes its set commands take).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace sim {

constexpr int kBanks = 40;
constexpr int kChannels = 50;
constexpr int kSearchBanks = 40;
constexpr int kGroups = 10;
constexpr int kOffsets = 40;
constexpr std::size_t kTitleWidth = 12;      // channel and search bank titles
constexpr std::size_t kBankTitleWidth = 11;  // bank header titles

constexpr std::int64_t kMinFreq = 100000;
constexpr std::int64_t kMaxFreq = 3000000000;
constexpr std::int64_t kMaxStep = 999999;        // steps and adjusts stay below 1 MHz
constexpr std::int64_t kMaxOffset = 999999999;   // offset list entries stay below 1000 MHz
constexpr std::int32_t kDefaultStep = 10000;     // step of a channel that is new on the receiver
constexpr std::uint16_t kDefaultVoiceScr = 200;  // lowest inversion frequency, 2000 Hz

// Mode digit of the "MD" field (second character) <-> digital mode index.
std::uint8_t DModeFromCodeDigit(int digit);
int CodeDigitFromDMode(std::uint8_t dmode);

// The receiver's DCS codes, list index 2..107 <-> code (17, 23, ...).
constexpr int kDcsCount = 106;
int DcsCodeAt(int listIndex);  // listIndex 2..107

// Mode names, position 0..16 as in the mode list (DSTR .. D-AU, FM .. CW).
std::string_view ModeName(bool digital, std::uint8_t dmode, std::uint8_t amode);
bool ModeFromName(std::string_view name, std::uint8_t& dmodeEnable, std::uint8_t& dmode,
                  std::uint8_t& amode);

// Highest IF bandwidth index the receiver takes for an analog mode.
int MaxIfbw(std::uint8_t amode);
int DefaultIfbw(bool digital, std::uint8_t amode);

// Settings shared by channels and search banks, changed by the parameter set commands.
struct Params {
    std::int16_t OffsetFreq = 0;  // signed offset list index
    std::uint16_t VoiceSCR = kDefaultVoiceScr;
    std::uint16_t DCR_CODE = 0;
    std::uint16_t DCR_WHITE = 0;
    std::uint8_t RF_SQ_N_L_Type = 0;
    std::uint8_t RF_AGC = 0;
    std::uint8_t RF_TETRA_Slot = 0;
    std::uint8_t RF_ATT = 1;  // "OFF"
    std::uint8_t Dem_DENOIS = 0;
    std::uint8_t Dem_SQL_Type = 0;  // 0 OFF, 1 CTC, 2 DCS, 3 SCR, 4 RTN
    std::uint8_t Dem_DigiDecode = 0;
    std::uint8_t Dem_DMR_Slot = 0;
    std::uint8_t Dem_AutoBand = 0;
    std::uint16_t P25_NACCode = 0;
    std::uint8_t P25_NACCodeMute = 0;
    std::uint8_t IFBW = 3;
    std::uint8_t CTCSS_CODE = 0;  // list index: 0 OFF, 1 SRCH, 2..53 tones
    std::uint8_t DCS_CODE = 0;    // list index: 0 OFF, 1 SRCH, 2..107 codes
    std::uint8_t DMR_ColorCode = 0;
    std::uint8_t DMR_ColorCodeMute = 0;
    std::uint8_t NXDN_RANCode = 0;
    std::uint8_t NXDN_RANCodeMute = 0;
    bool operator==(const Params&) const = default;
};

struct Mode {
    std::uint8_t Dem_DModeEnable = 0;
    std::uint8_t DMode = 0;
    std::uint8_t AMode = 0;
    bool operator==(const Mode&) const = default;
};

struct Channel {
    bool used = false;
    std::uint8_t MemFlag_Pass = 0;
    std::uint8_t MemFlag_ProtectFlag = 0;
    std::int64_t RxFreq = 0;
    std::int32_t StepFreq = kDefaultStep;
    std::int32_t AdjFreq = 0;
    Mode mode;
    std::string Title = std::string(kTitleWidth, ' ');
    Params p;
    bool operator==(const Channel&) const = default;
};

struct BankHeader {
    std::uint8_t MemBankFlag_ProtectFlag = 0;
    std::string Title = std::string(kBankTitleWidth, ' ');
    bool operator==(const BankHeader&) const = default;
};

struct SearchBank {
    bool used = false;
    std::int64_t LowFreq = 0;
    std::int64_t HighFreq = 0;
    std::int32_t StepFreq = kDefaultStep;
    std::int32_t AdjFreq = 0;
    Mode mode;
    std::uint8_t Flags_ProtectFlag = 0;
    std::string Title = std::string(kTitleWidth, ' ');
    Params p;
    bool operator==(const SearchBank&) const = default;
};

struct Group {
    std::uint64_t Link = 0;  // bit n = bank n
    std::uint8_t Delay = 0;  // 0..100
    std::uint8_t Free = 0;   // 0..60
    std::uint8_t GrpFlag_AutoStore = 0;  // search groups only
    bool operator==(const Group&) const = default;
};

struct Memory {
    int Region = 0;  // 0 USA, 1 JAPAN, 2 EURO.
    std::array<std::array<Channel, kChannels>, kBanks> channels{};
    std::array<BankHeader, kBanks> bankHeaders{};
    std::array<SearchBank, kSearchBanks> searchBanks{};
    std::array<Group, kGroups> scanGroups{};
    std::array<Group, kGroups> searchGroups{};
    std::uint64_t searchLink = 0;  // the link list of the "BK" command
    std::array<std::int32_t, kOffsets> offsets{};
    bool operator==(const Memory&) const = default;
};

// Factory state: no channel, no search bank, the fixed offsets 20..39.
Memory EmptyMemory(int region);
// A realistic demo image.
Memory DemoMemory(int region);
// Every channel and search bank holds data, every group links banks; values vary over
// their whole ranges. Fields that the program's writes do not carry (channel steps, the
// IF bandwidth under F-AU, the AGC of FM records) hold the receiver's defaults, so that
// writing a read image into an empty receiver reproduces it exactly.
Memory FullMemory(int region);

// Titles as the receiver keeps them: cut or padded with blanks to their width.
std::string ChannelTitle(std::string_view text);
std::string BankTitle(std::string_view text);

}  // namespace sim
