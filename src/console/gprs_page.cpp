// The "GPRS" page: its controls and the read and write of its ten settings.
#include "console/gprs_page.h"

#include "data/dialogs.h"
#include "link/link.h"
#include "protocol/settings.h"
#include "widgets/box_colours.h"
#include "widgets/controls.h"
#include "widgets/unsendable.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace Controls;

GprsPage::GprsPage(Services& services, QWidget* parent) : ConsolePage(services, parent)
{
    struct Field {
        const char* label;
        int limit;  // the datalogger's room for the text
    };
    static const Field fields[10] = {
        {"GPRS USERNAME", 14}, {"GPRS PASSWORD", 16}, {"APN SERVER", 29},
        {"FTP SERVER", 29},    {"FTP USERNAME", 20},  {"FTP PASSWORD", 20},
        {"FTP DIRECTORY", 29}, {"FTP PORT", 8},       {"DATA TO SEND", 8},
        {"SEND ALL DATA ALWAYS", 8},
    };

    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int i = 0; i < 10; ++i) {
        const QString caption = QString::fromLatin1(fields[i].label);
        labels[i] = label(this, caption, arrayName(QStringLiteral("GPRSLABEL"), i));
        boxes[i] = box(this, arrayName(QStringLiteral("GPRS"), i),
                      QStringLiteral("%1 %2").arg(caption).arg(i), 260);
        boxes[i]->setMaxLength(fields[i].limit);
        labels[i]->setBuddy(boxes[i]);
        grid->addWidget(labels[i], i, 0);
        grid->addWidget(boxes[i], i, 1);
    }
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);

    readButton = button(this, QStringLiteral("LeggiGPRS"), QStringLiteral("Read GPRS parameters"));
    writeButton = button(this, QStringLiteral("ScriviGPRS"), QStringLiteral("Write GPRS parameters"));
    layout->addLayout(leftRow({readButton, writeButton}));
    layout->addStretch(1);
    for (QLineEdit* box : boxes)
        markEditedOnKey(box);
    connect(readButton, &QPushButton::clicked, this, &GprsPage::read);
    connect(writeButton, &QPushButton::clicked, this, &GprsPage::write);
}

void GprsPage::read()
{
    if (link_.busy())
        return;
    Link::CommandLock lock(link_);
    const QStringList fields = Settings::readGprs(link_).fields;
    for (size_t i = 0; i < boxes.size(); ++i)
        boxes[i]->setText(fields[qsizetype(i)]);
    for (QLineEdit* box : boxes)
        setBoxColour(box, BoxColour::Yellow);
}

void GprsPage::write()
{
    if (link_.busy())
        return;
    for (int i = 0; i < 10; ++i) {
        const QString reason = unsendableReason(labels[i]->text(), boxes[i]->text().trimmed());
        if (!reason.isEmpty()) {
            dialogs_.inform(refusalMessage(reason), QStringLiteral("Warning"));
            return;
        }
    }
    QStringList values;
    for (QLineEdit* box : boxes) {
        box->setText(box->text().trimmed());
        values << box->text();
    }
    Settings::writeGprs(link_, values);
    for (QLineEdit* box : boxes)
        setBoxColour(box, BoxColour::Yellow);
}
