// The "READ NOW" page: internal voltages, immediate reads of a multiplexer's channels
// and temperatures, stand-alone recording and continuous measurement.
#include "console/form1.h"

#include "widgets/controls.h"
#include "link/conversions.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

QWidget* Form1::buildReadNowPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* internal = new QHBoxLayout;
    Status = button(page, QStringLiteral("Status"), QStringLiteral("Read internal parameters"));
    internal->addWidget(Status);
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
        MISCONTINUA[n] = button(page, arrayName(QStringLiteral("MISCONTINUA"), n),
                                QStringLiteral("Read Mux %1").arg(n));
        MISCONTINUA_TEMP[n] = button(page, arrayName(QStringLiteral("MISCONTINUA_TEMP"), n),
                                     QStringLiteral("Read Mux %1 Temp").arg(n));
        reads->addWidget(MISCONTINUA[n], 0, n);
        reads->addWidget(MISCONTINUA_TEMP[n], 1, n);
    }
    layout->addLayout(reads);

    QGroupBox* channels = frame(page, QStringLiteral("Channels"));
    auto* grid = new QGridLayout(channels);
    for (int i = 0; i < 16; ++i) {
        const QString caption = QStringLiteral("CH") + Conversioni::Str(i);
        LABCANALI[i] = label(channels, caption, arrayName(QStringLiteral("LABCANALI"), i));
        continua[i] = box(channels, arrayName(QStringLiteral("continua"), i),
                          QStringLiteral("Channel reading %1").arg(i), 80);
        continua[i]->setReadOnly(true);
        LABCANALI[i]->setBuddy(continua[i]);
        const int row = i % 8;
        const int column = (i / 8) * 2;
        grid->addWidget(LABCANALI[i], row, column);
        grid->addWidget(continua[i], row, column + 1);
    }
    grid->setRowStretch(8, 1);
    grid->setColumnStretch(4, 1);
    layout->addWidget(channels, 1);

    auto* more = new QHBoxLayout;
    registradasolo =
        button(page, QStringLiteral("registradasolo"), QStringLiteral("Registra stand alone"));
    cmdApriMisuraContinua[0] = button(page, arrayName(QStringLiteral("cmdApriMisuraContinua"), 0),
                                      QStringLiteral("Read Mux 0 and write on file"));
    more->addWidget(registradasolo);
    more->addWidget(cmdApriMisuraContinua[0]);
    more->addStretch(1);
    layout->addLayout(more);
    return page;
}
