// kestrel-receiver-sim as a separate process, over its pseudo-terminal: registration of the
// virtual port, one answer of every kind, writes read back, dump and load, fault options.
#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "SimProcess.h"

namespace {

namespace fs = std::filesystem;

// A small memory image: one channel of each kind the answers distinguish.
const char kFixture[] = R"({
  "Region": 2,
  "OffsetFreqTable": [0, 600000, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
                      100000, 4000000, 4600000, 5000000, 8000000, 9000000, 10000000,
                      15000000, 16000000, 16500000, 18000000, 18450000, 20000000, 24100000,
                      37400000, 47200000, 48000000, 55000000, 126350000, 130000000],
  "SearchLink": [0, 1, 5],
  "MemBankData": [{"bank": 2, "MemBankFlag_ProtectFlag": 1, "Title": "Bank Two"}],
  "MemChData": [
    {"bank": 0, "channel": 5, "RxFreq": 154443750, "StepFreq": 12500, "AdjFreq": 6250,
     "Mode": "P-25", "MemFlag_Pass": 1, "MemFlag_ProtectFlag": 1, "Title": "P25 County",
     "Dem_AutoBand": 1, "OffsetFreq": 5, "P25_NACCode": 419, "P25_NACCodeMute": 1,
     "CTCSS_CODE": 2, "DCS_CODE": 3, "Dem_SQL_Type": 1, "VoiceSCR": 329, "IFBW": 3},
    {"bank": 1, "channel": 0, "RxFreq": 121500000, "StepFreq": 8330, "Mode": "AM",
     "Title": "Guard", "OffsetFreq": -5, "IFBW": 1, "RF_AGC": 2}
  ],
  "SearchBankData": [
    {"bank": 0, "LowFreq": 118000000, "HighFreq": 136991660, "StepFreq": 8330,
     "AdjFreq": 0, "Mode": "AM", "Title": "Airband", "Dem_AutoBand": 1, "IFBW": 1}
  ],
  "ScanGrpData": [{"group": 0, "Delay": 20, "Free": 10, "Link": [0, 1, 2]}],
  "SearchGrpData": [{"group": 4, "Delay": 20, "Free": 10, "GrpFlag_AutoStore": 1, "Link": [0, 5]}]
})";

class SimPty : public testing::Test {
protected:
    void SetUp() override {
        fixturePath_ = dir_.path() + "/fixture.json";
        std::ofstream(fixturePath_) << kFixture;
    }

    // Starts a simulator and waits until its port is ready.
    std::unique_ptr<SimProcess> Start(std::vector<std::string> args) {
        auto sim = std::make_unique<SimProcess>(dir_.path(), args);
        EXPECT_TRUE(sim->Ready()) << "simulator did not come up";
        return sim;
    }
    std::unique_ptr<SimProcess> StartWithFixture(std::vector<std::string> extra = {}) {
        extra.insert(extra.begin(), {"--load", fixturePath_});
        return Start(extra);
    }

    struct Exchange {
        std::string command;
        std::string answer;
    };
    static void Converse(SimProcess& sim, const std::vector<Exchange>& exchanges) {
        for (const auto& e : exchanges) {
            sim.Command(e.command);
            EXPECT_EQ(sim.Answer().value_or("<no answer>"), e.answer) << "command \"" << e.command << "\"";
        }
    }

    static std::string ReadFile(const std::string& path) {
        std::ifstream f(path);
        std::stringstream s;
        s << f.rdbuf();
        return s.str();
    }

    TempDir dir_;
    std::string fixturePath_;
};

TEST_F(SimPty, RegistersItsPortAndRemovesItOnTermination) {
    const std::string extra = dir_.path() + "/my-receiver";
    auto first = Start({"--empty", "--link", extra});
    auto second = Start({"--empty", "--com", "123"});
    EXPECT_EQ(first->comNumber(), 100);
    EXPECT_EQ(second->comNumber(), 123);
    const fs::path com100 = first->portDir() + "/COM100";
    const fs::path com123 = first->portDir() + "/COM123";
    ASSERT_TRUE(fs::is_symlink(com100));
    EXPECT_EQ(fs::read_symlink(com100).string(), first->device());
    EXPECT_EQ(fs::read_symlink(extra).string(), first->device());
    EXPECT_EQ(fs::read_symlink(com123).string(), second->device());
    auto third = Start({"--empty"});
    EXPECT_EQ(third->comNumber(), 101);  // first free number from 100

    first->Signal(SIGTERM);
    second->Signal(SIGINT);
    EXPECT_EQ(first->Wait(), 0);
    EXPECT_EQ(second->Wait(), 0);
    EXPECT_FALSE(fs::exists(fs::symlink_status(com100)));
    EXPECT_FALSE(fs::exists(fs::symlink_status(extra)));
    EXPECT_FALSE(fs::exists(fs::symlink_status(com123)));
    EXPECT_TRUE(fs::is_symlink(third->portDir() + "/COM101"));
}

