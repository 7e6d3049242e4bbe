// The port box: the modem probe on every change of its number, the readiness check of
// the port it named before a key, and "Modem lookup", which tries the next port. None of
// them reports an error: a port that is missing, busy or silent has no modem.
#include "modem/phone_book_window.h"

#include "data/phone_book.h"
#include "data/conversions.h"
#include "link/link.h"
#include "link/serial_port.h"

#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace {

const QString modemSettings = QStringLiteral("9600,N,8,1");

// More than this many characters in answer to "ATI3" is a modem.
constexpr int notAModemLength = 8;

QString foundText(int port, const QString& answer)
{
    return QStringLiteral("Modem Found on Com") + Numbers::signedText(port) + answer + QLatin1Char('\r');
}

} // namespace

void PhoneBookWindow::raiseModemLines()
{
    if (SerialPort* port = link_.serial()) {
        // A pseudo-terminal has no modem lines; the failure is of no consequence.
        port->setRTSEnable(true);
        port->setDTREnable(true);
    }
}

bool PhoneBookWindow::reopenPort(int number)
{
    SerialPort* port = link_.serial();
    if (!port)
        return false;
    port->close();
    port->setPortNumber(number);
    port->setSettings(modemSettings);
    port->setInputLen(0);
    const bool opened = port->open();
    if (opened)
        port->discardInput();
    return opened;
}

QString PhoneBookWindow::askIdentification()
{
    SerialPort* port = link_.serial();
    link_.pause(20);
    port->write(QByteArrayLiteral("ATE0\r"));
    link_.pause(20);
    port->discardInput();
    port->write(QByteArrayLiteral("ATI3\r"));
    link_.pause(20);
    return port->isOpen() ? QString::fromLatin1(port->takeAll()) : QString();
}

void PhoneBookWindow::portBoxChanged()
{
    if (link_.busy() || !link_.serial())
        return;
    raiseModemLines();
    const int number = portNumber();
    reopenPort(number);
    const QString answer = askIdentification();
    if (answer.size() > notAModemLength) {
        showStatus(foundText(number, answer));
        PhoneBook::writePort(PhoneBook::modemPortPath(programFolder_), number);
    } else {
        showStatus(QStringLiteral("Modem not found on this COM port"));
    }
    // The port stays open: dialling uses it.
}

void PhoneBookWindow::portBoxKeyPressed(const QString& textBefore)
{
    SerialPort* port = link_.serial();
    if (link_.busy() || !port)
        return;
    const double value = std::trunc(Numbers::leadingNumber(textBefore));
    reopenPort(value >= 0 && value <= 32767 ? int(value) : 0);
    port->write(QByteArrayLiteral("AT\r"));
    link_.pause(50);
    const bool answered = port->isOpen() && !port->takeAll().isEmpty();
    showStatus(answered ? QStringLiteral("MODEM READY") : QStringLiteral("MODEM NOT READY"));
    port->close();
}

void PhoneBookWindow::lookUpModem()
{
    SerialPort* port = link_.serial();
    if (link_.busy() || !port)
        return;
    raiseModemLines();
    showStatus(QStringLiteral("Looking for modem..."));
    const int tried = portNumber() + 1;
    if (reopenPort(tried)) {
        const QString answer = askIdentification();
        if (answer.size() > notAModemLength)
            showStatus(foundText(tried, answer));
    }
    port->close();
    // The probe of the new number gives the verdict, saves the port and leaves it open.
    setPortBox(Numbers::signedText(tried));
    portBox->setEnabled(true);
    modemLookupButton->setEnabled(true);
}

void PhoneBookWindow::setPortBox(const QString& text)
{
    typingPause_->stop();
    if (portBox->text() == text)
        portBoxChanged();  // the same number probed again, as a change would
    else
        portBox->setText(text);
}

// A key typed into the port box: the number before it is remembered for the readiness
// check, which runs with the probe once the typing pauses.
bool PhoneBookWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == portBox && event->type() == QEvent::KeyPress) {
        if (!typingPause_->isActive())
            textBeforeTyping_ = portBox->text();
        typing_ = true;
        QTimer::singleShot(0, this, [this] { typing_ = false; });
    }
    return QMainWindow::eventFilter(watched, event);
}

void PhoneBookWindow::portBoxEdited()
{
    portBoxKeyPressed(textBeforeTyping_);
    portBoxChanged();
}
