// The link's state: the transports and taking the link over, the command lock, the
// exchange guard and the waits every routine shares.
#include "link/link.h"

#include "link/link_transport.h"
#include "link/serial_port.h"
#include "link/telnet_client.h"
#include "link/telnet_link.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QTimer>

Link::Link() = default;

Link::Link(Settings settings) : settings_(settings) {}

Link::~Link()
{
    if (active_)
        active_->link_ = nullptr;
}

LinkTransport::~LinkTransport()
{
    if (link_ && link_->active_ == this)
        link_->active_ = nullptr;
}

void Link::setProblemHandler(std::function<void(const LinkProblem&)> handler)
{
    problems_ = std::move(handler);
}

void Link::report(LinkProblem::Kind kind, const QString& text)
{
    if (problems_)
        problems_(LinkProblem{kind, text});
}

void Link::reportLoss(LinkTransport* t)
{
    if (t->takeLossNotice())
        report(LinkProblem::Kind::Lost, t->lossText());
}

void Link::setTransports(SerialPort* s, TelnetClient* t)
{
    const bool registeredInUse = !active_ || active_ == serialRaw_ || active_ == telnetRaw_;
    serialPort_ = s;
    serialRaw_ = s;
    if (telnetClient_.data() != t) {
        telnetClient_ = t;
        telnetLink_ = t ? new TelnetLink(t) : nullptr;
        telnetRaw_ = telnetLink_.data();
    }
    // Until something takes the link over, the exchanges go over the cable.
    if (registeredInUse)
        active_ = s;
}

SerialPort* Link::serial() const { return serialPort_; }
TelnetClient* Link::telnet() const { return telnetClient_; }

LinkTransport* Link::transport()
{
    // A registered component that has gone leaves no dangling transport behind.
    if ((active_ == serialRaw_ && !serialPort_) || (active_ == telnetRaw_ && !telnetLink_))
        active_ = nullptr;
    return active_;
}

bool Link::isTcp()
{
    LinkTransport* t = transport();
    return t && t->rules().tcp;
}

void Link::takeOver(LinkTransport* t, bool heldOpen)
{
    LinkTransport* old = transport();
    if (old && old != t) {
        old->close();
        old->link_ = nullptr;
    }
    active_ = t;
    if (t)
        t->link_ = this;
    receive_.clear();
    portHeldOpen_ = heldOpen;
}

void Link::takeOver(Kind kind, bool heldOpen)
{
    if (kind == Kind::Tcp)
        takeOver(telnetLink_.data(), heldOpen);
    else
        takeOver(serialPort_.data(), heldOpen);
}

void Link::setCommandControls(std::function<void(bool)> switcher)
{
    commandSwitcher_ = std::move(switcher);
}

void Link::switchControls(bool enabled)
{
    if (commandSwitcher_)
        commandSwitcher_(enabled);
}

void Link::lockCommands()
{
    if (lockDepth_++ == 0)
        switchControls(false);
}

void Link::unlockCommands()
{
    if (lockDepth_ == 0)
        return;  // already released by RESTORE
    if (--lockDepth_ == 0)
        switchControls(true);
}

void Link::resetCommandLock()
{
    lockDepth_ = 0;
    switchControls(true);
}

bool Link::exchangesAbandoned() const
{
    return abandoned_ || (endAtFirstTimeout_ > 0 && tally_.timeouts > 0);
}

void Link::serviceUi(int waitMs)
{
    NestedLoop inside(*this);
    if (waitMs > 0) {
        // Sleep in the event loop: data, a click or this wake-up ends the wait.
        QTimer wake;
        wake.setSingleShot(true);
        wake.start(waitMs);
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    } else {
        QCoreApplication::processEvents();
    }
}

void Link::sleepUntil(const QElapsedTimer& since, qint64 ms)
{
    // Strictly more than ms, as the datalogger's pacing needs "at least".
    for (qint64 left = ms - since.elapsed(); left >= 0; left = ms - since.elapsed())
        QThread::usleep(quint64(left) * 1000 + 200);
}

void Link::pause(int hundredths)
{
    LinkTransport* t = transport();
    if (t && !t->rules().pauses)
        return;
    QElapsedTimer started;
    started.start();
    sleepUntil(started, qint64(hundredths) * 10 * settings_.pausePercent / 100);
}

void Link::pullInput(LinkTransport* t)
{
    if (t->isOpen())
        receive_.append(t->takeAll());
}

bool Link::opensPerExchange(const LinkTransport* t) const
{
    return t->rules().opensPerExchange && !portHeldOpen_;
}

void Link::openPort()
{
    if (serialPort_ && !serialPort_->isOpen())
        serialPort_->open();
}

void Link::closePort()
{
    if (serialPort_)
        serialPort_->close();
}

void Link::connectTcp(const QString& host)
{
    TelnetClient* client = telnetClient_;
    if (!client)
        return;
    const quint16 dataloggerPort = settings_.dataloggerTcpPort;
    client->setRemoteHost(host);
    client->setRemotePort(dataloggerPort);
    client->setLocalPort(dataloggerPort);
    client->Connect(host, dataloggerPort);
}

void Link::disconnectTcp()
{
    if (TelnetClient* client = telnetClient_)
        client->Disconnect();
}
