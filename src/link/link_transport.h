// LinkTransport: what the exchange routines need of whatever carries the bytes to the
// datalogger (the serial port, the telnet client, a fake in the tests), and the rules in
// which the carriers differ, stated once per transport.
#pragma once

#include <QByteArray>
#include <QString>

class Link;

class LinkTransport {
public:
    // How the exchange routines treat a transport.
    struct Rules {
        // Values go one character per write, each followed by pause(1); otherwise the
        // command text and the values leave in one block.
        bool pacedValues;
        // pause waits; otherwise it returns at once.
        bool pauses;
        // Opened and closed around each exchange while the port is not held open.
        bool opensPerExchange;
        // flushInput discards what the transport holds. Over TCP it discards
        // nothing: the flush is the serial port's, which is closed then.
        bool flushable;
        // readUntil ends only when all the text so far ends with the terminator, and
        // the text before it stays in the receive buffer; otherwise it ends at the first
        // terminator and the buffer is emptied.
        bool terminatorAtEnd;
        // The exchange goes over the internet (the LinkIsTcp of the link state).
        bool tcp;
    };

    // The cable: values paced, pauses kept, the port opened per exchange unless held
    // open, the first terminator ends a search.
    static constexpr Rules serialRules{.pacedValues = true, .pauses = true, .opensPerExchange = true,
                                       .flushable = true, .terminatorAtEnd = false, .tcp = false};
    // The internet: one block per command, no pauses, the connection made once, the
    // search ends only at the end of the text.
    static constexpr Rules tcpRules{.pacedValues = false, .pauses = false, .opensPerExchange = false,
                                    .flushable = false, .terminatorAtEnd = true, .tcp = true};

    // A transport that goes while a link still uses it gives the link back first.
    virtual ~LinkTransport();

    virtual Rules rules() const = 0;
    virtual bool open() = 0;
    virtual void close() = 0;
    virtual bool isOpen() const = 0;
    // Writes bytes and returns once they have left; false (with errorText) on failure.
    virtual bool write(const QByteArray& bytes) = 0;
    // Bytes received and not yet taken.
    virtual int bytesAvailable() = 0;
    // Takes everything received so far.
    virtual QByteArray takeAll() = 0;
    // Throws away everything received so far.
    virtual void discardInput() = 0;
    // Modem control lines; transports without them ignore the call.
    virtual void setDtr(bool on) { (void)on; }
    virtual QString errorText() const = 0;

    // The device or the peer went away (an adapter pulled, a connection closed by the
    // far end): reads in progress end at once with the time-out mark. Cleared when the
    // transport is opened or connected again.
    bool lost() const { return lost_; }
    // True once per loss, so that the link reports it once.
    bool takeLossNotice()
    {
        const bool pending = lossPending_;
        lossPending_ = false;
        return pending;
    }
    QString lossText() const { return lossText_; }

protected:
    void markLost(const QString& why)
    {
        if (lost_)
            return;
        lost_ = true;
        lossPending_ = true;
        lossText_ = why;
    }
    void clearLoss()
    {
        lost_ = false;
        lossPending_ = false;
        lossText_.clear();
    }

private:
    friend class Link;
    Link* link_ = nullptr;  // the link that uses this transport, if any
    bool lost_ = false;
    bool lossPending_ = false;
    QString lossText_;
};
