// "Retry": the parameters read again with fixed-length replies, cut by position. Each
// wait is bounded; a reply that falls short ends the reading, keeping what was written.
#include "modem/modem.h"

#include "console/form1.h"
#include "link/conversions.h"
#include "link/modulo1.h"

#include <QAction>
#include <QLineEdit>

namespace {

// Characters pos..pos+len-1 of a reply, counted from 1.
QString cut(const QString& reply, int pos, int len) { return reply.mid(pos - 1, len); }

QString plus2000(const QString& text) { return Conversioni::CStr(Conversioni::Val(text) + 2000); }

// Channels a datalogger can have: 16 on each of four multiplexers.
constexpr int maxChannels = 64;

} // namespace

void Modem::Riprova_Click()
{
    if (Modulo1::linkBusy() || inConnectedPhase_)
        return;
    Scarica();
    showStatus(QStringLiteral("Trying again..."));
    Recupera_Dati();
}

bool Modem::fixedRead(const QString& command, int count, QString& reply)
{
    reply = Modulo1::Invia_Attendi_Porta(command, count);
    if (reply.size() >= count)
        return true;
    showStatus(QStringLiteral("Retry stopped: incomplete answer to ") + command);
    return false;
}

bool Modem::Recupera_Dati()
{
    Modulo1::CommandLock lock;
    Form1* f = console_;
    Timer1->stop();
    Modulo1::Pausa(700);
    Scarica();
    Timer1->stop();

    QString r;
    if (!fixedRead(QStringLiteral("G"), 19, r))
        return false;
    f->data[0]->setText(cut(r, 1, 3).right(2));
    f->data[1]->setText(cut(r, 5, 3).right(2));
    f->data[2]->setText(plus2000(cut(r, 9, 3)));
    f->data[3]->setText(cut(r, 13, 3).right(2));
    f->data[4]->setText(cut(r, 17, 3).right(2));

    if (!fixedRead(QStringLiteral("C"), 12, r))
        return false;
    for (int i = 0; i < 3; ++i)
        f->conversione[i]->setText(Conversioni::CStr(Conversioni::Val(cut(r, 1 + 4 * i, 3))));

    if (!fixedRead(QStringLiteral("E"), 5, r))
        return false;
    f->preaccensione->setText(cut(r, 1, 5));

    Modulo1::Pausa(50);
    if (!fixedRead(QStringLiteral("H"), 3, r))
        return false;
    const double channels = Conversioni::Val(r);
    if (channels < 0 || channels > maxChannels) {
        showStatus(QStringLiteral("Retry stopped: no channel count in the answer to H"));
        return false;
    }
    const int n = int(channels);
    Modulo1::Pausa(50);
    if (n != 0 && !fixedRead(QStringLiteral("H"), 4 * n + 4, r))
        return false;

    if (!fixedRead(QStringLiteral("Q"), 5, r))
        return false;
    f->Nome_Centralina->setText(cut(r, 1, 5));

    if (!fixedRead(QStringLiteral("N"), 20, r))
        return false;
    f->Prox[0]->setText(cut(r, 2, 2));
    f->Prox[1]->setText(cut(r, 6, 2));
    f->Prox[2]->setText(plus2000(cut(r, 10, 2)));
    f->Prox[3]->setText(cut(r, 14, 2));
    f->Prox[4]->setText(cut(r, 18, 2));

    if (n != 0) {
        Modulo1::Pausa(50);
        if (!fixedRead(QStringLiteral("M"), 12, r))
            return false;
        f->acq_disponibili->setText(cut(r, 7, 5));
        f->Acq_possibili->setText(cut(r, 1, 5));
    }

    Modulo1::Pausa(80);
    if (!fixedRead(QStringLiteral("T"), 3, r))
        return false;

    if (QWidget* start = startWindow()) {
        start->hide();
        start->setEnabled(false);
    }
    f->showAfterConnection(this);
    return true;
}
