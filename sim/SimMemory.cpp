#include "SimMemory.h"

#include <cstdio>

namespace sim {

namespace {

// Mode digit -> digital mode index.
constexpr std::uint8_t kDModeOfDigit[10] = {9, 0, 1, 6, 3, 5, 4, 2, 7, 8};

constexpr int kDcsCodes[kDcsCount] = {
    17,  23,  25,  26,  31,  32,  36,  43,  47,  50,  51,  53,  54,  65,  71,  72,  73,  74,
    114, 115, 116, 122, 125, 131, 132, 134, 143, 145, 152, 155, 156, 162, 165, 172, 174, 205,
    212, 223, 225, 226, 243, 244, 245, 246, 251, 252, 255, 261, 263, 265, 266, 271, 274, 306,
    311, 315, 325, 331, 332, 343, 346, 351, 356, 364, 365, 371, 411, 412, 413, 423, 431, 432,
    445, 446, 452, 454, 455, 462, 464, 465, 466, 503, 506, 516, 523, 526, 532, 546, 565, 606,
    612, 624, 627, 631, 632, 654, 662, 664, 703, 712, 723, 731, 732, 734, 743, 754};

constexpr std::string_view kModeNames[17] = {"DSTR", "YAES", "DMR", "D-CR", "dPMR", "P-25",
                                             "ALIN", "T-DM", "T-TC", "D-AU", "FM",   "AM",
                                             "SAH",  "SAL",  "USB",  "LSB",  "CW"};

// Factory values of the fixed offset entries 20..39.
constexpr std::int32_t kFixedOffsets[20] = {
    100000,   4000000,  4600000,  5000000,  8000000,  9000000,  10000000,
    15000000, 16000000, 16500000, 18000000, 18450000, 20000000, 24100000,
    37400000, 47200000, 48000000, 55000000, 126350000, 130000000};

Mode ModeAt(int position) {
    Mode m;
    if (position < 10) {
        m.Dem_DModeEnable = 1;
        m.DMode = static_cast<std::uint8_t>(position);
    } else {
        m.AMode = static_cast<std::uint8_t>(position - 10);
    }
    return m;
}

std::uint64_t Bits(std::initializer_list<int> banks) {
    std::uint64_t v = 0;
    for (int b : banks) v |= std::uint64_t{1} << b;
    return v;
}

// Small deterministic generator for the full image.
struct Lcg {
    std::uint64_t s;
    explicit Lcg(std::uint64_t seed) : s(seed * 6364136223846793005ULL + 1442695040888963407ULL) {}
    int Next(int n) {  // 0..n-1
        s = s * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<int>((s >> 33) % static_cast<std::uint64_t>(n));
    }
};

struct DemoChannel {
    int bank, ch;
    double mhz;
    int modePos;
    const char* title;
    int step;
    int offset = 0;
    int sqlType = 0;
    int ctcss = 0;
    int dcs = 0;
    int autoBand = 0;
    int protect = 0;
    int pass = 0;
};

void PutChannel(Memory& m, const DemoChannel& d) {
    Channel& c = m.channels[d.bank][d.ch];
    c = Channel{};
    c.used = true;
    c.RxFreq = static_cast<std::int64_t>(d.mhz * 1e6 + 0.5) / 10 * 10;
    c.StepFreq = d.step;
    c.mode = ModeAt(d.modePos);
    c.Title = ChannelTitle(d.title);
    c.MemFlag_ProtectFlag = static_cast<std::uint8_t>(d.protect);
    c.MemFlag_Pass = static_cast<std::uint8_t>(d.pass);
    c.p.IFBW = static_cast<std::uint8_t>(DefaultIfbw(c.mode.Dem_DModeEnable, c.mode.AMode));
    c.p.OffsetFreq = static_cast<std::int16_t>(d.offset);
    c.p.Dem_SQL_Type = static_cast<std::uint8_t>(d.sqlType);
    c.p.CTCSS_CODE = static_cast<std::uint8_t>(d.ctcss);
    c.p.DCS_CODE = static_cast<std::uint8_t>(d.dcs);
    c.p.Dem_AutoBand = static_cast<std::uint8_t>(d.autoBand);
    c.p.Dem_DENOIS = 1;
}

}  // namespace

std::uint8_t DModeFromCodeDigit(int digit) { return kDModeOfDigit[digit]; }

int CodeDigitFromDMode(std::uint8_t dmode) {
    for (int d = 0; d < 10; ++d)
        if (kDModeOfDigit[d] == dmode) return d;
    return 0;
}

int DcsCodeAt(int listIndex) { return kDcsCodes[listIndex - 2]; }

std::string_view ModeName(bool digital, std::uint8_t dmode, std::uint8_t amode) {
    if (digital) return dmode < 10 ? kModeNames[dmode] : "?";
    return amode < 7 ? kModeNames[10 + amode] : "?";
}

bool ModeFromName(std::string_view name, std::uint8_t& dmodeEnable, std::uint8_t& dmode,
                  std::uint8_t& amode) {
    for (int i = 0; i < 17; ++i) {
        if (kModeNames[i] != name) continue;
        const Mode m = ModeAt(i);
        dmodeEnable = m.Dem_DModeEnable;
        dmode = m.DMode;
        amode = m.AMode;
        return true;
    }
    return false;
}

int MaxIfbw(std::uint8_t amode) {
    if (amode == 1) return 3;
    if (amode >= 2) return 1;
    return 4;
}

int DefaultIfbw(bool digital, std::uint8_t amode) {
    if (digital) return 4;
    if (amode == 0) return 3;
    if (amode == 1) return 1;
    return 0;
}

std::string ChannelTitle(std::string_view text) {
    std::string r(text.substr(0, kTitleWidth));
    r.resize(kTitleWidth, ' ');
    return r;
}

std::string BankTitle(std::string_view text) {
    std::string r(text.substr(0, kBankTitleWidth));
    r.resize(kBankTitleWidth, ' ');
    return r;
}

Memory EmptyMemory(int region) {
    Memory m;
    m.Region = region;
    for (int i = 0; i < 20; ++i) m.offsets[20 + i] = kFixedOffsets[i];
    return m;
}

Memory DemoMemory(int region) {
    Memory m = EmptyMemory(region);
    m.offsets[1] = 600000;
    m.offsets[2] = 5000000;
    m.offsets[3] = 7600000;
    m.offsets[4] = 1600000;
    m.offsets[5] = 12000000;

    // Analog positions: FM 10, AM 11, SAH 12, SAL 13, USB 14, LSB 15, CW 16.
    const DemoChannel channels[] = {
        {0, 0, 146.940, 10, "W1AW Rptr", 5000, -1, 1, 15},
        {0, 1, 147.195, 10, "Hilltop Rpt", 5000, 1, 1, 22},
        {0, 2, 145.230, 10, "Valley DCS", 5000, -1, 2, 0, 3},
        {0, 3, 444.100, 10, "UHF Link", 12500, 2, 1, 24},
        {0, 4, 442.650, 10, "ARES Net", 12500, 2, 1, 16, 0, 0, 1},
        {0, 5, 146.520, 10, "2m Calling", 5000},
        {0, 6, 446.000, 10, "70cm Simplex", 12500},
        {0, 7, 145.500, 10, "Tone Search", 12500, 0, 1, 1},
        {1, 0, 121.500, 11, "Guard", 8330, 0, 0, 0, 0, 0, 1},
        {1, 1, 118.300, 11, "Tower", 25000},
        {1, 2, 121.900, 11, "Ground", 25000},
        {1, 3, 124.350, 11, "Approach", 25000},
        {1, 4, 127.850, 11, "ATIS", 25000},
        {1, 5, 132.005, 11, "Center 8.33", 8330},
        {1, 6, 135.250, 11, "Center Hi", 25000},
        {1, 7, 122.800, 11, "Unicom", 25000, 0, 0, 0, 0, 0, 0, 1},
        {2, 0, 156.800, 10, "Ch16 Distrs", 25000, 0, 0, 0, 0, 0, 1},
        {2, 1, 156.450, 10, "Ch09 Call", 25000},
        {2, 2, 156.650, 10, "Ch13 Bridge", 25000},
        {2, 3, 157.100, 10, "Ch22A USCG", 25000},
        {2, 4, 156.300, 10, "Ch06 Safety", 25000},
        {2, 5, 161.975, 10, "AIS 1", 25000, 0, 0, 0, 0, 1},
        {3, 0, 441.000, 2, "DMR TG91", 12500},
        {3, 1, 851.0125, 5, "P25 County", 12500},
        {3, 2, 145.670, 0, "D-STAR Rpt", 5000},
        {3, 3, 439.200, 1, "C4FM Node", 12500},
        {3, 4, 451.1875, 3, "NXDN Biz", 6250},
        {3, 5, 446.10625, 4, "dPMR446", 6250},
        {3, 6, 380.0125, 8, "TETRA", 12500},
        {3, 7, 462.5625, 9, "Auto Dig", 12500},
        {3, 8, 152.8625, 6, "ALINCO EJ", 6250},
        {3, 9, 160.500, 7, "Rail T-DM", 12500},
        {4, 0, 7.200, 15, "40m LSB", 100},
        {4, 1, 14.230, 14, "20m SSTV", 100},
        {4, 2, 10.000, 11, "WWV 10MHz", 5000},
        {4, 3, 3.560, 16, "80m CW", 50},
        {4, 4, 9.580, 11, "SW Radio", 5000},
        {4, 5, 0.810, 11, "AM 810", 10000},
        {4, 6, 27.185, 11, "CB Ch19", 10000},
        {4, 7, 5.000, 12, "WWV SAH", 1000},
        {4, 8, 4.625, 13, "UVB-76 SAL", 1000},
        {5, 0, 446.00625, 10, "PMR446 Ch1", 6250},
        {5, 1, 462.5625, 10, "FRS 1", 12500},
        {5, 2, 467.5625, 10, "FRS 8", 12500},
        {6, 0, 162.400, 10, "NOAA WX1", 25000, 0, 0, 0, 0, 1},
        {6, 1, 162.475, 10, "NOAA WX3", 25000, 0, 0, 0, 0, 1},
        {6, 2, 162.550, 10, "NOAA WX2", 25000, 0, 0, 0, 0, 1},
    };
    for (const auto& d : channels) PutChannel(m, d);

    // Digital and analog details that a real image would carry.
    auto& air = m.channels[1];
    for (int c = 0; c < 8; ++c) air[c].p.RF_AGC = 1;
    m.channels[4][0].p.IFBW = 1;
    m.channels[4][3].p.IFBW = 1;
    auto& dig = m.channels[3];
    dig[0].p.DMR_ColorCode = 1;
    dig[0].p.DMR_ColorCodeMute = 1;
    dig[0].p.Dem_DMR_Slot = 2;
    dig[0].p.Dem_DigiDecode = 1;
    dig[1].p.P25_NACCode = 0x293;
    dig[1].p.P25_NACCodeMute = 1;
    dig[1].p.IFBW = 3;
    dig[2].p.IFBW = 3;
    dig[4].p.NXDN_RANCode = 5;
    dig[4].p.NXDN_RANCodeMute = 1;
    dig[4].p.DCR_CODE = 1234;
    dig[4].p.DCR_WHITE = 17;
    dig[6].p.RF_TETRA_Slot = 1;
    dig[6].p.IFBW = 2;
    dig[7].p.IFBW = 3;
    dig[9].p.IFBW = 2;
    m.channels[0][6].p.VoiceSCR = 329;
    m.channels[0][6].p.Dem_SQL_Type = 3;
    m.channels[0][0].p.RF_ATT = 2;
    m.channels[4][2].p.RF_ATT = 0;
    m.channels[0][3].p.RF_SQ_N_L_Type = 2;
    m.channels[2][0].p.RF_SQ_N_L_Type = 1;
    m.channels[0][1].p.Dem_SQL_Type = 4;  // reverse tone

    const char* bankTitles[] = {"FM Repeater", "Airband", "Marine VHF", "Digital",
                                "HF Bands",    "PMR/FRS", "Weather"};
    for (int b = 0; b < 7; ++b) m.bankHeaders[b].Title = BankTitle(bankTitles[b]);
    m.bankHeaders[1].MemBankFlag_ProtectFlag = 1;

    struct DemoSearch {
        int bank;
        double low, high;
        int step, adj, modePos;
        const char* title;
    };
    const DemoSearch searches[] = {
        {0, 118.000, 136.99166, 8330, 0, 11, "Airband"},
        {1, 144.000, 148.000, 5000, 0, 10, "2m Amateur"},
        {2, 420.000, 450.000, 12500, 0, 10, "70cm Amateur"},
        {3, 156.000, 162.025, 25000, 0, 10, "Marine"},
        {4, 26.965, 27.405, 10000, 0, 11, "CB 27MHz"},
        {5, 446.000, 446.200, 12500, 6250, 10, "PMR446"},
        {6, 450.000, 470.000, 12500, 0, 2, "UHF DMR"},
        {7, 851.000, 869.000, 12500, 0, 5, "Public Svc"},
    };
    for (const auto& d : searches) {
        SearchBank& s = m.searchBanks[d.bank];
        s.used = true;
        s.LowFreq = static_cast<std::int64_t>(d.low * 1e6 + 0.5) / 10 * 10;
        s.HighFreq = static_cast<std::int64_t>(d.high * 1e6 + 0.5) / 10 * 10;
        s.StepFreq = d.step;
        s.AdjFreq = d.adj;
        s.mode = ModeAt(d.modePos);
        s.Title = ChannelTitle(d.title);
        s.p.IFBW = static_cast<std::uint8_t>(DefaultIfbw(s.mode.Dem_DModeEnable, s.mode.AMode));
        s.p.Dem_DENOIS = 1;
    }
    m.searchBanks[0].p.RF_AGC = 1;
    m.searchBanks[4].p.RF_AGC = 2;
    m.searchBanks[1].p.OffsetFreq = 0;
    m.searchBanks[2].p.OffsetFreq = 2;
    m.searchBanks[5].Flags_ProtectFlag = 1;
    m.searchBanks[5].p.Dem_AutoBand = 1;
    m.searchBanks[6].p.DMR_ColorCode = 3;
    m.searchBanks[7].p.P25_NACCode = 0x1A3;

    m.scanGroups[0] = {Bits({0, 1, 2}), 20, 10, 0};
    m.scanGroups[1] = {Bits({3}), 100, 0, 0};
    m.scanGroups[2] = {Bits({4, 5, 6}), 5, 60, 0};
    m.searchGroups[0] = {Bits({0, 1}), 20, 5, 1};
    m.searchGroups[1] = {Bits({2, 3, 4}), 0, 0, 0};
    m.searchGroups[2] = {Bits({6, 7}), 100, 30, 0};
    m.searchLink = Bits({0, 1, 5});
    return m;
}

namespace {

Params FullParams(Lcg& r, const Mode& mode) {
    Params p;
    p.Dem_AutoBand = static_cast<std::uint8_t>(r.Next(4) == 0);
    p.IFBW = static_cast<std::uint8_t>(p.Dem_AutoBand
                                           ? DefaultIfbw(mode.Dem_DModeEnable, mode.AMode)
                                           : r.Next(MaxIfbw(mode.AMode) + 1));
    p.OffsetFreq = static_cast<std::int16_t>(r.Next(79) - 39);
    p.VoiceSCR = static_cast<std::uint16_t>(200 + r.Next(501));
    p.DCR_CODE = static_cast<std::uint16_t>(r.Next(32768));
    p.DCR_WHITE = static_cast<std::uint16_t>(r.Next(512));
    p.RF_SQ_N_L_Type = static_cast<std::uint8_t>(r.Next(3));
    p.RF_AGC = static_cast<std::uint8_t>(mode.AMode == 0 ? 0 : r.Next(4));
    p.RF_TETRA_Slot = static_cast<std::uint8_t>(r.Next(4));
    p.RF_ATT = static_cast<std::uint8_t>(r.Next(3));
    p.Dem_DENOIS = static_cast<std::uint8_t>(r.Next(4));
    p.Dem_SQL_Type = static_cast<std::uint8_t>(r.Next(5));
    p.Dem_DigiDecode = static_cast<std::uint8_t>(r.Next(2));
    p.Dem_DMR_Slot = static_cast<std::uint8_t>(r.Next(4));
    p.P25_NACCode = static_cast<std::uint16_t>(r.Next(4096));
    p.P25_NACCodeMute = static_cast<std::uint8_t>(r.Next(2));
    p.CTCSS_CODE = static_cast<std::uint8_t>(r.Next(54));
    p.DCS_CODE = static_cast<std::uint8_t>(r.Next(108));
    p.DMR_ColorCode = static_cast<std::uint8_t>(r.Next(17));
    p.DMR_ColorCodeMute = static_cast<std::uint8_t>(r.Next(2));
    p.NXDN_RANCode = static_cast<std::uint8_t>(r.Next(65));
    p.NXDN_RANCodeMute = static_cast<std::uint8_t>(r.Next(2));
    return p;
}

// Titles use every printable ASCII character but never the letters "AU" in a row, which a
// summary line without its "AU" field would make ambiguous.
std::string FullTitle(Lcg& r, const char* tag, int a, int b) {
    static constexpr std::string_view kChars =
        " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`abcdefghijklmnopqrstuvwxyz{|}~";
    char head[32];
    std::snprintf(head, sizeof head, "%s%02d-%02d ", tag, a, b);
    std::string t = head;
    while (t.size() < kTitleWidth) {
        char c = kChars[r.Next(static_cast<int>(kChars.size()))];
        if (c == 'U' && t.back() == 'A') c = 'u';
        t.push_back(c);
    }
    return t;
}

constexpr std::int32_t kFullSteps[] = {10,    50,    100,   500,   1000,  2000,  5000,
                                       6250,  7500,  8330,  9000,  10000, 12500, 15000,
                                       20000, 25000, 30000, 50000, 100000, 500000};

}  // namespace

Memory FullMemory(int region) {
    Memory m = EmptyMemory(region);
    Lcg r(20240611);
    const std::int64_t span = kMaxFreq - kMinFreq;
    const int last = kBanks * kChannels - 1;
    for (int b = 0; b < kBanks; ++b) {
        m.bankHeaders[b].Title = BankTitle("Bank " + std::to_string(b) + " full");
        m.bankHeaders[b].MemBankFlag_ProtectFlag = static_cast<std::uint8_t>(b % 7 == 3);
        for (int c = 0; c < kChannels; ++c) {
            const int i = b * kChannels + c;
            Channel& ch = m.channels[b][c];
            ch.used = true;
            // Spread over the whole range, both edges included, at 10 Hz resolution.
            ch.RxFreq = kMinFreq + (span * i / last) / 10 * 10 + (i == 0 || i == last ? 0 : 10 * r.Next(90));
            ch.mode = ModeAt(i % 17);
            ch.MemFlag_Pass = static_cast<std::uint8_t>(r.Next(2));
            ch.MemFlag_ProtectFlag = static_cast<std::uint8_t>(r.Next(2));
            ch.Title = FullTitle(r, "M", b, c);
            ch.p = FullParams(r, ch.mode);
        }
    }
    for (int s = 0; s < kSearchBanks; ++s) {
        SearchBank& sb = m.searchBanks[s];
        sb.used = true;
        sb.LowFreq = kMinFreq + span / kSearchBanks * s / 10 * 10;
        sb.HighFreq = s == kSearchBanks - 1 ? kMaxFreq : sb.LowFreq + 10 * (1 + r.Next(5000000));
        sb.StepFreq = kFullSteps[s % 20];
        sb.AdjFreq = r.Next(2) ? sb.StepFreq / 2 / 10 * 10 : 0;
        sb.mode = ModeAt((s * 5) % 17);
        sb.Flags_ProtectFlag = static_cast<std::uint8_t>(r.Next(2));
        sb.Title = FullTitle(r, "S", s, 0);
        sb.p = FullParams(r, sb.mode);
    }
    for (int g = 0; g < kGroups; ++g) {
        for (auto* grp : {&m.scanGroups[g], &m.searchGroups[g]}) {
            grp->Link = 0;
            while (grp->Link == 0)
                for (int k = 0; k < 40; ++k)
                    if (r.Next(5) == 0) grp->Link |= std::uint64_t{1} << k;
            grp->Delay = static_cast<std::uint8_t>(g == 0 ? 100 : r.Next(101));
            grp->Free = static_cast<std::uint8_t>(g == 0 ? 60 : r.Next(61));
        }
        m.searchGroups[g].GrpFlag_AutoStore = static_cast<std::uint8_t>(g % 2);
    }
    m.scanGroups[9].Link = (std::uint64_t{1} << 40) - 1;
    for (int o = 1; o < 20; ++o) m.offsets[o] = 10 * (1 + r.Next(99999999));
    m.searchLink = Bits({0, 7, 19, 39});
    return m;
}

}  // namespace sim
