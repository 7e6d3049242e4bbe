// SerialPort over QSerialPort: the settings string, modem lines and buffered reads.
#include "link/serial_port.h"

#include "link/lock_files.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPort>

namespace {

// Where the serial port library locks a device ("LCK.." and its path, "/" as "_", in
// the first lock folder there is).
QString lockFilePath(const QString& device)
{
    QString name = device.startsWith(QLatin1String("/dev/")) ? device.mid(5) : device;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const char* folder : {"/var/lock", "/etc/locks", "/var/spool/locks", "/var/spool/uucp", "/tmp",
                               "/var/tmp", "/var/lock/lockdev", "/run/lock"}) {
        const QFileInfo dir(QString::fromLatin1(folder));
        if (dir.isDir() && dir.isWritable())
            return QDir(dir.filePath()).filePath(QStringLiteral("LCK..") + name);
    }
    return QString();
}

// Pseudo-terminals and some adapters refuse modem-line changes; the line works anyway.
void setLine(QSerialPort* port, bool dtr, bool on)
{
    if (!port->isOpen())
        return;
    if (dtr)
        port->setDataTerminalReady(on);
    else
        port->setRequestToSend(on);
    port->clearError();
}

} // namespace

SerialPort::SerialPort(QObject* parent)
    : QObject(parent), port_(new QSerialPort(this))
{
    port_->setReadBufferSize(IdleInputLimit);
    // An adapter pulled out, or a line whose far end has gone, cannot be read again:
    // the reads in progress end at once instead of waiting out their time-outs.
    connect(port_, &QSerialPort::errorOccurred, this, [this](QSerialPort::SerialPortError e) {
        // A read that fails outright (EIO) is a device gone, as the resource error is.
        if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError)
            noticeLoss();
    });
}

void SerialPort::noticeLoss()
{
    markLost(tr("The serial port %1 is no longer available.").arg(port_->portName()));
    // Closed later: the port is inside its own notification here.
    QMetaObject::invokeMethod(this, [this] {
        if (lost() && port_->isOpen())
            port_->close();
    }, Qt::QueuedConnection);
}

qint64 SerialPort::heldBytes() const { return port_->bytesAvailable() + pending_.size(); }

SerialPort::~SerialPort() = default;

void SerialPort::setPortNumber(int n)
{
    portNumber_ = n;
    devicePath_.clear();
}

void SerialPort::setDevicePath(const QString& path) { devicePath_ = path; }

QString SerialPort::deviceName() const
{
    if (!devicePath_.isEmpty())
        return devicePath_;
    return names_.device ? names_.device(portNumber_) : QString();
}

bool SerialPort::setSettings(const QString& settings)
{
    const QStringList parts = settings.split(QLatin1Char(','));
    bool baudOk = false;
    const int baud = parts.value(0).trimmed().toInt(&baudOk);
    const QString parity = parts.value(1).trimmed().toUpper();
    const int bits = parts.value(2).trimmed().toInt();
    const QString stop = parts.value(3).trimmed();
    static const QString parities = QStringLiteral("NOEMS");
    if (parts.size() != 4 || !baudOk || baud <= 0 || parity.size() != 1
        || !parities.contains(parity) || bits < 5 || bits > 8
        || (stop != QLatin1String("1") && stop != QLatin1String("1.5")
            && stop != QLatin1String("2"))) {
        fail(OtherError, tr("Invalid settings string: %1").arg(settings));
        return false;
    }
    settings_ = settings;
    port_->setBaudRate(baud);
    const QSerialPort::Parity parityValues[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                QSerialPort::SpaceParity};
    port_->setParity(parityValues[parities.indexOf(parity)]);
    port_->setDataBits(QSerialPort::DataBits(bits));
    port_->setStopBits(stop == QLatin1String("2")     ? QSerialPort::TwoStop
                       : stop == QLatin1String("1.5") ? QSerialPort::OneAndHalfStop
                                                      : QSerialPort::OneStop);
    port_->setFlowControl(QSerialPort::NoFlowControl);
    return true;
}

void SerialPort::setDTREnable(bool on)
{
    dtr_ = on;
    setLine(port_, true, on);
}

void SerialPort::setRTSEnable(bool on)
{
    rts_ = on;
    setLine(port_, false, on);
}

bool SerialPort::open()
{
    errorNumber_ = NoError;
    errorText_.clear();
    if (port_->isOpen()) {
        fail(PortAlreadyOpen, tr("Port already open"));
        return false;
    }
    const QString device = deviceName();
    if (device.isEmpty()) {
        fail(InvalidPortNumber, tr("Invalid port number"));
        return false;
    }
    port_->setPortName(device);
    pending_.clear();
    // The lock another process left on the device while it ended unreaped is no lock.
    if (!port_->open(QIODevice::ReadWrite) && port_->error() == QSerialPort::PermissionError
        && removeLockOfGoneHolder(lockFilePath(device))) {
        port_->clearError();
        port_->open(QIODevice::ReadWrite);
    }
    if (!port_->isOpen()) {
        const auto error = port_->error();
        QString text = port_->errorString();
        port_->clearError();
        // A line of comports.ini that named no device was passed over for the default:
        // the operator is told which line, not left looking at the default device.
        if (devicePath_.isEmpty() && names_.fault)
            if (const QString fault = names_.fault(portNumber_); !fault.isEmpty())
                text += QStringLiteral(" (") + fault + QLatin1Char(')');
        if (error == QSerialPort::DeviceNotFoundError)
            fail(DeviceMissing, text);
        else if (error == QSerialPort::PermissionError)
            fail(HardwareUnavailable, text);
        else
            fail(OtherError, text);
        return false;
    }
    clearLoss();
    setLine(port_, true, dtr_);
    setLine(port_, false, rts_);
    return true;
}

void SerialPort::close()
{
    if (port_->isOpen())
        port_->close();
    pending_.clear();
}

bool SerialPort::isOpen() const { return port_->isOpen(); }

void SerialPort::pullFromDriver()
{
    if (!port_->isOpen())
        return;
    // A zero wait makes the port read what the driver holds without an event loop pass.
    port_->waitForReadyRead(0);
    if (port_->bytesAvailable() > 0)
        pending_.append(port_->readAll());
    port_->clearError();
}

int SerialPort::bytesAvailable()
{
    pullFromDriver();
    return int(pending_.size());
}

void SerialPort::discardInput()
{
    pullFromDriver();
    pending_.clear();
    if (port_->isOpen()) {
        port_->clear(QSerialPort::Input);
        port_->clearError();
    }
}

bool SerialPort::write(const QByteArray& bytes)
{
    if (!port_->isOpen()) {
        fail(PortNotOpen, tr("Port not open"));
        return false;
    }
    if (port_->write(bytes) != bytes.size()) {
        fail(OtherError, port_->errorString());
        port_->clearError();
        return false;
    }
    // Each write must be on the line before the caller's pause starts.
    while (port_->bytesToWrite() > 0) {
        if (!port_->waitForBytesWritten(2000)) {
            fail(OtherError, port_->errorString());
            port_->clearError();
            return false;
        }
    }
    return true;
}

QByteArray SerialPort::takeAll()
{
    if (!port_->isOpen()) {
        fail(PortNotOpen, tr("Port not open"));
        return {};
    }
    pullFromDriver();
    QByteArray out;
    if (inputLen_ > 0 && pending_.size() > inputLen_) {
        out = pending_.left(inputLen_);
        pending_.remove(0, inputLen_);
    } else {
        out.swap(pending_);
    }
    return out;
}

void SerialPort::fail(int number, const QString& text)
{
    errorNumber_ = number;
    errorText_ = text;
}
