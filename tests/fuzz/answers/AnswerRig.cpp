#include "AnswerRig.h"

#include "IntText.h"
#include "MemoryWrite.h"
#include "SearchBankWrite.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace fuzzrig {

namespace {

QString FromStd(const std::string& s) { return QString::fromLatin1(s.data(), qsizetype(s.size())); }

void QueueAll(CommandEngine& e, const TCommandList& list)
{
    for (const TQueuedCommand& c : list)
        e.AppendCommand(FromStd(c.Command), FromStd(c.Option));
}

// "name=value" when value is neither the blank's value nor within lo..hi.
template <class T>
std::string Range(const char* name, T value, T blank, long long lo, long long hi)
{
    const auto v = static_cast<long long>(value);
    if (value == blank || (v >= lo && v <= hi))
        return {};
    return std::string(name) + "=" + std::to_string(v);
}

// The parameter fields that channels and search banks share, with their accepted ranges.
template <class R>
std::string CheckShared(const R& r, const R& b)
{
    std::string e;
    auto add = [&e](std::string s) {
        if (e.empty())
            e = std::move(s);
    };
    add(Range("ReadState", r.ReadState, b.ReadState, 0, 2));
    add(Range("Dem_AutoBand", r.Dem_AutoBand, b.Dem_AutoBand, 0, 1));
    add(Range("IFBW", r.IFBW, b.IFBW, 0, 4));
    add(Range("RF_ATT", r.RF_ATT, b.RF_ATT, 0, 2));
    add(Range("OffsetFreq", r.OffsetFreq, b.OffsetFreq, -39, 39));
    add(Range("RF_SQ_N_L_Type", r.RF_SQ_N_L_Type, b.RF_SQ_N_L_Type, 0, 2));
    add(Range("Dem_DENOIS", r.Dem_DENOIS, b.Dem_DENOIS, 0, 3));
    add(Range("RF_AGC", r.RF_AGC, b.RF_AGC, 0, 3));
    add(Range("Dem_SQL_Type", r.Dem_SQL_Type, b.Dem_SQL_Type, 0, 4));
    add(Range("CTCSS_CODE", r.CTCSS_CODE, b.CTCSS_CODE, 0, 53));
    add(Range("VoiceSCR", r.VoiceSCR, b.VoiceSCR, 200, 700));
    add(Range("DCS_CODE", r.DCS_CODE, b.DCS_CODE, 0, 107));
    add(Range("Dem_DigiDecode", r.Dem_DigiDecode, b.Dem_DigiDecode, 0, 1));
    add(Range("DCR_CODE", r.DCR_CODE, b.DCR_CODE, 0, 32767));
    add(Range("DCR_WHITE", r.DCR_WHITE, b.DCR_WHITE, 0, 511));
    add(Range("NXDN_RANCodeMute", r.NXDN_RANCodeMute, b.NXDN_RANCodeMute, 0, 1));
    add(Range("NXDN_RANCode", r.NXDN_RANCode, b.NXDN_RANCode, 0, 64));
    add(Range("Dem_DMR_Slot", r.Dem_DMR_Slot, b.Dem_DMR_Slot, 0, 3));
    add(Range("DMR_ColorCodeMute", r.DMR_ColorCodeMute, b.DMR_ColorCodeMute, 0, 1));
    add(Range("DMR_ColorCode", r.DMR_ColorCode, b.DMR_ColorCode, 0, 16));
    add(Range("P25_NACCodeMute", r.P25_NACCodeMute, b.P25_NACCodeMute, 0, 1));
    add(Range("P25_NACCode", r.P25_NACCode, b.P25_NACCode, 0, 4095));
    add(Range("RF_TETRA_Slot", r.RF_TETRA_Slot, b.RF_TETRA_Slot, 0, 3));
    add(Range("Dem_DModeEnable", r.Dem_DModeEnable, b.Dem_DModeEnable, 0, 1));
    add(Range("DMode", r.DMode, b.DMode, 0, 9));
    add(Range("AMode", r.AMode, b.AMode, 0, 9));
    add(Range("StepFreq", r.StepFreq, b.StepFreq, 0, 999999));
    add(Range("AdjFreq", r.AdjFreq, b.AdjFreq, 0, 999999));
    // A title read from an answer is at most 12 characters and always ends in a NUL.
    if (r.Title[kTitleLen - 1] != 0 || r.Title[kTitleLen - 2] != 0)
        add("Title not terminated");
    for (char16_t ch : r.Title)
        if (ch > 0xFF)
            add("Title character beyond 8 bits");
    return e;
}

bool Digits(std::string_view s)
{
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return !s.empty();
}

}  // namespace

