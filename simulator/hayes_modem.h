// A Hayes modem between the line and the datalogger: AT commands, dialling, "+++" escape.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QJsonObject>
#include <QObject>
#include <QTimer>

#include <functional>

struct Options;

class HayesModem : public QObject {
    Q_OBJECT
public:
    // toLine: bytes the modem itself sends to the program. The options give the dial
    // time, the guard time, the answer at the end of a call attempt and the one to ATI3.
    HayesModem(const Options& o, std::function<void(const QByteArray&)> toLine,
               QObject* parent = nullptr);

    // Bytes from the program; returns what reaches the datalogger (only while online).
    QByteArray input(const QByteArray& bytes);
    bool online() const { return m_mode == Mode::Online; }
    QJsonObject toJson() const;

private:
    enum class Mode { Command, Dialling, Online, OnlineCommand };

    void commandByte(char b);
    void runLine(const QByteArray& line);
    QByteArray onlineByte(char b);
    void onDialled();
    void onGuardElapsed();
    void reply(const QByteArray& text);   // "\r\n" text "\r\n"
    bool connected() const { return m_mode == Mode::Online || m_mode == Mode::OnlineCommand; }

    std::function<void(const QByteArray&)> m_toLine;
    int m_dialMs;
    int m_guardMs;
    QByteArray m_dialResult;
    QByteArray m_ati3Answer;
    QElapsedTimer m_sinceReply;      // the modem's own last answer
    Mode m_mode = Mode::Command;
    bool m_echo = true;
    QByteArray m_line;
    QByteArray m_dialled;
    int m_plus = 0;                  // "+" held back as a possible escape
    QElapsedTimer m_sinceInput;      // silence before the escape
    QTimer m_dialTimer;
    QTimer m_guardTimer;             // silence after the escape
    int m_calls = 0;
    int m_escapes = 0;
};
