// A link transport for tests that a pseudo-terminal cannot stand in for: it answers
// commands from a script, feeds bytes on a timer, fails its open, stalls its writes and
// goes away in the middle of a read.
#pragma once

#include "link/link_transport.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <memory>

class FakeTransport : public LinkTransport {
public:
    // The cable's rules by default; tcpRules for the other kind.
    explicit FakeTransport(Rules rules = serialRules);
    ~FakeTransport() override;

    // Bytes that arrive now, or after delayMs of the event loop.
    void feed(const QByteArray& bytes) { input_ += bytes; }
    void feedLater(int delayMs, const QByteArray& bytes);
    // Called with every write; what it returns arrives at once. A write of a command
    // text is one call, each paced values character another.
    std::function<QByteArray(const QByteArray& written)> responder;
    // The device goes away now, or after delayMs of the event loop.
    void drop(const QString& why = QStringLiteral("The adapter was pulled out."));
    void dropLater(int delayMs);

    bool failOpen = false;     // open() fails
    bool stallWrites = false;  // every write fails as a line that never drains would

    QByteArray written;  // everything written, in order
    QList<QByteArray> writes;
    int opens = 0;
    int closes = 0;

    Rules rules() const override { return rules_; }
    bool open() override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool write(const QByteArray& bytes) override;
    int bytesAvailable() override { return int(input_.size()); }
    QByteArray takeAll() override;
    void discardInput() override { input_.clear(); }
    QString errorText() const override { return error_; }

private:
    Rules rules_;
    bool open_ = true;
    QByteArray input_;
    QString error_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};