void Fail(const std::string& what)
{
    std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
    std::fflush(stderr);
    std::abort();
}

std::string CheckChannel(const TMemChElement& c, const TMemChElement& blank)
{
    std::string e = CheckShared(c, blank);
    if (e.empty())
        e = Range("RxFreq", c.RxFreq, blank.RxFreq, 100000, 3000000000LL);
    if (e.empty())
        e = Range("MemFlag_Pass", c.MemFlag_Pass, blank.MemFlag_Pass, 0, 1);
    if (e.empty())
        e = Range("MemFlag_ProtectFlag", c.MemFlag_ProtectFlag, blank.MemFlag_ProtectFlag, 0, 1);
    if (e.empty())
        e = Range("MemFlag_RegistedFlag", c.MemFlag_RegistedFlag, blank.MemFlag_RegistedFlag, 0, 1);
    return e;
}

std::string CheckSearchBank(const TSearchBankElement& b, const TSearchBankElement& blank)
{
    std::string e = CheckShared(b, blank);
    if (e.empty())
        e = Range("LowFreq", b.LowFreq, blank.LowFreq, 100000, 3000000000LL);
    if (e.empty())
        e = Range("HighFreq", b.HighFreq, blank.HighFreq, 100000, 3000000000LL);
    if (e.empty())
        e = Range("Flags_ProtectFlag", b.Flags_ProtectFlag, blank.Flags_ProtectFlag, 0, 1);
    return e;
}

std::string CheckStore(const TStore& s)
{
    for (int bank = 0; bank < kMemBankCount; ++bank) {
        for (int ch = 0; ch < kMemChPerBank; ++ch) {
            // Most channels are never touched; a byte-equal copy of the blank is valid.
            if (std::memcmp(&s.MemChData[bank][ch], &s.MemChEmptyData, sizeof(TMemChElement)) == 0)
                continue;
            const std::string e = CheckChannel(s.MemChData[bank][ch], s.MemChEmptyData);
            if (!e.empty())
                return "channel " + std::to_string(bank) + "/" + std::to_string(ch) + ": " + e;
        }
        const TMemBankElement& h = s.MemBankData[bank];
        if (h.ReadState > 1 || h.MemBankFlag_ProtectFlag > 1 || h.MemBankFlag_RegistedFlag > 1)
            return "bank header " + std::to_string(bank) + " flags out of range";
        if (h.Title[kTitleLen - 1] != 0 || h.Title[kTitleLen - 2] != 0 || h.Title[kTitleLen - 3] != 0)
            return "bank header " + std::to_string(bank) + " title not terminated";
    }
    for (int bank = 0; bank < kSearchBankCount; ++bank) {
        const std::string e = CheckSearchBank(s.SearchBankData[bank], s.SearchBankEmptyData);
        if (!e.empty())
            return "search bank " + std::to_string(bank) + ": " + e;
    }
    for (int g = 0; g < kGroupCount; ++g) {
        for (const TSearchGrpElement* grp : {&s.ScanGrpData[g], &s.SearchGrpData[g]}) {
            if (grp->Delay > 100 || grp->Free > 60 || grp->GrpFlag_AutoStore > 1)
                return "group " + std::to_string(g) + " value out of range";
        }
    }
    if (s.Region < 0 || s.Region > 2)
        return "Region=" + std::to_string(s.Region);
    if (s.OffsetFreqTable[0] != 0)
        return "offset entry 0 changed";
    for (int n = 1; n < kOffsetCount; ++n)
        if (s.OffsetFreqTable[n] < 0)
            return "offset entry " + std::to_string(n) + " negative";
    return {};
}

