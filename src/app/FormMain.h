// The main window: owns the serial component and the data store, finds the serial ports,
// opens the data window and, through the "COM:" label, the terminal.
#pragma once

#include "CommX.h"
#include "PortMap.h"
#include "Store.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <vector>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TFormTerminal;

class TFormMain : public QWidget, public TStore {
    Q_OBJECT
public:
    explicit TFormMain(QWidget* parent = nullptr);
    ~TFormMain() override;

    QLabel* Label1;
    QComboBox* ComPortComboBox;
    QPushButton* ComSearchButton;
    QPlainTextEdit* Memo1;
    QPushButton* MemoryButton;
    QPushButton* TerminalButton;
    TCommX CommX1;

    // Where port discovery reads the list of ports; empty means the port map (ListPorts).
    // Tests set it to give a fixed list or a failure.
    static inline std::function<std::vector<PortEntry>()> PortLister;

    void setTerminal(TFormTerminal* terminal);
    void setDataWindow(QWidget* dataWindow);

public slots:
    void ComSearchButtonClick();
    void ComPortComboBoxChange();
    void MemoryButtonClick();
    void Label1Click();
    void TerminalButtonClick();

public:
    void CommX1Receive(TCustomCommX* Sender, std::int32_t ReceiveSize);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void FormCreate();

    TFormTerminal* terminal_ = nullptr;
    QWidget* dataWindow_ = nullptr;
};
