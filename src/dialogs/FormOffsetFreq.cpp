#include "FormOffsetFreq.h"

#include "FreqText.h"

#include <QEvent>
#include <QShowEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr std::int32_t kDefaultOffsets[kOffsetCount] = {
    0,        0,        0,        0,        0,        0,        0,        0,        0,        0,
    0,        0,        0,        0,        0,        0,        0,        0,        0,        0,
    100000,   4000000,  4600000,  5000000,  8000000,  9000000,  10000000, 15000000, 16000000, 16500000,
    18000000, 18450000, 20000000, 24100000, 37400000, 47200000, 48000000, 55000000, 126350000, 130000000};

constexpr int kFirstUserEntry = 1;
constexpr int kLastUserEntry = 19;

bool IsUserEntry(int nn)
{
    return nn >= kFirstUserEntry && nn <= kLastUserEntry;
}

}  // namespace

TFormOffsetFreq::TFormOffsetFreq(TStore& store, bool& offsetFreqChanged, std::function<void()> rebuildOffsetLists,
                                 QWidget* parent)
    : QDialog(parent), OffsetFreqChanged(offsetFreqChanged), store_(store),
      rebuildOffsetLists_(std::move(rebuildOffsetLists))
{
    setObjectName(QStringLiteral("FormOffsetFreq"));
    setWindowTitle(QStringLiteral("Offset Freq List"));
    setModal(false);

    auto* grid = new QGridLayout;
    for (int nn = 0; nn < kOffsetCount; ++nn) {
        const QString two = QStringLiteral("%1").arg(nn, 2, 10, QLatin1Char('0'));
        auto* label = new QLabel(two + QLatin1Char(':'), this);
        label->setObjectName(QStringLiteral("OF%1Label").arg(two));
        auto* edit = new QLineEdit(this);
        edit->setObjectName(QStringLiteral("OF%1Edit").arg(two));
        edit->setEnabled(IsUserEntry(nn));
        label->setBuddy(edit);
        edit->installEventFilter(this);
        const int column = nn / 10, row = nn % 10;
        grid->addWidget(label, row, column * 2);
        grid->addWidget(edit, row, column * 2 + 1);
        OFLabels[nn] = label;
        OFEdits[nn] = edit;
    }

    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    BitBtn2 = new QPushButton(QStringLiteral("CANCEL"), this);
    BitBtn2->setObjectName(QStringLiteral("BitBtn2"));
    ClearButton = new QPushButton(QStringLiteral("List Initialize"), this);
    ClearButton->setObjectName(QStringLiteral("ClearButton"));
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { BitBtn2Click(); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ClearButton);
    buttons->addStretch(1);
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);

    FormCreate();
}

void TFormOffsetFreq::FormCreate()
{
    OffsetFreq_Init();
    // At start-up the whole default table goes into the store, fixed entries included.
    for (int nn = 0; nn < kOffsetCount; ++nn)
        store_.OffsetFreqTable[nn] = OffsetTmp[nn];
    OffsetTmpChanged = false;
    OffsetFreqChanged = true;
}

void TFormOffsetFreq::FormShow()
{
    OffsetFreq_CopyToTmp();
    OffsetTmpChanged = false;
    OffsetFreq_Display();
}

void TFormOffsetFreq::OffsetFreq_Init()
{
    std::copy(std::begin(kDefaultOffsets), std::end(kDefaultOffsets), OffsetTmp.begin());
}

void TFormOffsetFreq::OffsetFreq_CopyToTmp()
{
    std::copy(std::begin(store_.OffsetFreqTable), std::end(store_.OffsetFreqTable), OffsetTmp.begin());
}

void TFormOffsetFreq::OffsetFreq_CopyFromTmp()
{
    for (int nn = kFirstUserEntry; nn <= kLastUserEntry; ++nn)
        store_.OffsetFreqTable[nn] = OffsetTmp[nn];
}

void TFormOffsetFreq::OffsetFreq_Display()
{
    for (int nn = 0; nn < kOffsetCount; ++nn)
        OFEdits[nn]->setText(QString::fromStdString(dlgfreq::MHzToDotStr(OffsetTmp[nn])));
}

void TFormOffsetFreq::OFEditExit(int nn)
{
    if (!IsUserEntry(nn))
        return;
    const std::int64_t v = InputStrToMHz(OFEdits[nn]->text().toLatin1().toStdString());
    if (v < 0 || v >= 1000000000)
        return;  // refused: the entry keeps its value and the box keeps the typed text
    OffsetTmp[nn] = static_cast<std::int32_t>(v);
    OffsetTmpChanged = true;
    OFEdits[nn]->setText(QString::fromStdString(dlgfreq::MHzToDotStr(v)));
}

void TFormOffsetFreq::BitBtn1Click()
{
    if (OffsetTmpChanged) {
        OffsetFreq_CopyFromTmp();
        OffsetFreqChanged = true;
        if (rebuildOffsetLists_)
            rebuildOffsetLists_();
    }
    hide();
}

void TFormOffsetFreq::BitBtn2Click()
{
    hide();
}

void TFormOffsetFreq::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

bool TFormOffsetFreq::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusOut) {
        for (int nn = kFirstUserEntry; nn <= kLastUserEntry; ++nn)
            if (watched == OFEdits[nn])
                OFEditExit(nn);
    }
    return QDialog::eventFilter(watched, event);
}
