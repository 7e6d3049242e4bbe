// Writes the simulator's state as JSON on SIGUSR1 and at exit; quits cleanly on SIGTERM/SIGINT.
#pragma once

#include <QJsonObject>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <functional>
#include <memory>

class StateDump : public QObject {
    Q_OBJECT
public:
    StateDump(QString path, std::function<QJsonObject()> collect, QObject* parent = nullptr);

    void installSignalHandlers();
    void write();

private:
    void onSignal();

    QString m_path;
    std::function<QJsonObject()> m_collect;
    std::unique_ptr<QSocketNotifier> m_notifier;
    int m_sequence = 0;
};