TEST_F(SimPty, RefusesATakenPortNumber) {
    auto first = Start({"--empty", "--com", "200"});
    SimProcess second(dir_.path(), {"--empty", "--com", "200"});
    EXPECT_FALSE(second.Ready());
    EXPECT_NE(second.Wait(), 0);
    EXPECT_EQ(fs::read_symlink(first->portDir() + "/COM200").string(), first->device());
}

TEST_F(SimPty, AnswersEveryQueryInTheReceiversFormat) {
    auto sim = StartWithFixture();
    Converse(*sim, {
        {"AZ", "AZ2"},
        {"MA0512", "MX0512 ---"},
        {"MA0005", "MX0005 MP1 RF0154.44375 ST012.50 SH006.25 MD050 AU1 PT1 TTP25 County  "},
        {"MA0100", "MX0100 MP0 RF0121.50000 ST008.33 SH000.00 MD0F1 AU0 PT0 TTGuard       "},
        {"MW02", "MW02 PT1 TTBank Two   "},
        {"MR0005", " "},
        {"RX", "RX MR0005"},
        {"AU", "AU1"},
        {"IF", "IF3"},
        {"OF", "OF+05"},
        {"CI", "CI1"},
        {"SI", "SI0"},
        {"DI", "DI0"},
        {"CN", "CN01"},
        {"SC", "SC329"},
        {"DS", "DS023"},
        {"PM", "PM1"},
        {"PC", "PC1A3"},
        {"DC", "DC00000"},
        {"DW", "DW000"},
        {"NC", "NC00"},
        {"CC", "CC00"},
        {"TS", "TS0"},
        {"MR0100", " "},
        {"OF", "OF-05"},
        {"AC", "AC2"},
        {"OL01", "OL01 RF0000.60000"},
        {"OL39", "OL39 RF0130.00000"},
        {"SR00", "SE00 SL0118.00000 SU0136.99166 ST008.33 SH000.00 MD0F1 AU1 PT0 TTAirband     "},
        {"SR01", "SE01 ---"},
        {"SS00", " "},
        {"RX", "RX SR00"},
        {"IF", "IF1"},
        {"BK", "BK000105"},
        {"MG0", "MG00 DL020 FR10 BK000102"},
        {"MG1", "MG01 DL000 FR00 BK99"},
        {"SG4", "SG04 DL020 FR10 AS1 BK0005"},
        {"", "?"},
        {"EX", " "},
        {"QQ", "?"},
    });
}

TEST_F(SimPty, SummaryWithoutAuFieldWhenAsked) {
    auto sim = StartWithFixture({"--no-au"});
    Converse(*sim, {
        {"SR00", "SE00 SL0118.00000 SU0136.99166 ST008.33 SH000.00 MD0F1 PT0 TTAirband     "},
        {"MA0005", "MX0005 MP1 RF0154.44375 ST012.50 SH006.25 MD050 PT1 TTP25 County  "},
    });
}

