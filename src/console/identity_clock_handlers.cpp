// The console's read/write pairs for the datalogger's name, clock, START time and next
// conversion date.
#include "console/form1.h"

#include "widgets/box_colours.h"
#include "widgets/unsendable.h"
#include "link/conversions.h"
#include "link/dialogs.h"
#include "link/modulo1.h"

#include <QLineEdit>

using namespace Modulo1;
using Conversioni::Val;

namespace {
void paint(const std::array<QLineEdit*, 5>& row)
{
    for (QLineEdit* box : row)
        setBoxColour(box, BoxColour::Yellow);
}

// Day, month and year come back as plain numbers (07 shows as 7), hour and minute as
// two digits.
void readDateRow(const std::array<QLineEdit*, 5>& row, int fields)
{
    for (int i = 0; i < fields; ++i) {
        const QString field = Leggi_Campo();
        if (i < 3)
            row[i]->setText(Conversioni::CStr(Val(field)));
        else if (i < 5)
            row[i]->setText(Conversioni::Format(field, QStringLiteral("00")));
    }
    paint(row);
}

bool inRange(const QLineEdit* box, double low, double high)
{
    const double v = Val(box->text());
    return v >= low && v <= high;
}
} // namespace

void Form1::leggi_nome_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Invia_Comando(QStringLiteral("Q"), QString());
    Nome_Centralina->setText(Leggi_Campo().trimmed());
    setBoxColour(Nome_Centralina, BoxColour::Yellow);
}

void Form1::imposta_nome_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    const QString name = Nome_Centralina->text().trimmed();
    // A comma would end the name early and the rest would reach the datalogger as a
    // command of its own; a character outside Latin-1 would arrive as "?".
    const QString refused = unsendableReason(QStringLiteral("The datalogger ID"), name);
    if (!refused.isEmpty()) {
        dialogs().inform(refused, QStringLiteral("Warning"));
        return;
    }
    setBoxColour(Nome_Centralina, BoxColour::Yellow);
    Nome_Centralina->setText(name);
    link().OutgoingValues = Conversioni::Values({name});
    Invia_Comando(QStringLiteral("q"), link().OutgoingValues);
}

void Form1::leggidata_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Svuota_Ricezione();
    Invia_Comando(QStringLiteral("G"), QStringLiteral(","));
    readDateRow(data, 5);
}

void Form1::LeggiDataAllarme_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    Svuota_Ricezione();
    Invia_Comando(QStringLiteral("Y"), QStringLiteral(","));
    readDateRow(data_allarme, 6);  // the sixth field is not shown
}

// Day, month, hour and minute travel as typed; the year as its value less 1900 with the
// sign position kept (2015 goes out as " 115").
bool Form1::writeDateRow(const std::array<QLineEdit*, 5>& row, const QString& command)
{
    if (!inRange(row[3], 0, 23) || !inRange(row[4], 0, 59))
        return false;
    // A comma typed in a box would shift every following value on the wire, and a
    // character the wire cannot carry would arrive as "?".
    for (int i : {0, 1, 3, 4})
        if (row[i]->text().contains(QLatin1Char(',')) || !Conversioni::fitsTheWire(row[i]->text()))
            return false;
    paint(row);
    const QString year = Conversioni::Str(Val(row[2]->text()) - 1900);
    link().OutgoingValues = Conversioni::Values(
        {row[0]->text(), row[1]->text(), year, row[3]->text(), row[4]->text()});
    Invia_Comando(command, link().OutgoingValues);
    return true;
}

void Form1::impostadata_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    if (!writeDateRow(data, QStringLiteral("g"))) {
        dialogs().inform(QStringLiteral("Controlla i dati inseriti! "), QStringLiteral("Attenzione!!"));
        dialogs().beep();
        return;
    }
    leggidata_Click();
}

void Form1::ScriviDataAllarme_Click()
{
    if (linkBusy())
        return;
    CommandLock lock;
    if (!writeDateRow(data_allarme, QStringLiteral("y"))) {
        dialogs().inform(QStringLiteral("Values not valid! "), QStringLiteral("Warning!!"));
        dialogs().beep();
        return;
    }
    LeggiDataAllarme_Click();
}

// The datalogger answers "D" alone with a fixed 20-character block; the date parts sit at
// fixed positions. A short or malformed block stops the filling where it fails.
void Form1::leggiprox_Click()
{
    if (linkBusy())
        return;
    const QString reply = Invia_Attendi_Porta(QStringLiteral("D"), 20);
    const auto part = [&reply](int position) { return reply.mid(position - 1, 2); };
    const auto complete = [](const QString& text) { return text.size() == 2; };

    if (!complete(part(2)))
        return;
    Prox[0]->setText(part(2));
    if (!complete(part(6)))
        return;
    Prox[1]->setText(part(6));
    if (!complete(part(10)) || !Conversioni::IsNumeric(part(10)))
        return;
    Prox[2]->setText(Conversioni::CStr(2000 + Conversioni::CInt(part(10))));
    if (!complete(part(14)))
        return;
    Prox[3]->setText(part(14));
    if (!complete(part(18)))
        return;
    Prox[4]->setText(part(18));
}
