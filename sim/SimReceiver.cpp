#include "SimReceiver.h"

#include <cstdlib>
#include <map>
#include <optional>

#include "SimText.h"

namespace sim {

namespace {

// Exactly `digits` decimal digits, 0..max.
std::optional<int> Number(std::string_view s, std::size_t digits, int max) {
    if (s.size() != digits) return std::nullopt;
    auto v = ParseDigits(s);
    if (!v || *v > max) return std::nullopt;
    return static_cast<int>(*v);
}

// A decimal set value (one or more digits) within min..max.
std::optional<int> SetValue(std::string_view s, int min, int max) {
    auto v = ParseDigits(s);
    if (!v || *v < min || *v > max) return std::nullopt;
    return static_cast<int>(*v);
}

// A structured write line: a head token, blank-separated key+value tokens and, when
// `withTitle`, a last field "TT" whose value runs to the end of the line (blanks included).
struct Fields {
    std::string_view head;
    std::map<std::string, std::string_view, std::less<>> values;
    std::optional<std::string_view> title;
};

std::optional<Fields> SplitFields(std::string_view line, bool withTitle) {
    Fields f;
    if (withTitle) {
        const auto tt = line.find(" TT");
        if (tt == std::string_view::npos) return std::nullopt;
        f.title = line.substr(tt + 3);
        line = line.substr(0, tt);
    }
    std::size_t pos = 0;
    bool first = true;
    while (pos <= line.size()) {
        auto end = line.find(' ', pos);
        if (end == std::string_view::npos) end = line.size();
        const std::string_view token = line.substr(pos, end - pos);
        if (token.size() < 2) return std::nullopt;  // doubled blank or stray letter
        if (first) {
            f.head = token;
            first = false;
        } else if (!f.values.emplace(std::string(token.substr(0, 2)), token.substr(2)).second) {
            return std::nullopt;  // a key given twice
        }
        pos = end + 1;
    }
    return f;
}

bool OnlyKeys(const Fields& f, std::initializer_list<std::string_view> allowed) {
    for (const auto& [key, value] : f.values) {
        bool ok = false;
        for (auto a : allowed) ok = ok || key == a;
        if (!ok) return false;
    }
    return true;
}

std::optional<std::string_view> Get(const Fields& f, std::string_view key) {
    auto it = f.values.find(key);
    if (it == f.values.end()) return std::nullopt;
    return it->second;
}

std::optional<int> Flag(const Fields& f, std::string_view key) {
    auto v = Get(f, key);
    return v ? SetValue(*v, 0, 1) : std::nullopt;
}

// The three characters of the "MD" field.
std::optional<Mode> ParseMode(std::string_view s) {
    if (s.size() != 3 || s[0] < '0' || s[0] > '9') return std::nullopt;
    if (s[2] < '0' || s[2] > '6') return std::nullopt;
    Mode m;
    m.AMode = static_cast<std::uint8_t>(s[2] - '0');
    if (s[1] == 'F') return m;
    if (s[1] < '0' || s[1] > '9') return std::nullopt;
    m.Dem_DModeEnable = 1;
    m.DMode = DModeFromCodeDigit(s[1] - '0');
    return m;
}

std::optional<std::int64_t> Frequency(const Fields& f, std::string_view key) {
    auto v = Get(f, key);
    if (!v) return std::nullopt;
    auto hz = ParseCommandMHz(*v);
    if (!hz || *hz < kMinFreq || *hz > kMaxFreq) return std::nullopt;
    return *hz / 10 * 10;  // the receiver tunes in 10 Hz units
}

// Step or adjust; absent keys are allowed when `required` is false (nullopt + ok).
bool Step(const Fields& f, std::string_view key, bool required, std::optional<std::int32_t>& out) {
    auto v = Get(f, key);
    if (!v) return !required;
    auto hz = ParseCommandkHz(*v);
    if (!hz || *hz > kMaxStep) return false;
    out = static_cast<std::int32_t>(*hz / 10 * 10);
    return true;
}

std::optional<std::uint64_t> ParseLinkList(std::string_view s) {
    if (s == "99") return 0;
    if (s.empty() || s.size() % 2 != 0) return std::nullopt;
    std::uint64_t link = 0;
    for (std::size_t i = 0; i < s.size(); i += 2) {
        auto bank = Number(s.substr(i, 2), 2, kSearchBanks - 1);
        if (!bank) return std::nullopt;
        link |= std::uint64_t{1} << *bank;
    }
    return link;
}

// Bank and channel "bbcc".
std::optional<std::pair<int, int>> BankChannel(std::string_view arg) {
    if (arg.size() != 4) return std::nullopt;
    auto b = Number(arg.substr(0, 2), 2, kBanks - 1);
    auto c = Number(arg.substr(2, 2), 2, kChannels - 1);
    if (!b || !c) return std::nullopt;
    return std::pair{*b, *c};
}

// Parameter keys with a plain decimal value of fixed answer width.
struct PlainKey {
    std::string_view key;
    int width;
    int min, max;
    int (*get)(const Params&);
    void (*set)(Params&, int);
};

#define SIM_FIELD(name, type) \
    [](const Params& p) { return static_cast<int>(p.name); }, \
    [](Params& p, int v) { p.name = static_cast<type>(v); }

const PlainKey kPlainKeys[] = {
    {"AU", 1, 0, 1, SIM_FIELD(Dem_AutoBand, std::uint8_t)},
    {"AT", 1, 0, 2, SIM_FIELD(RF_ATT, std::uint8_t)},
    {"SQ", 1, 0, 2, SIM_FIELD(RF_SQ_N_L_Type, std::uint8_t)},
    {"NR", 1, 0, 3, SIM_FIELD(Dem_DENOIS, std::uint8_t)},
    {"AC", 1, 0, 3, SIM_FIELD(RF_AGC, std::uint8_t)},
    {"SC", 3, 200, 700, SIM_FIELD(VoiceSCR, std::uint16_t)},
    {"DJ", 1, 0, 1, SIM_FIELD(Dem_DigiDecode, std::uint8_t)},
    {"DC", 5, 0, 32767, SIM_FIELD(DCR_CODE, std::uint16_t)},
    {"DW", 3, 0, 511, SIM_FIELD(DCR_WHITE, std::uint16_t)},
    {"NM", 1, 0, 1, SIM_FIELD(NXDN_RANCodeMute, std::uint8_t)},
    {"NC", 2, 0, 64, SIM_FIELD(NXDN_RANCode, std::uint8_t)},
    {"OT", 1, 0, 3, SIM_FIELD(Dem_DMR_Slot, std::uint8_t)},
    {"CM", 1, 0, 1, SIM_FIELD(DMR_ColorCodeMute, std::uint8_t)},
    {"CC", 2, 0, 16, SIM_FIELD(DMR_ColorCode, std::uint8_t)},
    {"PM", 1, 0, 1, SIM_FIELD(P25_NACCodeMute, std::uint8_t)},
    {"TS", 1, 0, 3, SIM_FIELD(RF_TETRA_Slot, std::uint8_t)},
};
#undef SIM_FIELD

// Squelch type values (Dem_SQL_Type).
constexpr std::uint8_t kSqlOff = 0, kSqlCtc = 1, kSqlDcs = 2, kSqlScr = 3, kSqlRtn = 4;

}  // namespace

std::string LinkText(std::uint64_t link) {
    std::string s;
    for (int b = 0; b < kSearchBanks; ++b)
        if (link & (std::uint64_t{1} << b)) s += ZeroPad(b, 2);
    return s.empty() ? "99" : s;
}

Receiver::Receiver(Memory memory, ReceiverOptions options)
    : mem_(std::move(memory)), opt_(std::move(options)) {}

std::vector<std::string> Receiver::Handle(std::string_view line) {
    if (line.size() < 2) return Refuse();  // the empty command included
    const std::string_view key = line.substr(0, 2);
    const std::string_view arg = line.substr(2);
    if (key == "AZ") return Region(arg);
    if (key == "MA") return ReadChannel(arg);
    if (key == "MW") return ReadBankHeader(arg);
    if (key == "MR") return Recall(arg);
    if (key == "MX") return WriteChannel(line);
    if (key == "MQ") return DeleteChannel(arg);
    if (key == "RX") return ReceiveState(arg);
    if (key == "IX") return WriteMode(arg);
    if (key == "EX") return arg.empty() ? Ack() : Refuse();
    if (key == "OL") return Offset(line);
    if (key == "SR") return ReadSearchBank(arg);
    if (key == "SE") return WriteSearchBank(line);
    if (key == "SS") return SelectSearchBank(arg);
    if (key == "SX") return DeleteSearchBank(arg);
    if (key == "BK") return LinkList(arg);
    if (key == "MG") return GroupCommand(line, false);
    if (key == "SG") return GroupCommand(line, true);
    return Parameter(key, arg);
}

std::string Receiver::ModeText(const Mode& m) const {
    std::string s = "0";
    s += m.Dem_DModeEnable ? static_cast<char>('0' + CodeDigitFromDMode(m.DMode)) : 'F';
    s += static_cast<char>('0' + m.AMode);
    return s;
}

std::string Receiver::AuField(std::uint8_t autoBand) const {
    return opt_.auField ? " AU" + std::to_string(autoBand) : std::string();
}

Receiver::Answer Receiver::Region(std::string_view arg) const {
    if (!arg.empty()) return Refuse();
    return {"AZ" + std::to_string(mem_.Region)};
}

Receiver::Answer Receiver::ReadChannel(std::string_view arg) const {
    auto bc = BankChannel(arg);
    if (!bc) return Refuse();
    const Channel& c = mem_.channels[bc->first][bc->second];
    const std::string head = "MX" + std::string(arg);
    if (!c.used) return {head + " ---"};
    return {head + " MP" + std::to_string(c.MemFlag_Pass) + " RF" + FormatAnswerMHz(c.RxFreq) +
            " ST" + FormatAnswerkHz(c.StepFreq) + " SH" + FormatAnswerkHz(c.AdjFreq) + " MD" +
            ModeText(c.mode) + AuField(c.p.Dem_AutoBand) + " PT" +
            std::to_string(c.MemFlag_ProtectFlag) + " TT" + FixWidth(c.Title, kTitleWidth)};
}

Receiver::Answer Receiver::ReadBankHeader(std::string_view arg) const {
    auto bank = Number(arg, 2, kBanks - 1);
    if (!bank) return Refuse();
    const BankHeader& h = mem_.bankHeaders[*bank];
    return {"MW" + std::string(arg) + " PT" + std::to_string(h.MemBankFlag_ProtectFlag) + " TT" +
            FixWidth(h.Title, kBankTitleWidth)};
}

Receiver::Answer Receiver::Recall(std::string_view arg) {
    auto bc = BankChannel(arg);
    // A refused recall leaves no record selected, so that the set commands that follow
    // cannot change a channel the sender did not mean.
    if (!bc || !mem_.channels[bc->first][bc->second].used) {
        focus_ = Focus::None;
        return Refuse();
    }
    focus_ = Focus::Channel;
    focusBank_ = bc->first;
    focusChannel_ = bc->second;
    return Ack();
}

Receiver::Answer Receiver::WriteChannel(std::string_view line) {
    auto f = SplitFields(line, true);
    if (!f || !OnlyKeys(*f, {"MP", "RF", "ST", "SH", "MD", "AU", "PT"})) return Refuse();
    auto bc = BankChannel(f->head.substr(2));
    auto pass = Flag(*f, "MP");
    auto freq = Frequency(*f, "RF");
    auto md = Get(*f, "MD");
    auto mode = md ? ParseMode(*md) : std::nullopt;
    auto protect = Flag(*f, "PT");
    std::optional<int> au;
    if (Get(*f, "AU")) {
        au = Flag(*f, "AU");
        if (!au) return Refuse();
    }
    std::optional<std::int32_t> step, adj;
    if (!bc || !pass || !freq || !mode || !protect || !Step(*f, "ST", false, step) ||
        !Step(*f, "SH", false, adj))
        return Refuse();

    Channel& c = mem_.channels[bc->first][bc->second];
    if (!c.used) {
        c = Channel{};
        c.p.IFBW = static_cast<std::uint8_t>(DefaultIfbw(mode->Dem_DModeEnable, mode->AMode));
    } else if (c.p.IFBW > MaxIfbw(mode->AMode)) {
        c.p.IFBW = static_cast<std::uint8_t>(DefaultIfbw(mode->Dem_DModeEnable, mode->AMode));
    }
    c.used = true;
    c.MemFlag_Pass = static_cast<std::uint8_t>(*pass);
    c.RxFreq = *freq;
    if (step) c.StepFreq = *step;
    if (adj) c.AdjFreq = *adj;
    c.mode = *mode;
    if (au) c.p.Dem_AutoBand = static_cast<std::uint8_t>(*au);
    c.MemFlag_ProtectFlag = static_cast<std::uint8_t>(*protect);
    c.Title = ChannelTitle(*f->title);
    return Ack();
}

Receiver::Answer Receiver::DeleteChannel(std::string_view arg) {
    auto bc = BankChannel(arg);
    if (!bc) return Refuse();
    mem_.channels[bc->first][bc->second] = Channel{};
    if (focus_ == Focus::Channel && focusBank_ == bc->first && focusChannel_ == bc->second)
        focus_ = Focus::None;
    return Ack();
}

Receiver::Answer Receiver::ReceiveState(std::string_view arg) const {
    if (!arg.empty()) return Refuse();
    switch (focus_) {
    case Focus::Channel:
        return {"RX MR" + ZeroPad(focusBank_, 2) + ZeroPad(focusChannel_, 2)};
    case Focus::SearchBank:
        return {"RX SR" + ZeroPad(focusBank_, 2)};
    case Focus::None:
        break;
    }
    return {"RX VFO"};
}

Receiver::Answer Receiver::WriteMode(std::string_view arg) {
    if (arg.empty()) return {std::string("IX") + (writeMode_ ? "1" : "0")};
    if (arg != "0" && arg != "1") return Refuse();
    writeMode_ = arg == "1";
    return Ack();
}

Receiver::Answer Receiver::Offset(std::string_view line) {
    auto index = Number(line.substr(2, 2), 2, kOffsets - 1);
    if (!index) return Refuse();
    if (line.size() == 4)
        return {"OL" + ZeroPad(*index, 2) + " RF" + FormatAnswerMHz(mem_.offsets[*index])};
    // Only the user entries 01..19 can be written; 00 and 20..39 are fixed.
    if (line.substr(4, 3) != " RF" || *index < 1 || *index > 19) return Refuse();
    auto hz = ParseCommandMHz(line.substr(7));
    if (!hz || *hz > kMaxOffset) return Refuse();
    mem_.offsets[*index] = static_cast<std::int32_t>(*hz / 10 * 10);
    return Ack();
}

Receiver::Answer Receiver::ReadSearchBank(std::string_view arg) const {
    auto bank = Number(arg, 2, kSearchBanks - 1);
    if (!bank) return Refuse();
    const SearchBank& s = mem_.searchBanks[*bank];
    const std::string head = "SE" + std::string(arg);
    if (!s.used) return {head + " ---"};
    return {head + " SL" + FormatAnswerMHz(s.LowFreq) + " SU" + FormatAnswerMHz(s.HighFreq) +
            " ST" + FormatAnswerkHz(s.StepFreq) + " SH" + FormatAnswerkHz(s.AdjFreq) + " MD" +
            ModeText(s.mode) + AuField(s.p.Dem_AutoBand) + " PT" +
            std::to_string(s.Flags_ProtectFlag) + " TT" + FixWidth(s.Title, kTitleWidth)};
}

Receiver::Answer Receiver::WriteSearchBank(std::string_view line) {
    auto f = SplitFields(line, true);
    if (!f || !OnlyKeys(*f, {"SL", "SU", "ST", "SH", "MD", "AU", "PT"})) return Refuse();
    auto bank = Number(f->head.substr(2), 2, kSearchBanks - 1);
    auto low = Frequency(*f, "SL");
    auto high = Frequency(*f, "SU");
    auto md = Get(*f, "MD");
    auto mode = md ? ParseMode(*md) : std::nullopt;
    auto protect = Flag(*f, "PT");
    std::optional<int> au;
    if (Get(*f, "AU")) {
        au = Flag(*f, "AU");
        if (!au) return Refuse();
    }
    std::optional<std::int32_t> step, adj;
    if (!bank || !low || !high || !mode || !protect || !Step(*f, "ST", true, step) ||
        !Step(*f, "SH", true, adj))
        return Refuse();

    SearchBank& s = mem_.searchBanks[*bank];
    if (!s.used) {
        s = SearchBank{};
        s.p.IFBW = static_cast<std::uint8_t>(DefaultIfbw(mode->Dem_DModeEnable, mode->AMode));
    } else if (s.p.IFBW > MaxIfbw(mode->AMode)) {
        s.p.IFBW = static_cast<std::uint8_t>(DefaultIfbw(mode->Dem_DModeEnable, mode->AMode));
    }
    s.used = true;
    s.LowFreq = *low;
    s.HighFreq = *high;
    s.StepFreq = *step;
    s.AdjFreq = *adj;
    s.mode = *mode;
    if (au) s.p.Dem_AutoBand = static_cast<std::uint8_t>(*au);
    s.Flags_ProtectFlag = static_cast<std::uint8_t>(*protect);
    s.Title = ChannelTitle(*f->title);
    return Ack();
}

Receiver::Answer Receiver::SelectSearchBank(std::string_view arg) {
    auto bank = Number(arg, 2, kSearchBanks - 1);
    if (!bank || !mem_.searchBanks[*bank].used) {
        focus_ = Focus::None;  // as for a refused recall
        return Refuse();
    }
    focus_ = Focus::SearchBank;
    focusBank_ = *bank;
    return Ack();
}

Receiver::Answer Receiver::DeleteSearchBank(std::string_view arg) {
    auto bank = Number(arg, 2, kSearchBanks - 1);
    if (!bank) return Refuse();
    mem_.searchBanks[*bank] = SearchBank{};
    if (focus_ == Focus::SearchBank && focusBank_ == *bank) focus_ = Focus::None;
    return Ack();
}

Receiver::Answer Receiver::LinkList(std::string_view arg) {
    if (arg.empty()) return {"BK" + LinkText(mem_.searchLink)};
    auto link = ParseLinkList(arg);
    if (!link) return Refuse();
    mem_.searchLink = *link;
    return Ack();
}

Receiver::Answer Receiver::GroupCommand(std::string_view line, bool search) {
    auto& groups = search ? mem_.searchGroups : mem_.scanGroups;
    const std::string key(line.substr(0, 2));
    if (line.size() == 3) {
        auto g = Number(line.substr(2, 1), 1, kGroups - 1);
        if (!g) return Refuse();
        const Group& grp = groups[*g];
        std::string s = key + ZeroPad(*g, 2) + " DL" + ZeroPad(grp.Delay, 3) + " FR" +
                        ZeroPad(grp.Free, 2);
        if (search) s += " AS" + std::to_string(grp.GrpFlag_AutoStore);
        return {s + " BK" + LinkText(grp.Link)};
    }
    auto f = SplitFields(line, false);
    if (!f) return Refuse();
    if (search ? !OnlyKeys(*f, {"DL", "FR", "AS", "BK"}) : !OnlyKeys(*f, {"DL", "FR", "BK"}))
        return Refuse();
    auto g = Number(f->head.substr(2), 1, kGroups - 1);
    auto delay = Get(*f, "DL");
    auto free = Get(*f, "FR");
    auto bk = Get(*f, "BK");
    auto delayV = delay ? SetValue(*delay, 0, 100) : std::nullopt;
    auto freeV = free ? SetValue(*free, 0, 60) : std::nullopt;
    auto link = bk ? ParseLinkList(*bk) : std::nullopt;
    std::optional<int> store = 0;
    if (search) store = Flag(*f, "AS");
    if (!g || !delayV || !freeV || !link || !store) return Refuse();
    groups[*g] = Group{*link, static_cast<std::uint8_t>(*delayV), static_cast<std::uint8_t>(*freeV),
                       static_cast<std::uint8_t>(*store)};
    return Ack();
}

Params* Receiver::FocusParams() {
    if (focus_ == Focus::Channel) {
        Channel& c = mem_.channels[focusBank_][focusChannel_];
        return c.used ? &c.p : nullptr;
    }
    if (focus_ == Focus::SearchBank) {
        SearchBank& s = mem_.searchBanks[focusBank_];
        return s.used ? &s.p : nullptr;
    }
    return nullptr;
}

const Mode* Receiver::FocusMode() const {
    if (focus_ == Focus::Channel) return &mem_.channels[focusBank_][focusChannel_].mode;
    if (focus_ == Focus::SearchBank) return &mem_.searchBanks[focusBank_].mode;
    return nullptr;
}

namespace {

// A parameter command's outcome: the answer to a query, "" for an accepted set, or nothing
// for a refusal.
using ParamResult = std::optional<std::string>;
using ParamHandler = ParamResult (*)(const std::string& key, std::string_view arg, Params& p,
                                     const Mode& mode);

ParamResult IfCommand(const std::string& key, std::string_view arg, Params& p, const Mode& mode) {
    if (arg.empty()) return key + std::to_string(p.IFBW);
    auto v = SetValue(arg, 0, MaxIfbw(mode.AMode));
    if (!v) return std::nullopt;
    p.IFBW = static_cast<std::uint8_t>(*v);
    return "";
}

ParamResult OffsetCommand(const std::string& key, std::string_view arg, Params& p, const Mode&) {
    if (arg.empty()) return key + (p.OffsetFreq < 0 ? "-" : "+") + ZeroPad(std::abs(p.OffsetFreq), 2);
    auto v = ParseSigned(arg);
    if (!v || *v < -(kOffsets - 1) || *v > kOffsets - 1) return std::nullopt;
    p.OffsetFreq = static_cast<std::int16_t>(*v);
    return "";
}

// The tone squelch is one setting; "CI", "SI" and "DI" each show and switch their part.
ParamResult CtcssSwitchCommand(const std::string& key, std::string_view arg, Params& p, const Mode&) {
    if (arg.empty())
        return key + (p.Dem_SQL_Type == kSqlCtc ? "1" : p.Dem_SQL_Type == kSqlRtn ? "2" : "0");
    auto v = SetValue(arg, 0, 2);
    if (!v) return std::nullopt;
    if (*v == 1) p.Dem_SQL_Type = kSqlCtc;
    else if (*v == 2) p.Dem_SQL_Type = kSqlRtn;
    else if (p.Dem_SQL_Type == kSqlCtc || p.Dem_SQL_Type == kSqlRtn) p.Dem_SQL_Type = kSqlOff;
    return "";
}

ParamResult TypeSwitchCommand(const std::string& key, std::string_view arg, Params& p, const Mode&) {
    const std::uint8_t type = key == "SI" ? kSqlScr : kSqlDcs;
    if (arg.empty()) return key + (p.Dem_SQL_Type == type ? "1" : "0");
    auto v = SetValue(arg, 0, 1);
    if (!v) return std::nullopt;
    if (*v == 1) p.Dem_SQL_Type = type;
    else if (p.Dem_SQL_Type == type) p.Dem_SQL_Type = kSqlOff;
    return "";
}

// Set: list index 0..53. Answer: tone number 01..52, 00 off, 99 search.
ParamResult ToneCommand(const std::string& key, std::string_view arg, Params& p, const Mode&) {
    if (arg.empty()) {
        const int c = p.CTCSS_CODE;
        return key + (c == 0 ? "00" : c == 1 ? "99" : ZeroPad(c - 1, 2));
    }
    auto v = SetValue(arg, 0, 53);
    if (!v) return std::nullopt;
    p.CTCSS_CODE = static_cast<std::uint8_t>(*v);
    return "";
}

// Set: list index 0..107. Answer: the three-digit code, 000 off, 999 search.
ParamResult DcsCommand(const std::string& key, std::string_view arg, Params& p, const Mode&) {
    if (arg.empty()) {
        const int c = p.DCS_CODE;
        return key + (c == 0 ? "000" : c == 1 ? "999" : ZeroPad(DcsCodeAt(c), 3));
    }
    auto v = SetValue(arg, 0, kDcsCount + 1);
    if (!v) return std::nullopt;
    p.DCS_CODE = static_cast<std::uint8_t>(*v);
    return "";
}

// Set in decimal, answered in three hexadecimal digits.
ParamResult NacCommand(const std::string& key, std::string_view arg, Params& p, const Mode&) {
    if (arg.empty()) return key + HexPad(p.P25_NACCode, 3);
    auto v = SetValue(arg, 0, 4095);
    if (!v) return std::nullopt;
    p.P25_NACCode = static_cast<std::uint16_t>(*v);
    return "";
}

ParamResult PlainCommand(const PlainKey& k, std::string_view arg, Params& p) {
    if (arg.empty()) return std::string(k.key) + ZeroPad(k.get(p), k.width);
    auto v = SetValue(arg, k.min, k.max);
    if (!v) return std::nullopt;
    k.set(p, *v);
    return "";
}

struct SpecialKey {
    std::string_view key;
    ParamHandler handler;
};

const SpecialKey kSpecialKeys[] = {
    {"IF", IfCommand},          {"OF", OffsetCommand},     {"CI", CtcssSwitchCommand},
    {"SI", TypeSwitchCommand},  {"DI", TypeSwitchCommand}, {"CN", ToneCommand},
    {"DS", DcsCommand},         {"PC", NacCommand},
};

}  // namespace

Receiver::Answer Receiver::Parameter(std::string_view key, std::string_view arg) {
    const PlainKey* plain = nullptr;
    for (const auto& k : kPlainKeys)
        if (k.key == key) plain = &k;
    ParamHandler special = nullptr;
    for (const auto& k : kSpecialKeys)
        if (k.key == key) special = k.handler;
    if (!plain && !special) return Refuse();

    Params* p = FocusParams();
    if (!p) return Refuse();  // nothing recalled
    const ParamResult r = plain ? PlainCommand(*plain, arg, *p)
                                : special(std::string(key), arg, *p, *FocusMode());
    if (!r) return Refuse();
    if (r->empty()) return Ack();
    return {*r};
}

}  // namespace sim