TEST_F(SimPty, WritesAreReadBack) {
    auto sim = StartWithFixture();
    Converse(*sim, {
        // A channel written the way the program writes one, then its parameters.
        {"IX1", " "},
        {"OL02 RF5.0", " "},
        {"MX0312 MP0 RF446.00625 MD060 AU0 PT1 TTdPMR446", " "},
        {"MR0312", " "},
        {"RX", "RX MR0312"},
        {"IF4", " "},
        {"OF-2", " "},
        {"CI0", " "},
        {"SI0", " "},
        {"DI1", " "},
        {"CN53", " "},
        {"DS107", " "},
        {"PC659", " "},
        {"TS3", " "},
        {"IX0", " "},
        {"MA0312", "MX0312 MP0 RF0446.00625 ST010.00 SH000.00 MD060 AU0 PT1 TTdPMR446     "},
        {"OL02", "OL02 RF0005.00000"},
        {"MR0312", " "},
        {"OF", "OF-02"},
        {"DI", "DI1"},
        {"CN", "CN52"},
        {"DS", "DS754"},
        {"PC", "PC293"},
        {"TS", "TS3"},
        // Deleting.
        {"MQ0005", " "},
        {"MA0005", "MX0005 ---"},
        // Search banks, the link list and groups.
        {"SE03 SL430.0 SU450.0 ST12.5 SH6.25 MD0F0 AU0 PT1 TT70cm", " "},
        {"SS03", " "},
        {"NR2", " "},
        {"SR03", "SE03 SL0430.00000 SU0450.00000 ST012.50 SH006.25 MD0F0 AU0 PT1 TT70cm        "},
        {"NR", "NR2"},
        {"SX00", " "},
        {"SR00", "SE00 ---"},
        {"BK99", " "},
        {"BK", "BK99"},
        {"MG5 DL100 FR60 BK0039", " "},
        {"MG5", "MG05 DL100 FR60 BK0039"},
        {"SG0 DL007 FR05 AS0 BK99", " "},
        {"SG0", "SG00 DL007 FR05 AS0 BK99"},
        // Out of range: refused, nothing changes.
        {"MR0312", " "},
        {"TS4", "?"},
        {"TS", "TS3"},
        {"MX0312 MP0 RF3000.00001 MD0F0 AU0 PT0 TTx", "?"},
        {"MA0312", "MX0312 MP0 RF0446.00625 ST010.00 SH000.00 MD060 AU0 PT1 TTdPMR446     "},
    });
}

TEST_F(SimPty, LineEndsAndReopening) {
    auto sim = StartWithFixture();
    sim->Send("AZ\r");  // CR alone
    EXPECT_EQ(sim->Answer().value_or("<none>"), "AZ2");
    sim->Send("A\nZ\r\n");  // LF ignored anywhere
    EXPECT_EQ(sim->Answer().value_or("<none>"), "AZ2");
    sim->Send("\r\n");  // the empty command
    EXPECT_EQ(sim->Answer().value_or("<none>"), "?");
    // The program closes and reopens its port between operations.
    sim->CloseDevice();
    ASSERT_TRUE(sim->ReopenDevice());
    sim->Command("MW02");
    EXPECT_EQ(sim->Answer().value_or("<none>"), "MW02 PT1 TTBank Two   ");
}

TEST_F(SimPty, CrLfOptionEndsAnswersWithCrLf) {
    auto sim = StartWithFixture({"--crlf"});
    sim->Command("AZ");
    sim->Command("EX");
    EXPECT_EQ(sim->ReadBytes(8), "AZ2\r\n \r\n");
}

TEST_F(SimPty, DumpOnSignalAndExitLoadsBackIdentically) {
    const std::string first = dir_.path() + "/first.json";
    const std::string second = dir_.path() + "/second.json";
    auto a = Start({"--full", "--dump", first});
    a->Command("MX3949 MP1 RF1.23456 MD0F4 AU0 PT0 TTchanged");
    ASSERT_EQ(a->Answer().value_or("<none>"), " ");
    a->Signal(SIGUSR1);
    EXPECT_EQ(a->StdoutLine().value_or("<none>"), "dumped " + first);

    auto b = Start({"--load", first, "--dump", second});
    Converse(*b, {{"MA3949", "MX3949 MP1 RF0001.23456 ST010.00 SH000.00 MD0F4 AU0 PT0 TTchanged     "}});
    b->Signal(SIGTERM);
    EXPECT_EQ(b->StdoutLine().value_or("<none>"), "dumped " + second);
    EXPECT_EQ(b->Wait(), 0);
    const std::string dumped = ReadFile(first);
    EXPECT_NE(dumped.find("\"Title\": \"changed     \""), std::string::npos);
    EXPECT_EQ(ReadFile(second), dumped);
}

TEST_F(SimPty, LogsEveryCommandAndAnswer) {
    const std::string log = dir_.path() + "/traffic.log";
    auto sim = StartWithFixture({"--log", log});
    Converse(*sim, {{"AZ", "AZ2"}, {"MA0512", "MX0512 ---"}, {"", "?"}});
    EXPECT_EQ(ReadFile(log), "> AZ\n< AZ2\n> MA0512\n< MX0512 ---\n> \n< ?\n");
}

