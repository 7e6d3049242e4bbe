// The "READ NOW" page: internal voltages, immediate reads of a multiplexer's channels
// and temperatures, stand-alone recording and continuous measurement.
#include "console/console_window.h"

#include "widgets/controls.h"
#include "data/conversions.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

QWidget* ConsoleWindow::buildReadNowPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* internal = new QHBoxLayout;
    readInternalParametersButton = button(page, QStringLiteral("Status"), QStringLiteral("Read internal parameters"));
    internal->addWidget(readInternalParametersButton);
    const QStringList voltages = {QStringLiteral("5 Volt"), QStringLiteral("3 V Vint"),
                                  QStringLiteral("V Batt")};
    for (int i = 0; i < 3; ++i) {
        para[i] = label(page, voltages[i], arrayName(QStringLiteral("para"), i));
        parameters[i] = box(page, arrayName(QStringLiteral("parameters"), i),
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
        readMuxButtons[n] = button(page, arrayName(QStringLiteral("MISCONTINUA"), n),
                                QStringLiteral("Read Mux %1").arg(n));
        readMuxTemperatureButtons[n] = button(page, arrayName(QStringLiteral("MISCONTINUA_TEMP"), n),
                                     QStringLiteral("Read Mux %1 Temp").arg(n));
        reads->addWidget(readMuxButtons[n], 0, n);
        reads->addWidget(readMuxTemperatureButtons[n], 1, n);
    }
    layout->addLayout(reads);

    QGroupBox* channels = frame(page, QStringLiteral("Channels"));
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

    auto* more = new QHBoxLayout;
    standAloneButton =
        button(page, QStringLiteral("registradasolo"), QStringLiteral("Registra stand alone"));
    continuousReadingButtons[0] = button(page, arrayName(QStringLiteral("cmdApriMisuraContinua"), 0),
                                      QStringLiteral("Read Mux 0 and write on file"));
    more->addWidget(standAloneButton);
    more->addWidget(continuousReadingButtons[0]);
    more->addStretch(1);
    layout->addLayout(more);
    return page;
}
