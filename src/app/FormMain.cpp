#include "FormMain.h"

#include "FormTerminal.h"
#include "PortEntries.h"
#include "PortMap.h"
#include "UiPrompts.h"

#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLoggingCategory>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>

#include <algorithm>
#include <stdexcept>
#include <vector>

// Every entry port discovery adds; off unless QT_LOGGING_RULES="kestrel.ports.debug=true",
// so a headless run can show what the program found without reading pixels.
Q_LOGGING_CATEGORY(lcPorts, "kestrel.ports", QtInfoMsg)

namespace {

// The device part of an entry: the device node, then what the platform knows of the
// product, so that a USB converter can be told apart from another by name.
QString DeviceWithDescription(const PortEntry& p)
{
    const QString device = QString::fromStdString(p.device);
    const QString description = QString::fromStdString(p.description).simplified();
    return description.isEmpty() ? device : device + QLatin1Char(' ') + description;
}

}  // namespace

TFormMain::TFormMain(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FormMain"));
    setWindowTitle(QStringLiteral("Kestrel DataUtility"));
    setFont(QFont(QStringLiteral("Tahoma"), 9));
    createControls();
    setFixedSize(369, 147);

    CommX1.setObjectName(QStringLiteral("CommX1"));
    CommX1.setBitRate(115200);
    CommX1.setStopBit(csb2);
    CommX1.OnReceive = [this](TCustomCommX* sender, std::int32_t size) {
        CommX1Receive(sender, size);
    };

    connect(ComSearchButton, &QPushButton::clicked, this, &TFormMain::ComSearchButtonClick);
    connect(ComPortComboBox, &QComboBox::currentTextChanged, this,
            &TFormMain::ComPortComboBoxChange);
    connect(MemoryButton, &QPushButton::clicked, this, &TFormMain::MemoryButtonClick);
    connect(TerminalButton, &QPushButton::clicked, this, &TFormMain::TerminalButtonClick);

    FormCreate();
}

TFormMain::~TFormMain()
{
    // Bytes arriving while the port closes have nowhere to go.
    CommX1.OnReceive = nullptr;
}

void TFormMain::createControls()
{
    Label1 = new QLabel(QStringLiteral("COM:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->installEventFilter(this);

    ComPortComboBox = new QComboBox(this);
    ComPortComboBox->setObjectName(QStringLiteral("ComPortComboBox"));
    ComPortComboBox->setEditable(true);
    ComPortComboBox->setInsertPolicy(QComboBox::NoInsert);
    // No inline completion: typing COM1 must not turn into a listed COM15(...).
    ComPortComboBox->setCompleter(nullptr);
    ComPortComboBox->setEditText(QStringLiteral("ComPortComboBox"));
    ComPortComboBox->setMinimumContentsLength(18);
    Label1->setBuddy(ComPortComboBox);

    ComSearchButton = new QPushButton(QStringLiteral("COM Search"), this);
    ComSearchButton->setObjectName(QStringLiteral("ComSearchButton"));

    Memo1 = new QPlainTextEdit(this);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    Memo1->setVisible(false);

    MemoryButton = new QPushButton(QStringLiteral("Kestrel Data"), this);
    MemoryButton->setObjectName(QStringLiteral("MemoryButton"));
    QFont big = MemoryButton->font();
    big.setPixelSize(16);
    MemoryButton->setFont(big);
    MemoryButton->setMinimumHeight(48);

    TerminalButton = new QPushButton(QStringLiteral("Terminal"), this);
    TerminalButton->setObjectName(QStringLiteral("TerminalButton"));
    TerminalButton->setVisible(false);

    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(12, 12, 12, 12);
    grid->addWidget(Label1, 0, 0);
    grid->addWidget(ComPortComboBox, 0, 1);
    grid->addWidget(ComSearchButton, 0, 2);
    grid->addWidget(MemoryButton, 1, 0, 1, 3);
    grid->setColumnStretch(1, 1);
}

void TFormMain::FormCreate()
{
    ComSearchButton->click();
    EmptyData_Init();
}

void TFormMain::setTerminal(TFormTerminal* terminal)
{
    terminal_ = terminal;
}

void TFormMain::setDataWindow(QWidget* dataWindow)
{
    dataWindow_ = dataWindow;
}

void TFormMain::ComSearchButtonClick()
{
    ComPortComboBox->clear();
    Memo1->clear();
    std::vector<PortEntry> ports;
    try {
        ports = PortLister ? PortLister() : ListPorts();
    } catch (const std::runtime_error&) {
        UiPrompts::showMessage(this, QStringLiteral("Failed in opening SERIALCOMM key!"));
        return;
    }
    if (ports.empty()) {
        UiPrompts::showMessage(this, QStringLiteral("Can not find COM port!"));
        return;
    }
    {
        // One change at the end, for the last entry, as a user's pick would give.
        const QSignalBlocker block(ComPortComboBox);
        for (const PortEntry& p : ports) {
            Memo1->appendPlainText(QString::fromStdString(p.device));
            const QString entry = PortEntryText(p.number, DeviceWithDescription(p));
            ComPortComboBox->addItem(entry);
            qCDebug(lcPorts).noquote() << "port entry" << entry;
        }
        ComPortComboBox->setCurrentIndex(ComPortComboBox->count() - 1);
    }
    ComPortComboBoxChange();
}

void TFormMain::ComPortComboBoxChange()
{
    const std::int32_t n = PortNumberFromEntry(ComPortComboBox->currentText());
    if (n == 0)
        return;
    try {
        // Reopens the port on the new number when it is open.
        CommX1.setPortNo(n);
    } catch (const ECommError& e) {
        UiPrompts::showCommError(this, e);
    }
}

void TFormMain::MemoryButtonClick()
{
    if (!dataWindow_)
        return;
    dataWindow_->show();
    dataWindow_->raise();
    dataWindow_->activateWindow();
}

void TFormMain::Label1Click()
{
    TerminalButton->click();
}

void TFormMain::TerminalButtonClick()
{
    if (!terminal_)
        return;
    terminal_->setWindowTitle(ComPortComboBox->currentText());
    terminal_->show();
    terminal_->raise();
    terminal_->activateWindow();
}

bool TFormMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton &&
        Label1->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
        Label1Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TFormMain::CommX1Receive(TCustomCommX* Sender, std::int32_t ReceiveSize)
{
    (void)Sender;
    if (ReceiveSize <= 0)
        return;
    std::vector<std::uint8_t> buf(std::size_t(ReceiveSize), 0);
    const std::int32_t got = CommX1.ReceiveBlock(buf.data(), ReceiveSize);
    // Only the bytes actually read are passed on; a failed read passes nothing.
    const std::int32_t n = std::min(got, ReceiveSize);
    for (std::int32_t i = 0; i < n; ++i) {
        if (terminal_ && terminal_->CloseButton->isEnabled())
            terminal_->TerminalRx_1byte(buf[std::size_t(i)]);
    }
}