std::string CheckQueued(std::string_view command)
{
    // Every command that names a memory channel carries two bank and two channel digits.
    for (std::string_view key : {"MR", "MA", "MX", "MQ"}) {
        if (command.substr(0, 2) != key)
            continue;
        const std::string_view bank = command.substr(2, 2);
        const std::string_view ch = command.substr(4, 2);
        if (!Digits(bank) || !Digits(ch) || ReadInt(bank, 99) >= kMemBankCount || ReadInt(ch, 99) >= kMemChPerBank)
            return "queued command names no channel: " + std::string(command);
    }
    for (std::string_view key : {"SS", "SR", "SX"}) {
        if (command.substr(0, 2) != key)
            continue;
        const std::string_view bank = command.substr(2, 2);
        if (!Digits(bank) || ReadInt(bank, 99) >= kSearchBankCount)
            return "queued command names no search bank: " + std::string(command);
    }
    return {};
}

// ---------------------------------------------------------------------------

ReceiveRig::ReceiveRig() : store_(std::make_unique<TStore>())
{
    store_->EmptyData_Init();
    for (auto& bank : store_->MemChData)
        for (auto& ch : bank)
            ch = store_->MemChEmptyData;
    for (auto& b : store_->SearchBankData)
        b = store_->SearchBankEmptyData;

    auto timer = std::make_unique<ManualTimer>();
    timer_ = timer.get();
    engine_ = std::make_unique<CommandEngine>(host_, std::move(timer));
    memRead_ = std::make_unique<TMemoryReadFamily>(*store_, shared_);
    sbRead_ = std::make_unique<sbank::TSearchBankReadFamily>(
        *store_, shared_, sbank::TLinkSave{engine_->SearchBankState, engine_->SearchLinkBackup, keepBackup_});
    scan_ = std::make_unique<groups::GroupOperations>(groups::GroupKind::Scan, *engine_, store_->ScanGrpData);
    search_ = std::make_unique<groups::GroupOperations>(groups::GroupKind::Search, *engine_, store_->SearchGrpData);
    for (auto* g : {scan_.get(), search_.get()}) {
        g->SelectedGroup = [] { return 3; };
        g->Display = [](int) {};
    }

    // The families as the tabs register them: the line in, follow-up commands onto the queue.
    CommandEngine& e = *engine_;
    CommandEngine* engine = engine_.get();
    auto append = [engine](const TCommandList& list) {
        for (const TQueuedCommand& c : list) {
            const std::string bad = CheckQueued(c.Command);
            if (!bad.empty())
                Fail(bad);
        }
        QueueAll(*engine, list);
    };
    e.SetAnswerParser(OpFamily::MemoryRead, [this, append](const QString& l) {
        TCommandList appended;
        const bool claimed = memRead_->MemoryReadRes_1Line(l.toLatin1().toStdString(),
                                                           engine_->SendedCommand().toLatin1().toStdString(), appended);
        append(appended);
        return claimed;
    });
    e.AddSentListener([this](const QString& cmd) {
        memRead_->CommandSent(cmd.toLatin1().toStdString());
        sbRead_->CommandSent(cmd.toLatin1().toStdString());
    });
    e.SetAnswerParser(OpFamily::MemoryWrite,
                      [](const QString& l) { return MemoryWriteRes_1Line(l.toLatin1().toStdString()); });
    e.SetAnswerParser(OpFamily::SearchBankRead, [this, append](const QString& l) {
        TCommandList appended;
        const bool claimed = sbRead_->SearchBankReadRes_1Line(
            l.toLatin1().toStdString(), engine_->SendedCommand().toLatin1().toStdString(), appended);
        append(appended);
        return claimed;
    });
    e.SetAnswerParser(OpFamily::SearchBankWrite, [this](const QString& l) {
        sbank::TLinkSave link{engine_->SearchBankState, engine_->SearchLinkBackup, keepBackup_};
        return sbank::SearchBankWriteRes_1Line(l.toLatin1().toStdString(),
                                               engine_->SendedCommand().toLatin1().toStdString(), link);
    });
    e.SetAnswerParser(OpFamily::ScanGrpRead, [this](const QString& l) { return scan_->ReadRes_1Line(l); });
    e.SetAnswerParser(OpFamily::ScanGrpWrite, [this](const QString& l) { return scan_->WriteRes_1Line(l); });
    e.SetAnswerParser(OpFamily::SearchGrpRead, [this](const QString& l) { return search_->ReadRes_1Line(l); });
    e.SetAnswerParser(OpFamily::SearchGrpWrite, [this](const QString& l) { return search_->WriteRes_1Line(l); });
}

