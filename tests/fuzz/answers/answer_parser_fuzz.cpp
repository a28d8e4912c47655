// Each answer parser alone. The first byte chooses the parser, the second the command last
// sent; the rest is split into lines at LF, each handed to the same parser in turn (the
// read families keep their focus between lines). Afterwards every stored field must be
// blank or in its accepted range, and every queued command must name a real channel.
#include "AnswerRig.h"

#include "GroupLines.h"
#include "MemoryRead.h"
#include "MemoryWrite.h"
#include "ParamAnswers.h"
#include "SearchBankLink.h"
#include "SearchBankRead.h"
#include "SearchBankWrite.h"

#include <QString>

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace {

// The recalls match the receive states in the seeds ("RX MR0000", "RX SR00").
constexpr std::array<std::string_view, 8> kSent = {"", "EX", "MR0000", "RX", "SS00", "BK", "BK99", "MA3949"};

struct Parsers {
    std::unique_ptr<TStore> store = std::make_unique<TStore>();
    memparam::TParamShared shared;
    std::int32_t searchBankState = 1;
    TSearchGrpElement backup{};
    bool keepBackup = false;
    TMemoryReadFamily memRead{*store, shared};
    sbank::TSearchBankReadFamily sbRead{*store, shared, sbank::TLinkSave{searchBankState, backup, keepBackup}};

    Parsers()
    {
        store->EmptyData_Init();
        for (auto& bank : store->MemChData)
            for (auto& ch : bank)
                ch = store->MemChEmptyData;
        for (auto& b : store->SearchBankData)
            b = store->SearchBankEmptyData;
    }

    void CheckQueued(const TCommandList& list)
    {
        for (const TQueuedCommand& c : list) {
            const std::string bad = fuzzrig::CheckQueued(c.Command);
            if (!bad.empty())
                fuzzrig::Fail(bad);
        }
    }

    void Line(unsigned which, std::string_view line, std::string_view sent)
    {
        TCommandList appended;
        switch (which) {
        case 0:
            memRead.MemoryReadRes_1Line(line, sent, appended);
            break;
        case 1:
            MemoryWriteRes_1Line(line);
            break;
        case 2:
            sbRead.SearchBankReadRes_1Line(line, sent, appended);
            break;
        case 3: {
            sbank::TLinkSave link{searchBankState, backup, keepBackup};
            sbank::SearchBankWriteRes_1Line(line, sent, link);
            break;
        }
        case 4:
        case 5: {
            const auto kind = which == 4 ? groups::GroupKind::Scan : groups::GroupKind::Search;
            const QString text = QString::fromLatin1(line.data(), qsizetype(line.size()));
            const int at = groups::KeyStart(text, groups::CommandKey(kind));
            if (at >= 0) {
                if (const auto a = groups::ParseGroupAnswer(kind, QStringView(text).mid(at))) {
                    if (a->group < 0 || a->group >= kGroupCount)
                        fuzzrig::Fail("group answer for group " + std::to_string(a->group));
                    (kind == groups::GroupKind::Scan ? store->ScanGrpData : store->SearchGrpData)[a->group] = a->record;
                }
            }
            break;
        }
        case 6:
            if (const auto m = memparam::ParseModeCode(line)) {
                if (m->Dem_DModeEnable > 1 || m->DMode > 9 || m->AMode > 9)
                    fuzzrig::Fail("mode code out of range");
            }
            break;
        default: {
            std::uint8_t link[5] = {};
            sbank::ParseLinkList(line, link);
            break;
        }
        }
        CheckQueued(appended);
        if (memRead.CmdFocusMemBank < 0 || memRead.CmdFocusMemBank >= kMemBankCount || memRead.CmdFocusMemCh < 0 ||
            memRead.CmdFocusMemCh >= kMemChPerBank || sbRead.CmdFocusSearchBank < 0 ||
            sbRead.CmdFocusSearchBank >= kSearchBankCount)
            fuzzrig::Fail("focus outside the store");
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 2)
        return 0;
    const unsigned which = data[0] % 8;
    const std::string_view sent = kSent[data[1] % kSent.size()];
    Parsers p;
    // A recall among the choices lets the receive-state lines open a detail chain.
    p.memRead.CommandSent(sent);
    p.sbRead.CommandSent(sent);
    std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    while (!rest.empty()) {
        const std::size_t lf = rest.find('\n');
        p.Line(which, rest.substr(0, lf), sent);
        if (lf == std::string_view::npos)
            break;
        rest.remove_prefix(lf + 1);
    }
    const std::string bad = fuzzrig::CheckStore(*p.store);
    if (!bad.empty())
        fuzzrig::Fail(bad);
    return 0;
}
