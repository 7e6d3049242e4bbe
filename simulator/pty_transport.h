// A pseudo-terminal whose slave side is published as a symlink for the program to open.
#pragma once

#include "transport.h"

#include <QElapsedTimer>
#include <QSocketNotifier>
#include <QString>
#include <QTimer>

#include <memory>

class PtyTransport : public Transport {
    Q_OBJECT
public:
    explicit PtyTransport(QObject* parent = nullptr);
    ~PtyTransport() override;

    bool open(const QString& linkPath, QString& error);
    QString slaveName() const { return m_slaveName; }

    void send(const QByteArray& bytes) override;
    void drop() override;
    bool isTcp() const override { return false; }
    int pendingBytes() const override { return int(m_out.size()); }

private:
    void onReadable();
    void flush();
    void finishDrop();
    void closeAll();

    int m_master = -1;
    int m_slave = -1;   // kept open so that the master never sees a hang-up between uses
    QString m_link;
    QString m_slaveName;
    QByteArray m_out;
    std::unique_ptr<QSocketNotifier> m_readNotifier;
    std::unique_ptr<QSocketNotifier> m_writeNotifier;
    bool m_dropping = false;     // dropped: waiting for the program to read what was sent
    QTimer m_dropTimer;
    QElapsedTimer m_dropClock;
    int m_emptyChecks = 0;
};
