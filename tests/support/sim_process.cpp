// Runs the datalogger simulator as a child process for tests.
#include "sim_process.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QThread>
#include <QtTest/QTest>

#include <csignal>

namespace {

int dumpSequence(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    return QJsonDocument::fromJson(f.readAll()).object().value("dump_sequence").toInt(-1);
}


} // namespace

// The environment of a program the tests start. Under the sanitizers its reports go to
// files named after the test, the test function and the program, since nobody reads a
// child's output once a test passes; a last CTest entry fails on any file there.
QProcessEnvironment childEnvironment(const QString& program)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
#ifdef QUORVEL_CHILD_SANITIZER_REPORTS
    const QString dir = QStringLiteral(QUORVEL_CHILD_SANITIZER_REPORTS);
    QDir().mkpath(dir);
    const char* function = QTest::currentTestFunction();
    const QString stem = dir + '/' + QCoreApplication::applicationName() + '.'
                         + QString::fromLatin1(function ? function : "outside-tests") + '.' + program;
    for (const char* name : {"ASAN_OPTIONS", "UBSAN_OPTIONS"}) {
        QString options = env.value(name);
        if (!options.isEmpty())
            options += ':';
        env.insert(name, options + QStringLiteral("log_path=") + stem);
    }
#else
    (void)program;
#endif
    return env;
}

SimProcess::SimProcess(QStringList extraArgs)
    : m_extraArgs(std::move(extraArgs))
{
}

SimProcess::~SimProcess()
{
    stop();
}

QString SimProcess::folder() const
{
    return m_dir ? m_dir->path() : QString();
}

QString SimProcess::ptyPath() const
{
    return folder() + "/ttySIM";
}

quint16 SimProcess::tcpPort() const
{
    return m_port;
}

quint16 SimProcess::ftpPort() const
{
    static const QRegularExpression line(QStringLiteral("ftp listening on [^:]+:(\\d+)"));
    return quint16(line.match(output()).captured(1).toUInt());
}

bool SimProcess::isRunning() const
{
    return m_process && m_process->state() == QProcess::Running;
}

QString SimProcess::output() const
{
    if (m_process)
        m_output += m_process->readAll();
    return QString::fromLocal8Bit(m_output);
}

bool SimProcess::prepareFolder()
{
    stop();
    m_dir = std::make_unique<QTemporaryDir>();
    return m_dir->isValid();
}

bool SimProcess::launch(const QStringList& transportArgs)
{
    m_output.clear();
    m_port = 0;
    m_process = std::make_unique<QProcess>();
    m_process->setProcessChannelMode(QProcess::MergedChannels);
    m_process->setProcessEnvironment(childEnvironment(QStringLiteral("quorvel-sim")));
    QStringList args = transportArgs;
    args << "--wire-log" << folder() + "/wire.jsonl" << "--state-dump" << folder() + "/state.json";
    args << m_extraArgs;
    m_process->start(QStringLiteral(QUORVEL_SIM_PATH), args);
    return m_process->waitForStarted(5000);
}

bool SimProcess::start()
{
    if (!prepareFolder() || !launch({"--pty", ptyPath()}))
        return false;
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        if (QFileInfo::exists(ptyPath()))
            return true;
        if (!isRunning())
            return false;
        m_process->waitForReadyRead(20);
    }
    return false;
}

bool SimProcess::startTcp()
{
    if (!prepareFolder() || !launch({"--tcp", "127.0.0.1:0"}))
        return false;
    static const QRegularExpression listening("tcp listening on [^:]+:(\\d+)");
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired()) {
        const auto match = listening.match(output());
        if (match.hasMatch()) {
            m_port = quint16(match.captured(1).toUInt());
            return true;
        }
        if (!isRunning())
            return false;
        m_process->waitForReadyRead(20);
    }
    return false;
}

QList<WireEntry> SimProcess::readLog(const char* dir) const
{
    QList<WireEntry> entries;
    QFile f(folder() + "/wire.jsonl");
    if (!f.open(QIODevice::ReadOnly))
        return entries;
    const QString wanted = QString::fromLatin1(dir);
    while (!f.atEnd()) {
        const QJsonObject o = QJsonDocument::fromJson(f.readLine()).object();
        if (o.value("dir").toString() == wanted)
            entries.append({qint64(o.value("t_us").toDouble()),
                            QByteArray::fromHex(o.value("hex").toString().toLatin1())});
    }
    return entries;
}

QList<WireEntry> SimProcess::wireLog() const
{
    return readLog("rx");
}

QList<WireEntry> SimProcess::sentLog() const
{
    return readLog("tx");
}

QByteArray SimProcess::received() const
{
    QByteArray all;
    for (const WireEntry& e : wireLog())
        all += e.bytes;
    return all;
}

QByteArray SimProcess::sent() const
{
    QByteArray all;
    for (const WireEntry& e : sentLog())
        all += e.bytes;
    return all;
}

QJsonObject SimProcess::state()
{
    const QString path = folder() + "/state.json";
    if (isRunning()) {
        const int before = dumpSequence(path);
        ::kill(pid_t(m_process->processId()), SIGUSR1);
        const QDeadlineTimer deadline(3000);
        while (!deadline.hasExpired() && dumpSequence(path) <= before)
            QThread::msleep(10);
    }
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return QJsonDocument::fromJson(f.readAll()).object();
}

void SimProcess::stop()
{
    if (!m_process)
        return;
    if (m_process->state() != QProcess::NotRunning) {
        ::kill(pid_t(m_process->processId()), SIGTERM);
        if (!m_process->waitForFinished(3000)) {
            m_process->kill();
            m_process->waitForFinished(1000);
        }
    }
    m_output += m_process->readAll();
    m_process.reset();
}

int SimProcess::commandCount() { return state()["commands"].toArray().size(); }

QStringList SimProcess::commandsSince(int from, const QString& letters)
{
    QStringList out;
    const QJsonArray commands = state()["commands"].toArray();
    for (int i = from; i < commands.size(); ++i) {
        const QJsonObject c = commands[i].toObject();
        const QString letter = c["cmd"].toString();
        if (!letters.contains(letter))
            continue;
        QStringList values;
        for (const QJsonValue& v : c["values"].toArray())
            values << v.toString();
        out << letter + values.join(QLatin1Char(',')) + QLatin1Char(',');
    }
    return out;
}

QByteArray commandLetters(const QByteArray& wire)
{
    QByteArray letters;
    for (char c : wire)
        if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'))
            letters += c;
    return letters;
}

qint64 arrivalUs(const QList<WireEntry>& log, char letter, int from)
{
    for (int i = from; i < log.size(); ++i)
        if (!log[i].bytes.isEmpty() && log[i].bytes[0] == letter)
            return log[i].tUs;
    return -1;
}