struct FaultCase {
    const char* name;
    std::vector<std::string> args;
    std::vector<std::string> commands;
    std::vector<std::string> answers;  // the lines that arrive, in order
};

class SimFaults : public SimPty, public testing::WithParamInterface<FaultCase> {};

TEST_P(SimFaults, ShapeTheAnswers) {
    auto sim = StartWithFixture(GetParam().args);
    for (const auto& c : GetParam().commands) sim->Command(c);
    for (const auto& expected : GetParam().answers)
        EXPECT_EQ(sim->Answer().value_or("<no answer>"), expected);
}

INSTANTIATE_TEST_SUITE_P(
    Sim, SimFaults,
    testing::Values(
        FaultCase{"Prefix", {"--prefix", "XY"}, {"AZ", "RX", "EX", "QQ"}, {"XYAZ2", "XYRX VFO", " ", "?"}},
        FaultCase{"NoAnswer", {"--no-answer", "MA,EMPTY"}, {"MA0005", "", "MW02"}, {"MW02 PT1 TTBank Two   "}},
        FaultCase{"Error", {"--error", "AZ,MQ"}, {"AZ", "MQ0005", "MA0005"},
                  {"?", "?", "MX0005 MP1 RF0154.44375 ST012.50 SH006.25 MD050 AU1 PT1 TTP25 County  "}},
        FaultCase{"DropEveryThird", {"--drop-every", "3"}, {"AZ", "BK", "MW02", "SR01", "EX"},
                  {"AZ2", "BK000105", "SE01 ---", " "}},
        FaultCase{"Delay", {"--delay-ms", "30"}, {"AZ", "SR01"}, {"AZ2", "SE01 ---"}},
        FaultCase{"AckAndErrorTexts", {"--ack", "20 ", "--error-text", "30?"}, {"EX", "QQ", "SS00"},
                  {"20 ", "30?", "20 "}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SimPty, GarbageIsSeededNoiseBetweenAnswers) {
    auto noiseOf = [&](const std::string& seed) {
        auto sim = StartWithFixture({"--garbage", "1", "--seed", seed});
        std::vector<std::string> lines;
        for (int i = 0; i < 3; ++i) {
            sim->Command("AZ");
            lines.push_back(sim->Answer().value_or("<none>"));
            EXPECT_EQ(sim->Answer().value_or("<none>"), "AZ2");
        }
        return lines;
    };
    const auto first = noiseOf("5");
    EXPECT_EQ(noiseOf("5"), first);
    EXPECT_NE(noiseOf("6"), first);
    for (const auto& noise : first) EXPECT_NE(noise, "AZ2");
}

TEST_F(SimPty, DisconnectAfterClosesTheDeviceAndRemovesTheLink) {
    auto sim = StartWithFixture({"--disconnect-after", "2"});
    Converse(*sim, {{"AZ", "AZ2"}, {"EX", " "}});
    EXPECT_EQ(sim->StdoutLine().value_or("<none>"), "disconnected");
    EXPECT_TRUE(sim->HungUp());
    EXPECT_FALSE(fs::exists(fs::symlink_status(sim->portDir() + "/COM" + std::to_string(sim->comNumber()))));
    sim->Signal(SIGTERM);
    EXPECT_EQ(sim->Wait(), 0);
}

TEST(SimCommandLine, HelpNamesEveryOptionAndBadOptionsFail) {
    std::string help;
    EXPECT_EQ(RunSimToEnd({"--help"}, help), 0);
    for (const char* option : {"--com", "--link", "--crlf", "--region", "--empty", "--full", "--load", "--dump",
                               "--log", "--no-au", "--ack", "--error-text", "--no-answer", "--error",
                               "--garbage", "--delay-ms", "--drop-every", "--prefix", "--disconnect-after",
                               "--seed", "--help"})
        EXPECT_NE(help.find(option), std::string::npos) << option;

    const std::vector<std::vector<std::string>> bad = {
        {"--prefix", "X"}, {"--region", "mars"}, {"--garbage", "2"}, {"--empty", "--full"},
        {"--load", "/nonexistent/file.json"}, {"--delay-ms", "-1"}, {"stray"}};
    for (const auto& args : bad) {
        std::string out;
        EXPECT_EQ(RunSimToEnd(args, out), 2) << args[0];
        EXPECT_NE(out.find("kestrel-receiver-sim:"), std::string::npos) << args[0];
    }
}

}  // namespace
