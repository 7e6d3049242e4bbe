// Every setting the datalogger keeps while it runs, with its factory and start-up values.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>

#include <array>

struct Options;

constexpr int kMuxCount = 4;
constexpr int kChannelsPerMux = 16;
constexpr int kChannelCount = kMuxCount * kChannelsPerMux;

struct AnalogSensor {
    QByteArray name;
    std::array<double, 4> coefficients{};   // ZERO_VOLT, FS_VOLT, ZERO_PH, FS_PH
};

struct Alert {
    int enabled = 0;
    double high = 0;
    double low = 0;
};

struct Settings {
    QByteArray name;
    int model = 1;
    QDateTime start;                        // START time of the next acquisition
    int timerSeconds = 600;
    int preheatMs = 1000;
    bool acquisition = false;
    bool eventsCounter = false;
    bool smsAlert = false;
    bool phoneAlert = false;
    bool email = false;
    bool gsm = false;
    bool web = false;
    bool fieldTest = false;
    bool standalone = false;
    std::array<int, kMuxCount> channels{};
    int memoryTotal = 5000;
    std::array<AnalogSensor, kChannelCount> sensors;
    std::array<Alert, kChannelCount> alerts;
    std::array<QByteArray, 5> smsLines;
    std::array<QByteArray, 10> smsNumbers;
    QByteArray smsCount;
    QByteArray callNumber;
    std::array<QByteArray, 10> gprs;
    std::array<qint64, 6> t{};              // the six "T" values as the datalogger holds them
    QByteArray lastD;                       // values of the last "d" command

    int activeChannels() const;
    // Absolute numbers (16 * mux + position) of the active channels, in order.
    QList<int> activeChannelList() const;
};

// What "z" leaves behind: the clock, the model and the memory size are hardware.
Settings factorySettings(int model, int memoryTotal);
// A plausible installation, from the command line.
Settings startSettings(const Options& options);

QJsonObject settingsToJson(const Settings& s);
