// The data window's File menu on the real forms, without a receiver: what reaches the
// store, the tables and the message box.
#include "ChannelCsv.h"
#include "ImageFile.h"
#include "JsonEdit.h"
#include "MemoryE2eRig.h"
#include "StoreSamples.h"

#include <QAction>
#include <QFileDialog>
#include <QMenu>

using namespace memory_e2e;

class ExchangeMenuTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir_;
    std::unique_ptr<Forms> forms_;
    QList<UiMessage> messages_;
    int dialogs_ = 0;

    memtab::TMemoryTab* Tab() { return forms_->memory.findChild<memtab::TMemoryTab*>("MemoryTab"); }

    // Runs a menu item; the file dialog answers `file` (after picking `filter` when given).
    void Menu(const char* action, const QString& file, const QString& filter = {})
    {
        UiPrompts::setFileDialogHook([this, file, filter](QFileDialog& d) {
            ++dialogs_;
            if (!filter.isEmpty())
                d.selectNameFilter(filter);
            return file;
        });
        auto* a = forms_->memory.findChild<QAction*>(QLatin1String(action));
        QVERIFY2(a, action);
        a->trigger();
        UiPrompts::setFileDialogHook({});
    }

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = dir_.filePath(name);
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size())
            return {};
        return path;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(dir_.isValid());
        qputenv("XDG_RUNTIME_DIR", dir_.path().toLocal8Bit());
        UiPrompts::setMessageHook([this](QWidget*, const UiMessage& m) { messages_ << m; });
    }

    void init()
    {
        forms_ = std::make_unique<Forms>();
        messages_.clear();
        dialogs_ = 0;
    }

    void cleanup() { forms_.reset(); }

    void menuOffersTheFourItems()
    {
        QStringList captions;
        for (QAction* a : forms_->memory.findChild<QMenu*>("FileMenu")->actions())
            captions << a->text();
        QCOMPARE(captions, (QStringList{"Open Image...", "Save Image...", "Export Channels (CSV)...",
                                        "Import Channels (CSV)..."}));
    }

    void openingShowsTheImageEverywhere()
    {
        int rebuilt = 0;
        forms_->memory.OffsetListsRebuild = [&rebuilt] { ++rebuilt; };
        const QString path = Write("good.json", exchange::WriteImage(*samples::Realistic()));
        Menu("OpenImageMenu", path);
        QVERIFY2(messages_.isEmpty(), qPrintable(messages_.value(0).text));
        QCOMPARE(exchange::WriteImage(forms_->main), exchange::WriteImage(*samples::Realistic()));
        QCOMPARE(Tab()->MemChStringGrid->item(0, 1)->text(), QStringLiteral(" 145.50000"));
        QCOMPARE(Tab()->RegionItemIndex(), 2);
        QCOMPARE(rebuilt, 1);
        QVERIFY(Tab()->Shared().OffsetFreqChanged);
    }

    void aBrokenImageIsRefusedWithItsPlace()
    {
        const QByteArray before = exchange::WriteImage(forms_->main);
        const QByteArray broken =
            EditJson(exchange::WriteImage(*samples::Realistic()), {"memory", "3", "channels", "12", "RxFreq"},
                     5000000000.0);
        Menu("OpenImageMenu", Write("broken.json", broken));
        QCOMPARE(messages_.size(), 1);
        QCOMPARE(messages_[0].kind, UiMessage::Kind::Error);
        QVERIFY2(messages_[0].text.endsWith("memory.bank 3.channel 12.RxFreq: 5000000000 out of range"),
                 qPrintable(messages_[0].text));
        QCOMPARE(exchange::WriteImage(forms_->main), before);
    }

    void savingWritesTheStore()
    {
        forms_->main.MemChData[1][2] = samples::Realistic()->MemChData[0][0];
        const QString path = dir_.filePath("saved.json");
        Menu("SaveImageMenu", path);
        QFile f(path);
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), exchange::WriteImage(forms_->main));
        QVERIFY(messages_.isEmpty());
    }

    void exportTakesTheSelectedBankWhenAsked()
    {
        const auto store = samples::Realistic();
        std::memcpy(forms_->main.MemChData, store->MemChData, sizeof store->MemChData);
        Tab()->MemBankComboBox->setCurrentIndex(3);
        const QString one = dir_.filePath("bank3.csv");
        Menu("ExportChannelsMenu", one, QStringLiteral("MemBank 03 only (*.csv)"));
        const QString all = dir_.filePath("all.csv");
        Menu("ExportChannelsMenu", all);
        QFile f1(one), f2(all);
        QVERIFY(f1.open(QIODevice::ReadOnly) && f2.open(QIODevice::ReadOnly));
        QCOMPARE(f1.readAll(), exchange::ExportChannelsCsv(forms_->main, 3));
        QCOMPARE(f2.readAll(), exchange::ExportChannelsCsv(forms_->main));
    }

    void importListsErrorsOrAppliesAll()
    {
        const auto store = samples::Realistic();
        QByteArray csv = exchange::ExportChannelsCsv(*store, 0);
        const QString good = Write("good.csv", csv);
        const QString bad = Write("bad.csv", csv.replace(",CW,", ",XX,"));

        Menu("ImportChannelsMenu", bad);
        QCOMPARE(messages_.size(), 1);
        QVERIFY2(messages_[0].text.contains("line 4, column 6 (MODE): unknown mode \"XX\""),
                 qPrintable(messages_[0].text));
        QCOMPARE(forms_->main.MemChData[0][0].MemFlag_RegistedFlag, 0);

        Menu("ImportChannelsMenu", good);
        QCOMPARE(messages_.size(), 2);
        QCOMPARE(messages_[1].text, QStringLiteral("50 rows read, 3 channel(s) changed."));
        QCOMPARE(Tab()->MemChStringGrid->item(2, 4)->text(), QStringLiteral("CW"));
    }

    void nothingIsLoadedWhileAnOperationRuns()
    {
        forms_->memory.Engine().SetBusyMark(3);
        Menu("OpenImageMenu", Write("any.json", exchange::WriteImage(*samples::Realistic())));
        Menu("ImportChannelsMenu", Write("any.csv", exchange::ExportChannelsCsv(*samples::Realistic())));
        forms_->memory.Engine().SetBusyMark(kBusyIdle);
        QCOMPARE(dialogs_, 0);
        QCOMPARE(messages_.size(), 2);
        QCOMPARE(messages_[0].text, QStringLiteral("Now Busy!"));
        QCOMPARE(forms_->main.MemChData[0][0].MemFlag_RegistedFlag, 0);
    }
};

QTEST_MAIN(ExchangeMenuTest)
#include "exchange_menu_test.moc"