ReceiveRig::~ReceiveRig() = default;

void ReceiveRig::StartEveryFamily()
{
    CommandEngine& e = *engine_;
    TStore& s = *store_;
    e.StartOperation(OpButton::MemBankDetailReadButton, 1, [this] { shared_.CmdOL_ReceivedFlag = 0; },
                     [](CommandEngine& eng) { QueueAll(eng, ReadCommands_1Bank(7)); });
    e.StartOperation(OpButton::MemChWriteButton, 1, nullptr, [&s, this](CommandEngine& eng) {
        QueueAll(eng, WrapWriteCommands(ChannelWriteCommands_1Ch(s, 7, 3), shared_.OffsetFreqChanged, s.OffsetFreqTable));
    });
    e.StartOperation(OpButton::SearchBankAllReadButton, 3, [&e] { e.SearchBankState = 1; },
                     [](CommandEngine& eng) { QueueAll(eng, sbank::ReadCommands_1Bank(5)); });
    e.StartOperation(OpButton::SearchBankWriteButton, 3, [&e] { e.SearchBankState = 1; },
                     [&s, this](CommandEngine& eng) {
                         QueueAll(eng, sbank::WriteCommands_1Bank(s, 5, eng.SearchBankState, shared_.OffsetFreqChanged));
                     });
    // The group tabs refuse while another operation runs; here every family must run at once.
    for (auto* g : {scan_.get(), search_.get()}) {
        e.SetBusyMark(kBusyIdle);
        g->Start(groups::GroupOp::ReadOne);
        e.SetBusyMark(kBusyIdle);
        g->Start(groups::GroupOp::WriteOne);
    }
    for (int f = 0; f < kOpFamilyCount; ++f)
        if (!e.FamilyRunning(static_cast<OpFamily>(f)))
            Fail("family " + std::to_string(f) + " did not start");
}

bool ReceiveRig::PushByte(std::uint8_t d)
{
    const auto line = rx_.push(d);
    if (!line)
        return false;
    if (line->bytes.size() > RxLineBuffer::kSize)
        Fail("line longer than the buffer");
    if (line->answer)
        engine_->MemoryRes_Rx1Line(QString::fromLatin1(line->bytes.data(), qsizetype(line->bytes.size())));
    return true;
}

void ReceiveRig::CheckEngine() const
{
    const CommandEngine& e = *engine_;
    if (e.CommandList().size() != e.CommandOptList().size())
        Fail("command and option lists differ in length");
    if (e.ProgressPosition() < 0 || e.ProgressPosition() > e.ProgressMax())
        Fail("progress position outside 0..maximum");
    if (memRead_->CmdFocusMemBank < 0 || memRead_->CmdFocusMemBank >= kMemBankCount ||
        memRead_->CmdFocusMemCh < 0 || memRead_->CmdFocusMemCh >= kMemChPerBank)
        Fail("memory focus outside the store");
    if (sbRead_->CmdFocusSearchBank < 0 || sbRead_->CmdFocusSearchBank >= kSearchBankCount)
        Fail("search bank focus outside the store");
    if (e.SearchBankState < 0 || e.SearchBankState > 6)
        Fail("search bank state " + std::to_string(e.SearchBankState));
    if (e.TimerTag() == kTimerAwaitAnswer && e.CommandList().isEmpty())
        Fail("waiting for answers with an empty queue");
}

}  // namespace fuzzrig
