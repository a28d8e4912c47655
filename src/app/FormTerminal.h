// The terminal window: opens and closes the port with the receiver's settings, logs all
// traffic, sends raw command lines and assembles received bytes into lines.
#pragma once

#include "RxLineBuffer.h"

#include <QColor>
#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>

class QCheckBox;
class QComboBox;
class QFileDialog;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class QPlainTextEdit;
class QTimer;
class TCustomCommX;

class TFormTerminal : public QWidget {
    Q_OBJECT
public:
    explicit TFormTerminal(TCustomCommX& comm, QWidget* parent = nullptr);

    QFrame* Panel1;
    QPushButton* OpenButton;
    QPushButton* CloseButton;
    QLineEdit* SendFileEdit;
    QPushButton* SendFileSelectButton;
    QPushButton* FileSendStartButton;
    QCheckBox* AddMZCheckBox;
    QPushButton* TimerSendButton;
    QLineEdit* TimerSendTimeEdit;
    QLabel* Label1;
    QComboBox* CommandComboBox;
    QPushButton* SendButton;
    QPushButton* ClearButton;
    QCheckBox* BottomScrollCheckBox;
    QPushButton* TextLogSaveButton;
    QPushButton* RtfLogSaveButton;
    QStatusBar* StatusBar1;
    QPlainTextEdit* RichEdit1;
    QFileDialog* OpenDialog1;
    QTimer* SendTimer;
    QFileDialog* SaveDialog1;

    // Progress entry: text in colour col, then a new line.
    void TerminalLog_Add(const QString& str, const QColor& col);
    // Sent command of an operation: blue, no end mark, then a new line.
    void TerminalLog_AddSent(const QString& cmd);
    // One received byte; a completed line is logged and handed to OnRxLine.
    void TerminalRx_1byte(std::uint8_t d);
    // Count 0 and every byte 0.
    void TerminalRxBufClear();

    // Receives every complete answer line (the data window's dispatcher).
    std::function<void(const QString&)> OnRxLine;

    // True after a successful "COM Open" here until "COM Close": the component's Tag holds
    // the port number. A failed open has already shown its error box.
    bool portOpenedHere() const;

    const RxLineBuffer& rxBuffer() const { return rx_; }

public slots:
    void OpenButtonClick();
    void CloseButtonClick();
    void SendButtonClick();
    void ClearButtonClick();
    void SendFileSelectButtonClick();
    void TextLogSaveButtonClick();
    void RtfLogSaveButtonClick();

private:
    void createControls();
    void setSendControlsEnabled(bool on);
    void writeFile(const QString& path, const QByteArray& data);
    QString chooseSaveFile(const QString& suffix, const QString& filter);

    TCustomCommX& comm_;
    RxLineBuffer rx_;
};
