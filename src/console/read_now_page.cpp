// The "READ NOW" page: its controls; the internal voltages, one multiplexer's readings
// or temperatures now, and the stand-alone recording.
#include "console/read_now_page.h"

#include "data/conversions.h"
#include "link/link.h"
#include "protocol/datalogger_model.h"
#include "protocol/health.h"
#include "protocol/readings.h"
#include "widgets/box_colours.h"
#include "widgets/controls.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

using namespace Controls;
using Numbers::formatted;
using Numbers::leadingNumber;
using Numbers::signedText;

namespace {

QString vibratingWireValue(const QString& field) { return Numbers::shownNumber(leadingNumber(field)); }

QString analogValue(const QString& field)
{
    return Numbers::formatted(field, QStringLiteral("######0.0##"));
}

// A temperature outside -30..80 (both ends included) is no reading of a sensor.
QString temperatureValue(const QString& field)
{
    const double t = leadingNumber(field);
    return (t < -30 || t > 80) ? QStringLiteral("**N.F.**")
                               : Numbers::formatted(t, QStringLiteral("000.0"));
}

} // namespace

ReadNowPage::ReadNowPage(Services& services, QWidget* parent) : ConsolePage(services, parent)
{
    auto* layout = new QVBoxLayout(this);

    auto* internal = new QHBoxLayout;
    readInternalParametersButton = button(this, QStringLiteral("Status"), QStringLiteral("Read internal parameters"));
    internal->addWidget(readInternalParametersButton);
    const QStringList voltages = {QStringLiteral("5 Volt"), QStringLiteral("3 V Vint"),
                                  QStringLiteral("V Batt")};
    for (int i = 0; i < 3; ++i) {
        para[i] = label(this, voltages[i], arrayName(QStringLiteral("para"), i));
        parameters[i] = box(this, arrayName(QStringLiteral("parameters"), i),
                            QStringLiteral("%1 %2").arg(voltages[i]).arg(i), 70);
        parameters[i]->setReadOnly(true);
        para[i]->setBuddy(parameters[i]);
        internal->addWidget(para[i]);
        internal->addWidget(parameters[i]);
    }
    internal->addStretch(1);
    layout->addLayout(internal);

    auto* reads = new QGridLayout;
    for (int n = 0; n < 4; ++n) {
        readMuxButtons[n] = button(this, arrayName(QStringLiteral("MISCONTINUA"), n),
                                QStringLiteral("Read Mux %1").arg(n));
        readMuxTemperatureButtons[n] = button(this, arrayName(QStringLiteral("MISCONTINUA_TEMP"), n),
                                     QStringLiteral("Read Mux %1 Temp").arg(n));
        reads->addWidget(readMuxButtons[n], 0, n);
        reads->addWidget(readMuxTemperatureButtons[n], 1, n);
    }
    layout->addLayout(reads);

    QGroupBox* channels = frame(this, QStringLiteral("Channels"));
    auto* grid = new QGridLayout(channels);
    for (int i = 0; i < 16; ++i) {
        const QString caption = QStringLiteral("CH") + Numbers::signedText(i);
        readingLabels[i] = label(channels, caption, arrayName(QStringLiteral("LABCANALI"), i));
        readingBoxes[i] = box(channels, arrayName(QStringLiteral("continua"), i),
                          QStringLiteral("Channel reading %1").arg(i), 80);
        readingBoxes[i]->setReadOnly(true);
        readingLabels[i]->setBuddy(readingBoxes[i]);
        const int row = i % 8;
        const int column = (i / 8) * 2;
        grid->addWidget(readingLabels[i], row, column);
        grid->addWidget(readingBoxes[i], row, column + 1);
    }
    grid->setRowStretch(8, 1);
    grid->setColumnStretch(4, 1);
    layout->addWidget(channels, 1);

    standAloneButton =
        button(this, QStringLiteral("registradasolo"), QStringLiteral("Registra stand alone"));
    continuousReadingButtons[0] = button(this, arrayName(QStringLiteral("cmdApriMisuraContinua"), 0),
                                      QStringLiteral("Read Mux 0 and write on file"));
    layout->addLayout(leftRow({standAloneButton, continuousReadingButtons[0]}));

    connect(readInternalParametersButton, &QPushButton::clicked, this, &ReadNowPage::readInternalParameters);
    connect(standAloneButton, &QPushButton::clicked, this, &ReadNowPage::standAlone);
    for (int n = 0; n < 4; ++n) {
        connect(readMuxButtons[n], &QPushButton::clicked, this, [this, n] { readMux(n); });
        connect(readMuxTemperatureButtons[n], &QPushButton::clicked, this, [this, n] { readMuxTemperatures(n); });
    }
}

void ReadNowPage::readInternalParameters()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const QStringList fields = Health::readInternalParameters(link_).fields;
    for (size_t i = 0; i < parameters.size(); ++i)
        parameters[i]->setText(formatted(fields[qsizetype(i)], QStringLiteral("00.00")));
}

void ReadNowPage::readMux(int mux)
{
    if (link_.busy() || mux < 0 || mux > 3)
        return;
    readMultiplexer(mux, false);
}

void ReadNowPage::readMuxTemperatures(int mux)
{
    if (link_.busy() || mux < 0 || mux > 3)
        return;
    readMultiplexer(mux, true);
}

void ReadNowPage::standAlone()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    Readings::convertStandAlone(link_);
}

namespace {

// Shows a multiplexer's channels as they come: the label of the channel being read goes
// red, and a value lands in the box of the position the datalogger gave for it (a
// position outside 0..15 is not shown anywhere).
class ShownRead : public Readings::ReadView {
public:
    ShownRead(const std::array<QLabel*, 16>& labels, const std::array<QLineEdit*, 16>& boxes,
              std::function<QString(const QString&)> shown)
        : labels_(labels), boxes_(boxes), shown_(std::move(shown))
    {}
    void reading(int index) override { setTextColour(labels_[index], BoxColour::RedText); }
    void read(int index, const Readings::Channel& channel) override
    {
        if (const std::optional<int> position = Readings::channelPosition(channel.position))
            boxes_[*position]->setText(shown_(channel.value));
        setTextColour(labels_[index], BoxColour::Black);
    }

private:
    const std::array<QLabel*, 16>& labels_;
    const std::array<QLineEdit*, 16>& boxes_;
    std::function<QString(const QString&)> shown_;
};

} // namespace

void ReadNowPage::readMultiplexer(int mux, bool temperatures)
{
    const bool vibratingWire = datalogger_.modelCode() != 0;
    Link::CommandLock lock(link_);
    for (int i = 0; i < 16; ++i) {
        readingLabels[i]->setText(QStringLiteral("CH") + signedText(16 * mux + i));
        readingBoxes[i]->setText(QStringLiteral("N.R."));
    }
    ShownRead view(readingLabels, readingBoxes, [&](const QString& field) {
        return temperatures ? temperatureValue(field) : vibratingWire ? vibratingWireValue(field) : analogValue(field);
    });
    Readings::readMultiplexer(link_, mux, temperatures, datalogger_.channelCount(mux), view);
}
