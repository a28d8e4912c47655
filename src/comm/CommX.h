// Serial port component: owns one port, queues output for a transmit worker, reports
// received data, breaks and line errors on the window thread.
#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>

// Errors of the serial component. what() is the fixed message; detail() carries the
// operating system's reason where there is one (shown as the error box's detail).
class ECommError : public std::runtime_error {
public:
    explicit ECommError(const std::string& message, std::string detail = {})
        : std::runtime_error(message), detail_(std::move(detail)) {}
    const std::string& detail() const { return detail_; }

private:
    std::string detail_;
};

// Flags passed to OnError. The first three are line errors counted by the driver.
constexpr std::int32_t kCommErrOverrun = 0x2;
constexpr std::int32_t kCommErrParity = 0x4;
constexpr std::int32_t kCommErrFrame = 0x8;
// A chunk's rest was dropped because the device took nothing for TimeOutTrans ms.
constexpr std::int32_t kCommErrTransTimeout = 0x100;
// The device failed or vanished (unplugged, far end of a pseudo-terminal closed);
// reported once, after which the port should be closed and opened again.
constexpr std::int32_t kCommErrIo = 0x400;

namespace kestrel::comm {
class ModemLineOps;
}
class CommMessageWindow;

enum TCommParityBits { cpbNone, cpbOdd, cpbEven };
enum TCommStopBits { csb1, csb1p5, csb2 };
enum TCommFlowCtrls { cfcRtsCts, cfcDtrDsr, cfcXonXoff, cfcHalfHigh, cfcHalfLow, cfcNone };

class TCustomCommX;
using TCommReceiveEvent = std::function<void(TCustomCommX* Sender, std::int32_t ReceiveSize)>;
using TCommBreakEvent = std::function<void(TCustomCommX* Sender)>;
using TCommErrEvent = std::function<void(TCustomCommX* Sender, std::int32_t ErrorState)>;

// The public surface the rest of the program uses. The implementation (workers, termios,
// port map) lives in this folder and may add private members.
class TCustomCommX : public QObject {
    Q_OBJECT
public:
    explicit TCustomCommX(QObject* AOwner = nullptr);
    ~TCustomCommX() override;

    void PortOpen();   // throws ECommError
    void PortClose();  // nothing when closed

    bool TransChar(char c);
    bool TransString(const std::string& s);
    virtual bool TransBlock(const void* Data, std::int32_t BufSize);
    std::int32_t ReceiveChar();
    virtual std::int32_t ReceiveBlock(void* Buf, std::int32_t MaxSize);

    void ClearTransBuf();
    void ClearReceiveBuf();
    std::int32_t GetTransLength();
    std::int32_t GetReceiveLength();

    void SetRtsSignal(bool Signal);
    void SetDtrSignal(bool Signal);
    bool IsCtsSignal();
    bool IsDsrSignal();
    bool IsRingSignal();
    bool IsRlsdSignal();
    void SendBreak();

    bool isOpen() const;

    // Properties (published by TCommX in the original design).
    std::int32_t PortNo() const;
    void setPortNo(std::int32_t v);
    std::int32_t BitRate() const;
    void setBitRate(std::int32_t v);
    std::int32_t CharSize() const;
    void setCharSize(std::int32_t v);
    TCommParityBits ParityBit() const;
    void setParityBit(TCommParityBits v);
    TCommStopBits StopBit() const;
    void setStopBit(TCommStopBits v);
    TCommFlowCtrls FlowCtrl() const;
    void setFlowCtrl(TCommFlowCtrls v);
    std::int32_t TimeOutTrans() const;
    void setTimeOutTrans(std::int32_t v);
    std::int32_t TimeOutReceive() const;
    void setTimeOutReceive(std::int32_t v);
    char XonChar() const;
    void setXonChar(char v);
    char XoffChar() const;
    void setXoffChar(char v);
    std::int32_t BufLenTrans() const;
    void setBufLenTrans(std::int32_t v);
    std::int32_t BufLenReceive() const;
    void setBufLenReceive(std::int32_t v);
    int Handle() const;  // file descriptor, -1 when closed

    TCommReceiveEvent OnReceive;
    TCommBreakEvent OnBreak;
    TCommErrEvent OnError;

    // The general-purpose integer every component carries.
    std::int32_t Tag = 0;

    // Replaces the modem-line calls (RTS, DTR, status, break); applies from the next
    // PortOpen. Lets tests watch the lines a pseudo-terminal does not have.
    void setModemLineOps(std::shared_ptr<kestrel::comm::ModemLineOps> ops);

protected:
    // Called by TransBlock for every chunk handed to the transmit worker, in order.
    virtual void ChunkQueued(std::int32_t Size);

    struct Impl;
    std::shared_ptr<Impl> d;

private:
    friend class CommMessageWindow;
    void HandleNotice(int Kind, std::uint64_t Generation, std::int32_t Param);
    void ApplySetting(bool ok, const char* message);
    void StartWorkers();
};

class TCommX : public TCustomCommX {
    Q_OBJECT
public:
    using TCustomCommX::TCustomCommX;
};
