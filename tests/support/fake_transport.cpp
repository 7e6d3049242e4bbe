// The scripted link transport of the tests.
#include "support/fake_transport.h"

#include <QTimer>

#include <memory>

FakeTransport::FakeTransport(Rules rules) : rules_(rules) {}

FakeTransport::~FakeTransport() { *alive_ = false; }

void FakeTransport::feedLater(int delayMs, const QByteArray& bytes)
{
    std::weak_ptr<bool> alive = alive_;
    QTimer::singleShot(delayMs, [this, alive, bytes] {
        if (alive.lock() && *alive.lock())
            input_ += bytes;
    });
}

void FakeTransport::drop(const QString& why)
{
    markLost(why);
    open_ = false;
}

void FakeTransport::dropLater(int delayMs)
{
    std::weak_ptr<bool> alive = alive_;
    QTimer::singleShot(delayMs, [this, alive] {
        if (alive.lock() && *alive.lock())
            drop();
    });
}

bool FakeTransport::open()
{
    ++opens;
    if (failOpen) {
        error_ = QStringLiteral("No such device");
        return false;
    }
    open_ = true;
    clearLoss();
    return true;
}

void FakeTransport::close()
{
    ++closes;
    open_ = false;
}

bool FakeTransport::write(const QByteArray& bytes)
{
    if (!open_ || stallWrites) {
        error_ = open_ ? QStringLiteral("The write timed out") : QStringLiteral("Port not open");
        return false;
    }
    written += bytes;
    writes << bytes;
    if (responder)
        input_ += responder(bytes);
    return true;
}

QByteArray FakeTransport::takeAll()
{
    QByteArray out;
    out.swap(input_);
    return out;
}
