#include "FormTerminal.h"

#include "CommX.h"
#include "PortEntries.h"
#include "RtfWriter.h"
#include "TrafficLog.h"
#include "UiPrompts.h"
#include "WindowWait.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSaveFile>
#include <QStatusBar>
#include <QTextCursor>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace {

template <typename T>
T* named(T* w, const char* name)
{
    w->setObjectName(QLatin1String(name));
    return w;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, QRect geo)
{
    auto* b = named(new QPushButton(caption, parent), name);
    b->setGeometry(geo);
    return b;
}

}  // namespace

TFormTerminal::TFormTerminal(TCustomCommX& comm, QWidget* parent)
    : QWidget(parent), comm_(comm)
{
    setObjectName(QStringLiteral("FormTerminal"));
    setWindowTitle(QStringLiteral("FormTerminal"));
    setFont(QFont(QStringLiteral("Tahoma"), 9));
    resize(757, 560);
    // Closing only hides it; the main window alone ends the program.
    setAttribute(Qt::WA_QuitOnClose, false);
    createControls();

    connect(OpenButton, &QPushButton::clicked, this, &TFormTerminal::OpenButtonClick);
    connect(CloseButton, &QPushButton::clicked, this, &TFormTerminal::CloseButtonClick);
    connect(SendButton, &QPushButton::clicked, this, &TFormTerminal::SendButtonClick);
    connect(ClearButton, &QPushButton::clicked, this, &TFormTerminal::ClearButtonClick);
    connect(SendFileSelectButton, &QPushButton::clicked, this,
            &TFormTerminal::SendFileSelectButtonClick);
    connect(TextLogSaveButton, &QPushButton::clicked, this,
            &TFormTerminal::TextLogSaveButtonClick);
    connect(RtfLogSaveButton, &QPushButton::clicked, this, &TFormTerminal::RtfLogSaveButtonClick);

    ClearButton->click();
}

void TFormTerminal::createControls()
{
    Panel1 = named(new QFrame(this), "Panel1");
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFixedHeight(105);

    OpenButton = button(Panel1, "OpenButton", QStringLiteral("COM Open"), {8, 8, 90, 27});
    CloseButton = button(Panel1, "CloseButton", QStringLiteral("COM Close"), {104, 8, 90, 27});
    CloseButton->setEnabled(false);

    SendFileEdit = named(new QLineEdit(Panel1), "SendFileEdit");
    SendFileEdit->setGeometry(216, 9, 330, 25);
    SendFileSelectButton = button(Panel1, "SendFileSelectButton", QStringLiteral("..."),
                                  {550, 8, 32, 27});
    QFont big = SendFileSelectButton->font();
    big.setPixelSize(16);
    SendFileSelectButton->setFont(big);
    FileSendStartButton =
        button(Panel1, "FileSendStartButton", QStringLiteral("File Send"), {588, 8, 80, 27});
    FileSendStartButton->setEnabled(false);
    AddMZCheckBox = named(new QCheckBox(QStringLiteral("Add \"MZ\""), Panel1), "AddMZCheckBox");
    AddMZCheckBox->setGeometry(676, 10, 76, 23);

    TimerSendButton = button(Panel1, "TimerSendButton", QStringLiteral("Timer Send Start"),
                             {216, 40, 120, 27});
    TimerSendButton->setEnabled(false);
    TimerSendTimeEdit = named(new QLineEdit(QStringLiteral("2000"), Panel1), "TimerSendTimeEdit");
    TimerSendTimeEdit->setGeometry(342, 41, 60, 25);
    Label1 = named(new QLabel(QStringLiteral("mSec"), Panel1), "Label1");
    Label1->setGeometry(408, 41, 40, 25);
    Label1->setBuddy(TimerSendTimeEdit);

    BottomScrollCheckBox =
        named(new QCheckBox(QStringLiteral("Auto Scroll"), Panel1), "BottomScrollCheckBox");
    BottomScrollCheckBox->setGeometry(460, 42, 100, 23);
    TextLogSaveButton =
        button(Panel1, "TextLogSaveButton", QStringLiteral("Text Log Save"), {560, 40, 92, 27});
    RtfLogSaveButton =
        button(Panel1, "RtfLogSaveButton", QStringLiteral("Rtf Log Save"), {656, 40, 92, 27});

    CommandComboBox = named(new QComboBox(Panel1), "CommandComboBox");
    CommandComboBox->setEditable(true);
    // The history is kept by "Command Send" alone, not by pressing Enter.
    CommandComboBox->setInsertPolicy(QComboBox::NoInsert);
    // No inline completion: what is typed is what is sent.
    CommandComboBox->setCompleter(nullptr);
    CommandComboBox->setGeometry(8, 72, 400, 26);
    SendButton = button(Panel1, "SendButton", QStringLiteral("Command Send"), {416, 71, 110, 27});
    SendButton->setEnabled(false);
    ClearButton = button(Panel1, "ClearButton", QStringLiteral("Clear"), {532, 71, 70, 27});

    RichEdit1 = named(new QPlainTextEdit(this), "RichEdit1");
    RichEdit1->setReadOnly(true);
    // A read-only log needs no undo history; kept, it would grow with every entry of a
    // read that sends tens of thousands of commands.
    RichEdit1->setUndoRedoEnabled(false);
    RichEdit1->setLineWrapMode(QPlainTextEdit::NoWrap);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    RichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    StatusBar1 = named(new QStatusBar(this), "StatusBar1");
    StatusBar1->setSizeGripEnabled(false);

    OpenDialog1 = named(new QFileDialog(this), "OpenDialog1");
    OpenDialog1->setAcceptMode(QFileDialog::AcceptOpen);
    OpenDialog1->setFileMode(QFileDialog::ExistingFile);
    SaveDialog1 = named(new QFileDialog(this), "SaveDialog1");
    SaveDialog1->setAcceptMode(QFileDialog::AcceptSave);
    SendTimer = named(new QTimer(this), "SendTimer");

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel1);
    layout->addWidget(RichEdit1, 1);
    layout->addWidget(StatusBar1);
}

