// Time of the two table fills with every record holding data: MemoryBankTableDisplay of a
// bank of 50 channels and SearchBankTableDisplay of the 40 search banks, each the median of
// 100 calls on the shown data window (offscreen), and the process's peak resident memory
// with the forms and a full store.
//
//   kestrel-bench-tables
//
// One JSON object per line on stdout.
#include "FormMain.h"
#include "FormMemory.h"
#include "FormTerminal.h"
#include "MemoryTab.h"
#include "SearchBankTab.h"
#include "UiPrompts.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTabWidget>
#include <QTableWidget>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

void Emit(const char* metric, double value, const char* unit)
{
    std::printf("{\"bench\": \"tables\", \"metric\": \"%s\", \"value\": %.6g, \"unit\": \"%s\"}\n", metric, value, unit);
    std::fflush(stdout);
}

// Varied values in every column, each within its range.
template <class R>
void FillParameters(R& r, int n)
{
    r.ReadState = 2;
    r.AMode = std::uint8_t(n % 7);
    r.Dem_DModeEnable = std::uint8_t(n % 5 == 0);
    r.DMode = std::uint8_t(n % 10);
    r.IFBW = std::uint8_t(n % 2);
    r.RF_ATT = std::uint8_t(n % 3);
    r.OffsetFreq = std::int16_t(n % 79 - 39);
    r.Dem_SQL_Type = std::uint8_t(n % 5);
    r.CTCSS_CODE = std::uint8_t(n % 54);
    r.DCS_CODE = std::uint8_t(n % 108);
    r.VoiceSCR = std::uint16_t(200 + n % 501);
    r.DCR_CODE = std::uint16_t(n * 7 % 32768);
    r.P25_NACCode = std::uint16_t(n * 13 % 4096);
    r.StepFreq = 12500;
    r.AdjFreq = 0;
}

void FillStore(TStore& s)
{
    for (int bank = 0; bank < kMemBankCount; ++bank)
        for (int ch = 0; ch < kMemChPerBank; ++ch) {
            TMemChElement& c = s.MemChData[bank][ch];
            c = s.MemChEmptyData;
            const int n = bank * kMemChPerBank + ch;
            FillParameters(c, n);
            c.MemFlag_RegistedFlag = 1;
            c.MemFlag_Pass = std::uint8_t(n % 2);
            c.MemFlag_ProtectFlag = std::uint8_t(n % 3 == 0);
            c.RxFreq = 100000 + std::int64_t(n) * 1499950;
            const std::string t = "CH " + std::to_string(bank) + "-" + std::to_string(ch);
            SetTitleText(c.Title, std::u16string(t.begin(), t.end()));
        }
    for (int bank = 0; bank < kSearchBankCount; ++bank) {
        TSearchBankElement& b = s.SearchBankData[bank];
        b = s.SearchBankEmptyData;
        FillParameters(b, bank);
        b.Flags_RegistedFlag = 1;
        b.LowFreq = 100000 + std::int64_t(bank) * 70000000;
        b.HighFreq = b.LowFreq + 5000000;
        SetTitleText(b.Title, u"SEARCH RANGE");
    }
    for (int n = 1; n < kOffsetCount; ++n)
        s.OffsetFreqTable[n] = n * 125000;
}

double MedianMs(int runs, const std::function<void(int)>& call)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        call(i);
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
        QApplication::processEvents();  // let the view catch up between calls, as between operations
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}

}  // namespace

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    UiPrompts::setMessageHook([](QWidget*, const UiMessage&) {});
    TFormMain main;
    TFormTerminal terminal(main.CommX1);
    main.setTerminal(&terminal);
    TFormMemory memory(main, main.CommX1, terminal);
    auto* memTab = memory.findChild<memtab::TMemoryTab*>("MemoryTab");
    auto* sbTab = memory.findChild<sbank::TSearchBankTab*>("SearchBankTab");
    if (!memTab || !sbTab)
        return 1;
    FillStore(main);
    memory.show();

    // The call alone, and the call with the window painted at once (what the user waits for).
    memory.PageControl1->setCurrentWidget(memory.MemChPage());
    Emit("MemoryBankTableDisplay_median_of_100", MedianMs(100, [&](int i) { memTab->MemoryBankTableDisplay(i % kMemBankCount); }), "ms");
    Emit("MemoryBankTableDisplay_and_paint_median_of_100", MedianMs(100, [&](int i) {
        memTab->MemoryBankTableDisplay(i % kMemBankCount);
        memory.repaint();
    }), "ms");
    // The fill must have shown the store, or the figures measure nothing.
    if (memTab->MemChStringGrid->item(0, 2)->text() != QStringLiteral("CH 19-0"))
        return 1;
    memory.PageControl1->setCurrentWidget(memory.SearchBankPage());
    Emit("SearchBankTableDisplay_median_of_100", MedianMs(100, [&](int) { sbTab->SearchBankTableDisplay(); }), "ms");
    Emit("SearchBankTableDisplay_and_paint_median_of_100", MedianMs(100, [&](int) {
        sbTab->SearchBankTableDisplay();
        memory.repaint();
    }), "ms");

    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    Emit("peak_rss_forms_with_full_store", double(u.ru_maxrss) / 1024.0, "MiB");
    main.setTerminal(nullptr);
    return 0;
}
