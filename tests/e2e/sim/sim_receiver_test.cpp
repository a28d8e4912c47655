// The receiver state machine without a pseudo-terminal: answer formats, writes read back,
// refusals that leave the memory alone, and the fault layer.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "SimJson.h"
#include "SimLink.h"
#include "SimOptions.h"
#include "SimReceiver.h"
#include "SimText.h"

using namespace sim;

namespace {

// A small receiver: one DMR channel with every setting away from its default, one AM
// channel, one search bank, a bank header, groups, the link list and two offsets.
Memory Fixture() {
    Memory m = EmptyMemory(1);
    Channel& c = m.channels[0][3];
    c.used = true;
    c.MemFlag_Pass = 1;
    c.MemFlag_ProtectFlag = 1;
    c.RxFreq = 154443750;
    c.StepFreq = 12500;
    c.AdjFreq = 6250;
    c.mode = {1, 2, 0};  // DMR
    c.Title = ChannelTitle("DMR Test");
    c.p.Dem_AutoBand = 1;
    c.p.OffsetFreq = -5;
    c.p.VoiceSCR = 329;
    c.p.DCR_CODE = 1234;
    c.p.DCR_WHITE = 17;
    c.p.RF_SQ_N_L_Type = 2;
    c.p.RF_AGC = 3;
    c.p.RF_TETRA_Slot = 2;
    c.p.RF_ATT = 0;
    c.p.Dem_DENOIS = 3;
    c.p.Dem_SQL_Type = 2;  // DCS
    c.p.Dem_DigiDecode = 1;
    c.p.Dem_DMR_Slot = 3;
    c.p.P25_NACCode = 419;
    c.p.P25_NACCodeMute = 1;
    c.p.IFBW = 4;
    c.p.CTCSS_CODE = 53;
    c.p.DCS_CODE = 3;
    c.p.DMR_ColorCode = 16;
    c.p.DMR_ColorCodeMute = 1;
    c.p.NXDN_RANCode = 64;
    c.p.NXDN_RANCodeMute = 1;

    Channel& am = m.channels[39][49];
    am.used = true;
    am.RxFreq = 3000000000;
    am.StepFreq = 8330;
    am.mode = {0, 0, 1};
    am.Title = ChannelTitle("Tower");
    am.p.IFBW = 1;
    am.p.OffsetFreq = 5;
    am.p.CTCSS_CODE = 1;
    am.p.DCS_CODE = 1;
    am.p.Dem_SQL_Type = 4;  // reverse tone

    m.bankHeaders[2] = {1, BankTitle("Bank Two")};

    SearchBank& s = m.searchBanks[7];
    s.used = true;
    s.LowFreq = 100000;
    s.HighFreq = 3000000000;
    s.StepFreq = 8330;
    s.AdjFreq = 0;
    s.mode = {0, 0, 3};  // SAL
    s.Flags_ProtectFlag = 1;
    s.Title = ChannelTitle("Wide open");
    s.p.IFBW = 1;

    m.scanGroups[0] = {(1ULL << 0) | (1ULL << 1) | (1ULL << 2), 20, 10, 0};
    m.scanGroups[9] = {0, 100, 60, 0};
    m.searchGroups[4] = {(1ULL << 0) | (1ULL << 5), 20, 10, 1};
    m.searchLink = (1ULL << 0) | (1ULL << 1) | (1ULL << 5);
    m.offsets[1] = 600000;
    return m;
}

std::string Ask(Receiver& r, const std::string& command) {
    const auto lines = r.Handle(command);
    EXPECT_EQ(lines.size(), 1u) << command;
    return lines.empty() ? std::string() : lines.front();
}

struct AnswerCase {
    const char* name;
    std::vector<std::string> before;  // commands sent first (answers not checked)
    std::string command;
    std::string answer;
};

class AnswerFormat : public testing::TestWithParam<AnswerCase> {};

TEST_P(AnswerFormat, AnswersInTheReceiversFormat) {
    Receiver r(Fixture());
    for (const auto& c : GetParam().before) r.Handle(c);
    EXPECT_EQ(Ask(r, GetParam().command), GetParam().answer);
}

const std::vector<std::string> kRecallDmr = {"MR0003"};
const std::vector<std::string> kRecallAm = {"MR3949"};
const std::vector<std::string> kSelectSearch = {"SS07"};

INSTANTIATE_TEST_SUITE_P(
    Sim, AnswerFormat,
    testing::Values(
        AnswerCase{"Region", {}, "AZ", "AZ1"},
        AnswerCase{"EmptyChannel", {}, "MA0512", "MX0512 ---"},
        AnswerCase{"Channel", {}, "MA0003",
                   "MX0003 MP1 RF0154.44375 ST012.50 SH006.25 MD070 AU1 PT1 TTDMR Test    "},
        AnswerCase{"ChannelTopEdge", {}, "MA3949",
                   "MX3949 MP0 RF3000.00000 ST008.33 SH000.00 MD0F1 AU0 PT0 TTTower       "},
        AnswerCase{"BankHeader", {}, "MW02", "MW02 PT1 TTBank Two   "},
        AnswerCase{"BlankBankHeader", {}, "MW39", "MW39 PT0 TT           "},
        AnswerCase{"RecallAcknowledged", {}, "MR0003", " "},
        AnswerCase{"ReceiveStateChannel", kRecallDmr, "RX", "RX MR0003"},
        AnswerCase{"ReceiveStateSearch", kSelectSearch, "RX", "RX SR07"},
        AnswerCase{"ReceiveStateNothing", {}, "RX", "RX VFO"},
        AnswerCase{"AutoBand", kRecallDmr, "AU", "AU1"},
        AnswerCase{"Ifbw", kRecallDmr, "IF", "IF4"},
        AnswerCase{"Att", kRecallDmr, "AT", "AT0"},
        AnswerCase{"OffsetMinus", kRecallDmr, "OF", "OF-05"},
        AnswerCase{"OffsetPlus", kRecallAm, "OF", "OF+05"},
        AnswerCase{"Squelch", kRecallDmr, "SQ", "SQ2"},
        AnswerCase{"NoiseReduction", kRecallDmr, "NR", "NR3"},
        AnswerCase{"Agc", kRecallDmr, "AC", "AC3"},
        AnswerCase{"CtcssOffForDcs", kRecallDmr, "CI", "CI0"},
        AnswerCase{"ScramblerOffForDcs", kRecallDmr, "SI", "SI0"},
        AnswerCase{"DcsOn", kRecallDmr, "DI", "DI1"},
        AnswerCase{"ReverseTone", kRecallAm, "CI", "CI2"},
        AnswerCase{"LastTone", kRecallDmr, "CN", "CN52"},
        AnswerCase{"ToneSearch", kRecallAm, "CN", "CN99"},
        AnswerCase{"VoiceScrambler", kRecallDmr, "SC", "SC329"},
        AnswerCase{"DcsCode", kRecallDmr, "DS", "DS023"},
        AnswerCase{"DcsSearch", kRecallAm, "DS", "DS999"},
        AnswerCase{"DigitalDecode", kRecallDmr, "DJ", "DJ1"},
        AnswerCase{"DcrCode", kRecallDmr, "DC", "DC01234"},
        AnswerCase{"DcrWhite", kRecallDmr, "DW", "DW017"},
        AnswerCase{"RanMute", kRecallDmr, "NM", "NM1"},
        AnswerCase{"Ran", kRecallDmr, "NC", "NC64"},
        AnswerCase{"DmrSlot", kRecallDmr, "OT", "OT3"},
        AnswerCase{"ColorMute", kRecallDmr, "CM", "CM1"},
        AnswerCase{"ColorCode", kRecallDmr, "CC", "CC16"},
        AnswerCase{"NacMute", kRecallDmr, "PM", "PM1"},
        AnswerCase{"NacHex", kRecallDmr, "PC", "PC1A3"},
        AnswerCase{"TetraSlot", kRecallDmr, "TS", "TS2"},
        AnswerCase{"SearchBankParameter", kSelectSearch, "IF", "IF1"},
        AnswerCase{"OffsetEntry", {}, "OL01", "OL01 RF0000.60000"},
        AnswerCase{"FixedOffsetEntry", {}, "OL39", "OL39 RF0130.00000"},
        AnswerCase{"SearchSummary", {}, "SR07",
                   "SE07 SL0000.10000 SU3000.00000 ST008.33 SH000.00 MD0F3 AU0 PT1 TTWide open   "},
        AnswerCase{"EmptySearchBank", {}, "SR05", "SE05 ---"},
        AnswerCase{"LinkList", {}, "BK", "BK000105"},
        AnswerCase{"ScanGroup", {}, "MG0", "MG00 DL020 FR10 BK000102"},
        AnswerCase{"ScanGroupNoLink", {}, "MG9", "MG09 DL100 FR60 BK99"},
        AnswerCase{"SearchGroup", {}, "SG4", "SG04 DL020 FR10 AS1 BK0005"},
        AnswerCase{"EmptyCommand", {}, "", "?"},
        AnswerCase{"Unknown", {}, "ZZ", "?"},
        AnswerCase{"Exit", {}, "EX", " "},
        AnswerCase{"WriteModeOn", {}, "IX1", " "}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimReceiver, OmitsTheAuFieldWhenAsked) {
    ReceiverOptions o;
    o.auField = false;
    Receiver r(Fixture(), o);
    EXPECT_EQ(Ask(r, "MA0003"), "MX0003 MP1 RF0154.44375 ST012.50 SH006.25 MD070 PT1 TTDMR Test    ");
    EXPECT_EQ(Ask(r, "SR07"), "SE07 SL0000.10000 SU3000.00000 ST008.33 SH000.00 MD0F3 PT1 TTWide open   ");
    r.Handle("MR0003");
    EXPECT_EQ(Ask(r, "AU"), "AU1");  // still answered on its own
}

struct WriteCase {
    const char* name;
    std::vector<std::string> writes;  // each must be acknowledged
    std::string query;
    std::string answer;
};

class WriteThenRead : public testing::TestWithParam<WriteCase> {};

TEST_P(WriteThenRead, ReadingBackGivesWhatWasWritten) {
    Receiver r(Fixture());
    for (const auto& w : GetParam().writes) EXPECT_EQ(Ask(r, w), " ") << w;
    EXPECT_EQ(Ask(r, GetParam().query), GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, WriteThenRead,
    testing::Values(
        WriteCase{"NewChannel", {"IX1", "MX0512 MP1 RF145.0 MD0F0 AU0 PT1 TTHello", "IX0"}, "MA0512",
                  "MX0512 MP1 RF0145.00000 ST010.00 SH000.00 MD0F0 AU0 PT1 TTHello       "},
        WriteCase{"HertzCutTo10Hz", {"MX0512 MP0 RF145.123456 MD070 AU1 PT0 TTabcdefghijklmn"}, "MA0512",
                  "MX0512 MP0 RF0145.12345 ST010.00 SH000.00 MD070 AU1 PT0 TTabcdefghijkl"},
        WriteCase{"OverwriteKeepsStep", {"MX0003 MP0 RF0.1 MD0F6 AU0 PT0 TT  AU TT MP  "}, "MA0003",
                  "MX0003 MP0 RF0000.10000 ST012.50 SH006.25 MD0F6 AU0 PT0 TT  AU TT MP  "},
        WriteCase{"Delete", {"MQ0003"}, "MA0003", "MX0003 ---"},
        WriteCase{"ToneIndexToNumber", {"MR3949", "CN2"}, "CN", "CN01"},
        WriteCase{"ToneOff", {"MR3949", "CN0"}, "CN", "CN00"},
        WriteCase{"DcsIndexToCode", {"MR3949", "DS107"}, "DS", "DS754"},
        WriteCase{"NacDecimalToHex", {"MR3949", "PC659"}, "PC", "PC293"},
        WriteCase{"OffsetPlusSign", {"MR3949", "OF+12"}, "OF", "OF+12"},
        WriteCase{"OffsetZeroWithoutSign", {"MR0003", "OF0"}, "OF", "OF+00"},
        WriteCase{"OffsetMinus", {"MR3949", "OF-39"}, "OF", "OF-39"},
        WriteCase{"IfWithinAmList", {"MR3949", "IF3"}, "IF", "IF3"},
        WriteCase{"ScramblerTop", {"MR0003", "SC700"}, "SC", "SC700"},
        WriteCase{"DcrTop", {"MR0003", "DC32767"}, "DC", "DC32767"},
        WriteCase{"NewSearchBank", {"SE05 SL118.0 SU136.99166 ST8.333 SH4.166 MD0F1 AU1 PT0 TTAir"}, "SR05",
                  "SE05 SL0118.00000 SU0136.99166 ST008.33 SH004.16 MD0F1 AU1 PT0 TTAir         "},
        WriteCase{"SearchBankParameter", {"SS07", "NR2"}, "NR", "NR2"},
        WriteCase{"SearchBankDeleted", {"SX07"}, "SR07", "SE07 ---"},
        WriteCase{"LinkListSet", {"BK0039"}, "BK", "BK0039"},
        WriteCase{"LinkListCleared", {"BK99"}, "BK", "BK99"},
        WriteCase{"ScanGroupWrite", {"MG3 DL007 FR05 BK0039"}, "MG3", "MG03 DL007 FR05 BK0039"},
        WriteCase{"ScanGroupUnlinked", {"MG0 DL100 FR00 BK99"}, "MG0", "MG00 DL100 FR00 BK99"},
        WriteCase{"SearchGroupWrite", {"SG1 DL000 FR60 AS1 BK99"}, "SG1", "SG01 DL000 FR60 AS1 BK99"},
        WriteCase{"OffsetEntryWrite", {"OL01 RF0.1"}, "OL01", "OL01 RF0000.10000"},
        WriteCase{"OffsetEntryTop", {"OL19 RF999.999999"}, "OL19", "OL19 RF0999.99999"}),
    [](const auto& info) { return std::string(info.param.name); });

// Set commands give back each tone squelch type through "CI", "SI" and "DI", whatever the
// type was before.
TEST(SimReceiver, ToneSquelchTypeFollowsItsThreeSetCommands) {
    struct Case {
        int ci, si, di;
        std::uint8_t type;
    };
    const Case cases[] = {{0, 0, 0, 0}, {1, 0, 0, 1}, {0, 0, 1, 2}, {0, 1, 0, 3}, {2, 0, 0, 4}};
    for (const auto& from : cases) {
        for (const auto& to : cases) {
            Receiver r(Fixture());
            r.memory().channels[0][3].p.Dem_SQL_Type = from.type;
            r.Handle("MR0003");
            for (auto cmd : {"CI" + std::to_string(to.ci), "SI" + std::to_string(to.si), "DI" + std::to_string(to.di)})
                ASSERT_EQ(Ask(r, cmd), " ");
            EXPECT_EQ(r.memory().channels[0][3].p.Dem_SQL_Type, to.type) << int(from.type) << "->" << int(to.type);
            EXPECT_EQ(Ask(r, "CI"), "CI" + std::to_string(to.ci));
            EXPECT_EQ(Ask(r, "SI"), "SI" + std::to_string(to.si));
            EXPECT_EQ(Ask(r, "DI"), "DI" + std::to_string(to.di));
        }
    }
}

struct RefusalCase {
    const char* name;
    std::vector<std::string> before;
    std::string command;
};

class Refusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(Refusal, RefusesAndChangesNothing) {
    Receiver r(Fixture());
    for (const auto& c : GetParam().before) r.Handle(c);
    const Memory before = r.memory();
    EXPECT_EQ(Ask(r, GetParam().command), "?");
    EXPECT_TRUE(r.memory() == before);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, Refusal,
    testing::Values(
        RefusalCase{"BankOutOfRange", {}, "MA4000"},
        RefusalCase{"ChannelOutOfRange", {}, "MA0050"},
        RefusalCase{"ChannelNotTwoDigits", {}, "MA005"},
        RefusalCase{"TrailingText", {}, "AZ0"},
        RefusalCase{"FrequencyTooHigh", {}, "MX0000 MP0 RF3000.00001 MD0F0 AU0 PT0 TTx"},
        RefusalCase{"OneHertzTooHigh", {}, "MX0000 MP0 RF3000.000001 MD0F0 AU0 PT0 TTx"},
        RefusalCase{"FrequencyTooLow", {}, "MX0000 MP0 RF0.09999 MD0F0 AU0 PT0 TTx"},
        RefusalCase{"UnknownAnalogMode", {}, "MX0000 MP0 RF145.0 MD0F7 AU0 PT0 TTx"},
        RefusalCase{"BadModeDigit", {}, "MX0000 MP0 RF145.0 MDx70 AU0 PT0 TTx"},
        RefusalCase{"MissingTitle", {}, "MX0000 MP0 RF145.0 MD0F0 AU0 PT0"},
        RefusalCase{"MissingProtect", {}, "MX0000 MP0 RF145.0 MD0F0 AU0 TTx"},
        RefusalCase{"PassNotAFlag", {}, "MX0000 MP2 RF145.0 MD0F0 AU0 PT0 TTx"},
        RefusalCase{"DoubledBlank", {}, "MX0000 MP0  RF145.0 MD0F0 AU0 PT0 TTx"},
        RefusalCase{"TetraSlotFour", kRecallDmr, "TS4"},
        RefusalCase{"IfBeyondAmList", kRecallAm, "IF4"},
        RefusalCase{"ToneIndexPastList", kRecallDmr, "CN54"},
        RefusalCase{"DcsIndexPastList", kRecallDmr, "DS108"},
        RefusalCase{"NacTooBig", kRecallDmr, "PC4096"},
        RefusalCase{"NacInHex", kRecallDmr, "PC1A3"},
        RefusalCase{"OffsetIndexTooBig", kRecallDmr, "OF+40"},
        RefusalCase{"ScramblerTooLow", kRecallDmr, "SC199"},
        RefusalCase{"ColorCodeTooBig", kRecallDmr, "CC17"},
        RefusalCase{"SignedFlag", kRecallDmr, "DJ+1"},
        RefusalCase{"ParameterWithoutRecall", {}, "NR1"},
        RefusalCase{"QueryWithoutRecall", {}, "NR"},
        RefusalCase{"RecallOfEmptyChannel", {"MR0003", "MR0004"}, "NR1"},
        RefusalCase{"AfterDeletingRecalled", {"MR0003", "MQ0003"}, "NR"},
        RefusalCase{"SelectEmptySearchBank", {"SS07", "SS06"}, "NR1"},
        RefusalCase{"FixedOffsetEntry", {}, "OL20 RF1.0"},
        RefusalCase{"OffsetEntryZero", {}, "OL00 RF1.0"},
        RefusalCase{"OffsetTooBig", {}, "OL01 RF1000.0"},
        RefusalCase{"SearchEdgeTooLow", {}, "SE05 SL0.0 SU1.0 ST1.0 SH0.0 MD0F0 AU0 PT0 TTx"},
        RefusalCase{"SearchWithoutStep", {}, "SE05 SL1.0 SU2.0 SH0.0 MD0F0 AU0 PT0 TTx"},
        RefusalCase{"StepTooBig", {}, "SE05 SL1.0 SU2.0 ST1000.0 SH0.0 MD0F0 AU0 PT0 TTx"},
        RefusalCase{"SearchBankOutOfRange", {}, "SR40"},
        RefusalCase{"LinkPastLastBank", {}, "BK0040"},
        RefusalCase{"LinkOddLength", {}, "BK001"},
        RefusalCase{"DelayTooLong", {}, "MG3 DL101 FR00 BK99"},
        RefusalCase{"FreeTooLong", {}, "MG3 DL000 FR61 BK99"},
        RefusalCase{"ScanGroupWithoutList", {}, "MG3 DL000 FR00"},
        RefusalCase{"ScanGroupWithStoreFlag", {}, "MG3 DL000 FR00 AS1 BK99"},
        RefusalCase{"SearchGroupStoreNotFlag", {}, "SG3 DL000 FR00 AS2 BK99"},
        RefusalCase{"SearchGroupWithoutStore", {}, "SG3 DL000 FR00 BK99"},
        RefusalCase{"GroupOutOfRange", {}, "MG10"}),
    [](const auto& info) { return std::string(info.param.name); });

// The program's write forms, built here from a memory image the way its write operations
// build them; replaying them into an empty receiver must reproduce the full image.
std::vector<std::string> WriteCommands(const Memory& m) {
    auto detail = [](const Params& p, const Mode& mode, std::vector<std::string>& out) {
        if (!p.Dem_AutoBand) out.push_back("IF" + std::to_string(p.IFBW));
        out.push_back("AT" + std::to_string(p.RF_ATT));
        out.push_back("OF" + std::string(p.OffsetFreq > 0 ? "+" : "") + std::to_string(p.OffsetFreq));
        out.push_back("SQ" + std::to_string(p.RF_SQ_N_L_Type));
        out.push_back("NR" + std::to_string(p.Dem_DENOIS));
        if (mode.AMode != 0) out.push_back("AC" + std::to_string(p.RF_AGC));
        const int t = p.Dem_SQL_Type;
        out.push_back(std::string("CI") + (t == 1 ? "1" : t == 4 ? "2" : "0"));
        out.push_back(std::string("SI") + (t == 3 ? "1" : "0"));
        out.push_back(std::string("DI") + (t == 2 ? "1" : "0"));
        out.push_back("CN" + std::to_string(p.CTCSS_CODE));
        out.push_back("SC" + std::to_string(p.VoiceSCR));
        out.push_back("DS" + std::to_string(p.DCS_CODE));
        out.push_back("DJ" + std::to_string(p.Dem_DigiDecode));
        out.push_back("DC" + std::to_string(p.DCR_CODE));
        out.push_back("DW" + std::to_string(p.DCR_WHITE));
        out.push_back("NM" + std::to_string(p.NXDN_RANCodeMute));
        out.push_back("NC" + std::to_string(p.NXDN_RANCode));
        out.push_back("OT" + std::to_string(p.Dem_DMR_Slot));
        out.push_back("CM" + std::to_string(p.DMR_ColorCodeMute));
        out.push_back("CC" + std::to_string(p.DMR_ColorCode));
        out.push_back("PM" + std::to_string(p.P25_NACCodeMute));
        out.push_back("PC" + std::to_string(p.P25_NACCode));
        out.push_back("TS" + std::to_string(p.RF_TETRA_Slot));
    };
    auto md = [](const Mode& mode) {
        return mode.Dem_DModeEnable ? "0" + std::to_string(CodeDigitFromDMode(mode.DMode)) + "0"
                                    : "0F" + std::to_string(mode.AMode);
    };
    std::vector<std::string> out = {"IX1"};
    for (int i = 1; i < 20; ++i) out.push_back("OL" + ZeroPad(i, 2) + " RF" + FormatCompactMHz(m.offsets[i]));
    for (int b = 0; b < kBanks; ++b) {
        for (int c = 0; c < kChannels; ++c) {
            const Channel& ch = m.channels[b][c];
            const std::string bc = ZeroPad(b, 2) + ZeroPad(c, 2);
            if (!ch.used) {
                out.push_back("MQ" + bc);
                continue;
            }
            out.push_back("MX" + bc + " MP" + std::to_string(ch.MemFlag_Pass) + " RF" +
                          FormatCompactMHz(ch.RxFreq) + " MD" + md(ch.mode) + " AU" +
                          std::to_string(ch.p.Dem_AutoBand) + " PT" + std::to_string(ch.MemFlag_ProtectFlag) +
                          " TT" + ch.Title);
            out.push_back("MR" + bc);
            detail(ch.p, ch.mode, out);
        }
    }
    for (int b = 0; b < kSearchBanks; ++b) {
        const SearchBank& s = m.searchBanks[b];
        if (!s.used) {
            out.push_back("SX" + ZeroPad(b, 2));
            continue;
        }
        out.push_back("SE" + ZeroPad(b, 2) + " SL" + FormatCompactMHz(s.LowFreq) + " SU" +
                      FormatCompactMHz(s.HighFreq) + " ST" + FormatCompactkHz(s.StepFreq) + " SH" +
                      FormatCompactkHz(s.AdjFreq) + " MD" + md(s.mode) + " AU" + std::to_string(s.p.Dem_AutoBand) +
                      " PT" + std::to_string(s.Flags_ProtectFlag) + " TT" + s.Title);
        out.push_back("SS" + ZeroPad(b, 2));
        detail(s.p, s.mode, out);
    }
    out.push_back("IX0");
    for (int g = 0; g < kGroups; ++g) {
        const Group& sc = m.scanGroups[g];
        const Group& se = m.searchGroups[g];
        out.push_back("MG" + std::to_string(g) + " DL" + ZeroPad(sc.Delay, 3) + " FR" + ZeroPad(sc.Free, 2) +
                      " BK" + LinkText(sc.Link));
        out.push_back("SG" + std::to_string(g) + " DL" + ZeroPad(se.Delay, 3) + " FR" + ZeroPad(se.Free, 2) +
                      " AS" + std::to_string(se.GrpFlag_AutoStore) + " BK" + LinkText(se.Link));
    }
    out.push_back("BK" + LinkText(m.searchLink));
    return out;
}

TEST(SimReceiver, WritingTheFullImageIntoAnEmptyReceiverReproducesIt) {
    for (int region = 0; region < 3; ++region) {
        const Memory full = FullMemory(region);
        Receiver r(EmptyMemory(region));
        for (const auto& cmd : WriteCommands(full)) ASSERT_EQ(Ask(r, cmd), " ") << cmd;
        // Bank headers are not written by any command; everything else must match.
        Memory got = r.memory();
        got.bankHeaders = full.bankHeaders;
        EXPECT_TRUE(got == full) << "region " << region;
    }
}

TEST(SimReceiver, FullImageFillsEveryRecordAndReachesTheEdges) {
    const Memory m = FullMemory(0);
    std::int64_t low = kMaxFreq, high = 0;
    for (const auto& bank : m.channels)
        for (const auto& c : bank) {
            EXPECT_TRUE(c.used);
            EXPECT_EQ(c.RxFreq % 10, 0);
            low = std::min(low, c.RxFreq);
            high = std::max(high, c.RxFreq);
            EXPECT_EQ(c.Title.find("AU"), std::string::npos) << c.Title;
        }
    EXPECT_EQ(low, kMinFreq);
    EXPECT_EQ(high, kMaxFreq);
    for (const auto& s : m.searchBanks) EXPECT_TRUE(s.used);
    for (const auto& g : m.scanGroups) EXPECT_NE(g.Link, 0u);
}

// --- JSON ---------------------------------------------------------------------------

TEST(SimJson, DumpThenLoadGivesTheSameMemory) {
    for (const Memory& m : {Fixture(), DemoMemory(2), FullMemory(1)}) {
        Memory back = EmptyMemory(0);
        std::string error;
        ASSERT_TRUE(MemoryFromJson(MemoryToJson(m), back, error)) << error;
        EXPECT_TRUE(back == m);
    }
}

TEST(SimJson, RefusesBadDocumentsAndKeepsTheMemory) {
    const std::vector<std::string> bad = {
        "not json",
        "[1, 2]",
        R"({"Region": 3})",
        R"({"OffsetFreqTable": [1, 2]})",
        R"({"MemChData": [{"bank": 40, "channel": 0, "RxFreq": 145000000}]})",
        R"({"MemChData": [{"bank": 0, "channel": 0}]})",
        R"({"MemChData": [{"bank": 0, "channel": 0, "RxFreq": 99990}]})",
        R"({"MemChData": [{"bank": 0, "channel": 0, "RxFreq": 145000000, "Mode": "XM"}]})",
        R"({"MemChData": [{"bank": 0, "channel": 0, "RxFreq": 145000000, "Mode": "AM", "IFBW": 4}]})",
        R"({"MemChData": [{"bank": 0, "channel": 0, "RxFreq": 145000000, "CTCSS_CODE": 1.5}]})",
        R"({"MemChData": [{"bank": 0, "channel": 0, "RxFreq": 145000000, "Title": "\u0416"}]})",
        R"({"SearchBankData": [{"bank": 1, "LowFreq": 145000000}]})",
        R"({"ScanGrpData": [{"group": 1, "Link": [40]}]})",
        R"({"SearchGrpData": [{"group": 1, "Delay": 101}]})",
    };
    for (const auto& text : bad) {
        Memory m = Fixture();
        std::string error;
        EXPECT_FALSE(MemoryFromJson(text, m, error)) << text;
        EXPECT_FALSE(error.empty()) << text;
        EXPECT_TRUE(m == Fixture()) << text;
    }
}

TEST(SimJson, SmallDocumentFillsOnlyWhatItNames) {
    Memory m = EmptyMemory(0);
    std::string error;
    ASSERT_TRUE(MemoryFromJson(R"({"Region": 2, "MemChData": [{"bank": 3, "channel": 4,
        "RxFreq": 145000005, "Mode": "DMR", "Title": "Short"}]})", m, error)) << error;
    Receiver r(m);
    EXPECT_EQ(Ask(r, "AZ"), "AZ2");
    EXPECT_EQ(Ask(r, "MA0304"), "MX0304 MP0 RF0145.00000 ST010.00 SH000.00 MD070 AU0 PT0 TTShort       ");
    EXPECT_EQ(Ask(r, "MA0305"), "MX0305 ---");
}

// --- line assembly and faults --------------------------------------------------------

TEST(SimLink, CarriageReturnEndsALineAndLineFeedIsIgnored) {
    LineAssembler a;
    EXPECT_EQ(a.Feed("AZ\r\nMA00"), std::vector<std::string>{"AZ"});
    EXPECT_EQ(a.Feed("05\r"), std::vector<std::string>{"MA0005"});
    EXPECT_EQ(a.Feed("\r\n\nM\nW01\r"), (std::vector<std::string>{"", "MW01"}));
}

TEST(SimLink, FaultsShapeTheAnswers) {
    struct Case {
        const char* name;
        FaultOptions faults;
        std::vector<std::string> commands;
        std::vector<std::string> sent;
    };
    FaultOptions prefix;
    prefix.prefix = "20";
    FaultOptions silent;
    silent.noAnswer = {"MX", "EMPTY"};
    FaultOptions refuse;
    refuse.error = {"AZ", "MQ"};
    FaultOptions drop;
    drop.dropEvery = 2;
    const Case cases[] = {
        {"PrefixOnKeyedLinesOnly", prefix, {"AZ", "EX", "ZZ"}, {"20AZ1", " ", "?"}},
        {"NoAnswerStillActs", silent, {"MX0000 MP0 RF145.0 MD0F0 AU0 PT0 TTx", "", "MA0000"},
         {"MX0000 MP0 RF0145.00000 ST010.00 SH000.00 MD0F0 AU0 PT0 TTx           "}},
        {"ErrorWithoutEffect", refuse, {"AZ", "MQ0003", "MA0003"},
         {"?", "?", "MX0003 MP1 RF0154.44375 ST012.50 SH006.25 MD070 AU1 PT1 TTDMR Test    "}},
        {"DropEverySecond", drop, {"AZ", "MW02", "SR05", "BK"}, {"AZ1", "SE05 ---"}},
    };
    for (const auto& c : cases) {
        Receiver r(Fixture());
        FaultyReceiver f(r, c.faults);
        std::vector<std::string> sent;
        for (const auto& cmd : c.commands)
            for (auto& line : f.Answer(cmd)) sent.push_back(line);
        EXPECT_EQ(sent, c.sent) << c.name;
    }
}

TEST(SimLink, NoiseIsSeededAndNeverLooksLikeAnAnswer) {
    FaultOptions noisy;
    noisy.garbageRate = 1.0;
    noisy.seed = 7;
    auto run = [&] {
        Receiver r(Fixture());
        FaultyReceiver f(r, noisy);
        std::vector<std::string> sent;
        for (int i = 0; i < 50; ++i)
            for (auto& line : f.Answer("AZ")) sent.push_back(line);
        return sent;
    };
    const auto first = run();
    ASSERT_EQ(first.size(), 100u);
    for (std::size_t i = 0; i < first.size(); i += 2) {
        const std::string& noise = first[i];
        EXPECT_EQ(first[i + 1], "AZ1");
        EXPECT_GE(noise.size(), 3u);
        for (char c : noise) {
            EXPECT_FALSE(c >= 'A' && c <= 'Z') << noise;
            EXPECT_NE(c, '?') << noise;
        }
    }
    EXPECT_EQ(run(), first);
}

// --- options ------------------------------------------------------------------------

TEST(SimOptions, ReadsEveryOptionIntoItsSetting) {
    SimOptions o;
    bool help = true;
    std::string error;
    ASSERT_TRUE(ParseOptions({"--com", "105", "--region", "Japan", "--full", "--no-au", "--crlf", "--no-answer",
                              "MA,EMPTY", "--error", "AZ", "--garbage", "0.25", "--drop-every", "4", "--prefix",
                              "20", "--delay-ms", "15", "--disconnect-after", "9", "--seed", "77", "--ack", "20 ",
                              "--error-text", "30?"},
                             o, help, error))
        << error;
    EXPECT_FALSE(help);
    EXPECT_EQ(o.com, 105);
    EXPECT_EQ(o.region, 1);
    EXPECT_EQ(o.image, SimOptions::Image::Full);
    EXPECT_FALSE(o.receiver.auField);
    EXPECT_TRUE(o.crlf);
    EXPECT_EQ(o.faults.noAnswer, (std::set<std::string>{"MA", "EMPTY"}));
    EXPECT_EQ(o.faults.error, std::set<std::string>{"AZ"});
    EXPECT_DOUBLE_EQ(o.faults.garbageRate, 0.25);
    EXPECT_EQ(o.faults.dropEvery, 4);
    EXPECT_EQ(o.faults.prefix, "20");
    EXPECT_EQ(o.delayMs, 15);
    EXPECT_EQ(o.disconnectAfter, 9);
    EXPECT_EQ(o.faults.seed, 77u);
    EXPECT_EQ(o.receiver.ack, "20 ");
    EXPECT_EQ(o.receiver.error, "30?");
}

TEST(SimOptions, RegionByNameOrNumberAndBadValuesRefused) {
    const std::pair<const char*, int> regions[] = {{"usa", 0}, {"japan", 1}, {"euro", 2}, {"EURO", 2}, {"1", 1}};
    for (const auto& [text, value] : regions) {
        SimOptions o;
        bool help = false;
        std::string error;
        ASSERT_TRUE(ParseOptions({"--region", text}, o, help, error)) << text;
        EXPECT_EQ(o.region, value) << text;
    }
    const std::vector<std::vector<std::string>> bad = {
        {"--region", "3"}, {"--com", "0"}, {"--prefix", "ABC"}, {"--garbage", "-0.1"}, {"--drop-every", "0"},
        {"--seed", "x"}, {"--full", "--load", "f.json"}, {"--frobnicate"}};
    for (const auto& args : bad) {
        SimOptions o;
        bool help = false;
        std::string error;
        EXPECT_FALSE(ParseOptions(args, o, help, error)) << args[0];
        EXPECT_FALSE(error.empty()) << args[0];
    }
}

// --- text forms ----------------------------------------------------------------------

TEST(SimText, CommandFrequenciesAreReadToTheHertz) {
    struct Case {
        const char* text;
        std::optional<std::int64_t> mhz;
        std::optional<std::int64_t> khz;
    };
    const Case cases[] = {
        {"154.44375", 154443750, std::nullopt}, {"0.1", 100000, 100},   {"145", 145000000, 145000},
        {"3000.000001", 3000000001, std::nullopt}, {"12.5", 12500000, 12500}, {"8.333", 8333000, 8333},
        {"", std::nullopt, std::nullopt},         {"1.", std::nullopt, std::nullopt},
        {".5", std::nullopt, std::nullopt},       {"-1.0", std::nullopt, std::nullopt},
        {"1.0000001", std::nullopt, std::nullopt}, {"1 .0", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseCommandMHz(c.text), c.mhz) << c.text;
        EXPECT_EQ(ParseCommandkHz(c.text), c.khz) << c.text;
    }
}

}  // namespace
