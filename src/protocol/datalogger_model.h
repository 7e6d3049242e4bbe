// What the program knows of the datalogger it is connected to: what the connection read
// and what the console has read or written since. The console shows it; the other
// windows and the downloads take what they need from it, never from the console's boxes.
#pragma once

#include "data/coefficient_table.h"

#include <QObject>
#include <QString>

#include <array>

class DataloggerModel : public QObject {
    Q_OBJECT
public:
    // 1 vibrating-wire model, 0 analog model: the first field of the answer to "D".
    qint16 modelCode() const { return modelCode_; }
    void setModelCode(qint16 code) { modelCode_ = code; }
    bool analog() const { return modelCode_ == 0; }

    // The datalogger has a GSM modem (the start window's "GSM" box): its line runs at
    // 9600 baud and its timers have longer minimums.
    bool gsm() const { return gsm_; }
    void setGsm(bool gsm) { gsm_ = gsm; }

    // The channel count of multiplexer m (0..3) as the console shows it, and the count it
    // gives: a text that is empty, holds the time-out mark or no whole number 0..16 gives
    // 0 and is not a valid count.
    QString channelText(int m) const { return m >= 0 && m < 4 ? channelTexts_[size_t(m)] : QString(); }
    void setChannelText(int m, const QString& text);
    bool validChannelCount(int m) const { return isChannelCount(channelText(m)); }
    // A channel count as the datalogger reports it: a whole number 0..16.
    static bool isChannelCount(const QString& text);
    int channelCount(int m) const;
    std::array<int, 4> channelCounts() const;

    // The coefficients of each analog channel as last written.
    const CoefficientTable& coefficients() const { return coefficients_; }
    // A channel outside the table is ignored.
    void setCoefficients(int channel, const AnalogCoefficients& c);

private:
    qint16 modelCode_ = 0;
    bool gsm_ = false;
    std::array<QString, 4> channelTexts_{};
    CoefficientTable coefficients_{};
};
