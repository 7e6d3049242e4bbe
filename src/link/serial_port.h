// SerialPort: the thin serial-line wrapper the link routines use (port number, settings
// string, DTR/RTS, open/close, buffered count, write, read all) over QSerialPort.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSerialPort;

class SerialPort : public QObject {
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

    explicit SerialPort(QObject* parent = nullptr);
    ~SerialPort() override;

    // COM n, n = 1..8; the device comes from comports.ini.
    void setPortNumber(int n);
    int portNumber() const { return portNumber_; }
    QString deviceName() const;
    // "57600,N,8,1" style; returns false (and sets the error) when it cannot be parsed.
    bool setSettings(const QString& settings);
    QString settings() const { return settings_; }
    void setInputLen(int n) { inputLen_ = n; }
    void setDTREnable(bool on);
    void setRTSEnable(bool on);
    bool dtrEnable() const { return dtr_; }

    bool open();
    void close();
    bool isOpen() const;

    // Bytes received and not yet read; reads what the driver holds first.
    int inBufferCount();
    // Discards everything received (the "set count to 0" of the serial component).
    void clearInput();
    // Writes bytes and waits until they have left for the line.
    bool write(const QByteArray& bytes);
    // Returns everything received so far (at most inputLen bytes when that is not 0).
    QByteArray readAll();

    int errorNumber() const { return errorNumber_; }
    QString errorDescription() const { return errorText_; }

    // The underlying port, for readyRead wake-ups.
    QSerialPort* port() const { return port_; }

private:
    void fail(int number, const QString& text);
    void pullFromDriver();

    QSerialPort* port_;
    QByteArray pending_;
    int portNumber_ = 0;
    QString settings_ = QStringLiteral("57600,N,8,1");
    int inputLen_ = 0;
    bool dtr_ = false;
    bool rts_ = false;
    int errorNumber_ = NoError;
    QString errorText_;
};
