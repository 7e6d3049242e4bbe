// InternetWindow: the Internet Connection window. Keeps the FTP account of up to 70 dataloggers
// that upload their current address to the office's FTP server; fetches the address of
// the selected one, opens the telnet connection to it, reads a few parameters into the
// console and hands over, after which every exchange of the program travels over TCP.
#pragma once

#include "modem/phone_book_window.h"

#include <QElapsedTimer>

class ConsoleDoor;

class InternetWindow : public PhoneBookWindow {
    Q_OBJECT
public:
    // console: the console the connection fills and hands over to.
    InternetWindow(Services& services, ConsoleDoor* console, QWidget* parent = nullptr);

    // The address fetched by the last attempt; empty when none was found.
    QString remoteAddress;

    // The FTP transfer's time-outs; the transfer never waits longer than the total.
    int ftpConnectTimeoutMs = 15000;
    int ftpTotalTimeoutMs = 60000;

    // True while the address file is being fetched ("Stop" cancels it).
    bool fetching() const { return fetching_; }

    // The closing message of a connection.
    static QString establishedMessage();
    // The status when the datalogger sent nothing within the field time-out of the link.
    static QString noDataMessage(int timeoutMs);

public slots:
    void load() override;
    bool save() override;
    void connectSelected() override;
    void dialWithPause() override;
    void stop() override;
    void retry() override;
    void poll() override;

protected:
    // Closing while the address is being fetched cancels the transfer; the window closes
    // as soon as it has ended.
    void closeEvent(QCloseEvent* event) override;

private:
    // The address of row alfa from its FTP site, or an empty text after telling why not.
    QString fetchAddress();
    // Opens the telnet connection; the poll watches for the datalogger's first data.
    void connectTo(const QString& address);
    // The telnet client gave up on the connection the poll is waiting for.
    void connectionFailed(const QString& why);
    // Ends the attempt: no more polling, the connection closed, the reason shown.
    void endAttempt(const QString& status);
    void connectedPhase();
    bool readParameters();

    ConsoleDoor* console_ = nullptr;
    bool fetching_ = false;
    bool cancelFetch_ = false;
    bool closeAfterFetch_ = false;
    bool inConnectedPhase_ = false;
    // "Stop" while the connected phase reads: its reads end at once and it hands nothing over.
    bool stopRequested_ = false;
    QElapsedTimer waitingSince_;  // since the connection was started; the poll's time-out
};
