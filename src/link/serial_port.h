// SerialPort: the thin serial-line wrapper the link routines use (port number, settings
// string, DTR/RTS, open/close, buffered count, write, read all) over QSerialPort.
#pragma once

#include "link/link_transport.h"

#include <QByteArray>
#include <QObject>
#include <QString>

#include <functional>

class QSerialPort;

class SerialPort : public QObject, public LinkTransport {
    Q_OBJECT
public:
    // Error numbers the start window maps to its messages.
    enum ErrorNumber {
        NoError = 0,
        InvalidPortNumber = 8002,
        PortAlreadyOpen = 8005,
        DeviceMissing = 8006,
        HardwareUnavailable = 8010,
        PortNotOpen = 8012,
        OtherError = 8015,
    };

    // What the serial port keeps of input that nobody reads: a babbling line between
    // exchanges must not fill the memory. The rest waits in the driver, whose own
    // buffer is small and is thrown away by the next flush.
    static constexpr qint64 IdleInputLimit = 256 * 1024;

    explicit SerialPort(QObject* parent = nullptr);
    ~SerialPort() override;

    // Where COM n is: its device, and what is wrong with how it was named (empty when
    // nothing is); the program's comports.ini tells (see ComPorts::names). Without them
    // a COM number names no device.
    struct PortNames {
        std::function<QString(int port)> device;
        std::function<QString(int port)> fault;
    };
    void setPortNames(PortNames names) { names_ = std::move(names); }
    // COM n, n = 1..8.
    void setPortNumber(int n);
    int portNumber() const { return portNumber_; }
    // A device named by its path rather than by a COM number (until setPortNumber).
    void setDevicePath(const QString& path);
    QString deviceName() const;
    // "57600,N,8,1" style; returns false (and sets the error) when it cannot be parsed.
    bool setSettings(const QString& settings);
    QString settings() const { return settings_; }
    void setInputLen(int n) { inputLen_ = n; }
    void setDTREnable(bool on);
    void setRTSEnable(bool on);
    bool dtrEnable() const { return dtr_; }

    // LinkTransport: values paced per character, pauses kept, opened per exchange unless
    // held open.
    Rules rules() const override { return serialRules; }
    bool open() override;
    void close() override;
    bool isOpen() const override;
    // Bytes received and not yet read; reads what the driver holds first.
    int bytesAvailable() override;
    // Discards everything received, the driver's queue included.
    void discardInput() override;
    // Writes bytes and waits until they have left for the line.
    bool write(const QByteArray& bytes) override;
    // Returns everything received so far (at most inputLen bytes when that is not 0).
    QByteArray takeAll() override;
    void setDtr(bool on) override { setDTREnable(on); }
    QString errorText() const override { return errorText_; }

    int errorNumber() const { return errorNumber_; }
    QString errorDescription() const { return errorText_; }

    // Bytes held by the port object itself, read or not (for the idle-input bound).
    qint64 heldBytes() const;

private:
    void fail(int number, const QString& text);
    void pullFromDriver();
    void noticeLoss();

    QSerialPort* port_;
    QByteArray pending_;
    int portNumber_ = 0;
    PortNames names_;
    QString devicePath_;
    QString settings_ = QStringLiteral("57600,N,8,1");
    int inputLen_ = 0;
    bool dtr_ = false;
    bool rts_ = false;
    int errorNumber_ = NoError;
    QString errorText_;
};
