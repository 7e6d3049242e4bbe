// What the program knows of the datalogger it is connected to: what the connection read
// and what the console has read or written since. The console shows it; the other
// windows and the downloads take what they need from it, never from the console's boxes.
#pragma once

#include <QObject>

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

private:
    qint16 modelCode_ = 0;
    bool gsm_ = false;
};