bool TFormTerminal::portOpenedHere() const
{
    return comm_.Tag != 0;
}

void TFormTerminal::setSendControlsEnabled(bool on)
{
    SendButton->setEnabled(on);
    FileSendStartButton->setEnabled(on);
    TimerSendButton->setEnabled(on);
}

void TFormTerminal::OpenButtonClick()
{
    OpenButton->setEnabled(false);
    CloseButton->setEnabled(true);
    if (comm_.Tag != 0) {
        comm_.PortClose();
        comm_.Tag = 0;
        WindowWait::sleepMs(200);
    }
    comm_.setStopBit(csb1);
    comm_.setBitRate(115200);
    comm_.setFlowCtrl(cfcNone);
    try {
        comm_.PortOpen();
    } catch (const ECommError& e) {
        // Open failed: the error box is the whole report; "COM Close" leaves this state.
        UiPrompts::showCommError(this, e);
        return;
    }
    comm_.Tag = comm_.PortNo();
    WindowWait::sleepMs(500);
    setSendControlsEnabled(true);
}

void TFormTerminal::CloseButtonClick()
{
    WindowWait::sleepMs(500);
    comm_.PortClose();
    comm_.Tag = 0;
    CloseButton->setEnabled(false);
    OpenButton->setEnabled(true);
    setSendControlsEnabled(false);
}

void TFormTerminal::SendButtonClick()
{
    const QString text = CommandComboBox->currentText();
    TrafficLog::addEntry(*RichEdit1, text, TrafficLog::kSentColour, true);
    const QByteArray bytes = text.toLatin1();
    comm_.TransString(std::string(bytes.constData(), std::size_t(bytes.size())));
    static const char kCrLf[2] = {13, 10};
    comm_.TransBlock(kCrLf, 2);

    QStringList history;
    for (int i = 0; i < CommandComboBox->count(); ++i)
        history << CommandComboBox->itemText(i);
    history = PushCommandHistory(history, text);
    CommandComboBox->clear();
    CommandComboBox->addItems(history);
    CommandComboBox->setCurrentIndex(0);
}

void TFormTerminal::ClearButtonClick()
{
    RichEdit1->clear();
    QTextCursor c(RichEdit1->document());
    c.movePosition(QTextCursor::Start);
    RichEdit1->setTextCursor(c);
    RichEdit1->setCurrentCharFormat(TrafficLog::logFormat(*RichEdit1, TrafficLog::kProgressColour));
}

void TFormTerminal::SendFileSelectButtonClick()
{
    const QString path = UiPrompts::runFileDialog(*OpenDialog1);
    if (!path.isEmpty())
        SendFileEdit->setText(path);
}

void TFormTerminal::TerminalLog_Add(const QString& str, const QColor& col)
{
    TrafficLog::addEntry(*RichEdit1, str, col, false);
}

void TFormTerminal::TerminalLog_AddSent(const QString& cmd)
{
    TrafficLog::addEntry(*RichEdit1, cmd, TrafficLog::kSentColour, false);
}

void TFormTerminal::TerminalRx_1byte(std::uint8_t d)
{
    const auto line = rx_.push(d);
    if (!line)
        return;
    const QString text =
        QString::fromLatin1(line->bytes.data(), qsizetype(line->bytes.size()));
    TrafficLog::addEntry(*RichEdit1, text, TrafficLog::kReceivedColour, true);
    TrafficLog::pageDown(*RichEdit1);
    if (line->answer && OnRxLine)
        OnRxLine(text);
}

void TFormTerminal::TerminalRxBufClear()
{
    rx_.clear();
}

QString TFormTerminal::chooseSaveFile(const QString& suffix, const QString& filter)
{
    SaveDialog1->setDefaultSuffix(suffix);
    SaveDialog1->setNameFilters({filter, QStringLiteral("All files (*)")});
    return UiPrompts::runFileDialog(*SaveDialog1);
}

void TFormTerminal::writeFile(const QString& path, const QByteArray& data)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        UiPrompts::showError(this, QStringLiteral("Cannot create file \"%1\".").arg(path),
                             f.errorString());
        return;
    }
    f.write(data);
    if (!f.commit())
        UiPrompts::showError(this, QStringLiteral("Cannot write file \"%1\".").arg(path),
                             f.errorString());
}

void TFormTerminal::TextLogSaveButtonClick()
{
    const QString path = chooseSaveFile(QStringLiteral("log"), QStringLiteral("Log files (*.log)"));
    if (!path.isEmpty())
        writeFile(path, RichEdit1->toPlainText().toUtf8());
}

void TFormTerminal::RtfLogSaveButtonClick()
{
    const QString path =
        chooseSaveFile(QStringLiteral("rtf"), QStringLiteral("Rich text files (*.rtf)"));
    if (!path.isEmpty())
        writeFile(path, RtfWriter::write(*RichEdit1->document(), RichEdit1->font()));
}
