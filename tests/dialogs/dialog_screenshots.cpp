// Renders both edit dialogs with an example record into PNG files (for the documentation):
//   dialogs_screenshots <output folder>
#include "TFormMemChEdit.h"
#include "TFormSearchBankEdit.h"

#include <QApplication>
#include <QDir>
#include <QPixmap>

#include <cstdio>

namespace {

void FillOffsets(TStore& store)
{
    static constexpr std::int32_t fixed[20] = {
        100000,   4000000,  4600000,  5000000,  8000000,  9000000,  10000000,
        15000000, 16000000, 16500000, 18000000, 18450000, 20000000, 24100000,
        37400000, 47200000, 48000000, 55000000, 126350000, 130000000};
    for (int n = 20; n < kOffsetCount; ++n)
        store.OffsetFreqTable[n] = fixed[n - 20];
}

bool Save(QWidget& w, const QString& path)
{
    w.show();
    QApplication::processEvents();
    const bool ok = w.grab().save(path);
    std::printf("%s %s\n", ok ? "wrote" : "FAILED", qPrintable(path));
    return ok;
}

}  // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const QDir out(QString::fromLocal8Bit(argv[1]));
    auto store = std::make_unique<TStore>();
    store->EmptyData_Init();
    FillOffsets(*store);

    TMemChElement& ch = store->MemChData[2][14];
    ch = store->MemChEmptyData;
    ch.RxFreq = 146520000;
    ch.MemFlag_RegistedFlag = 1;
    ch.StepFreq = 12500;
    ch.IFBW = 3;
    ch.OffsetFreq = -20;
    ch.RF_ATT = 1;
    ch.Dem_DENOIS = 3;
    ch.Dem_SQL_Type = 1;
    ch.CTCSS_CODE = 15;
    ch.VoiceSCR = 300;
    ch.ReadState = 2;
    SetTitleText(ch.Title, u"CALLING 2M  ");

    TSearchBankElement& sb = store->SearchBankData[5];
    sb = store->SearchBankEmptyData;
    sb.LowFreq = 430000000;
    sb.HighFreq = 440000000;
    sb.Flags_RegistedFlag = 1;
    sb.StepFreq = 12500;
    sb.AdjFreq = 6250;
    sb.IFBW = 3;
    sb.RF_ATT = 1;
    sb.Dem_DENOIS = 3;
    sb.ReadState = 2;
    SetTitleText(sb.Title, u"UHF AMATEUR ");

    TFormMemChEdit memch(*store);
    memch.SetOffsetIndexComboBoxItems();
    memch.EditStart_MemCh(2, 14, 0);
    TFormSearchBankEdit bank(*store);
    bank.SetOffsetIndexComboBoxItems();
    bank.EditStart_SearchBank(5, 0);

    const bool ok = Save(memch, out.filePath(QStringLiteral("memch-dialog.png")))
                    && Save(bank, out.filePath(QStringLiteral("searchbank-dialog.png")));
    return ok ? 0 : 1;
}
