// DatiRimanenti ("Acquisizione dati"): fetches the data recorded since the last fetch
// into the yearly file, once on request or every so many minutes, raising DTR for each
// download and dropping it for a pause after; opens the historical chart of the file.
#pragma once

#include "data/remaining_download.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class GraficoStorico;
class QLineEdit;
class QPushButton;

class DatiRimanenti : public QWidget, private RemainingDownload::View {
    Q_OBJECT
public:
    // The timers' lengths (tests shorten them).
    struct Timing {
        int minuteMs = 60000;
        int dtrPauseMs = 10000;
    };
    static Timing& timing();

    // The one window: loaded (with its first DTR pause) and shown by open(), which a
    // second call only raises. nullptr while it is not loaded.
    static DatiRimanenti* open();
    static DatiRimanenti* instance();
    ~DatiRimanenti() override;

    bool GraficoAperto = false;

    QLineEdit* txtAnno = nullptr;
    QLineEdit* txtTimer = nullptr;
    QLineEdit* txtProssimo = nullptr;
    QLineEdit* txtAvviso = nullptr;
    QPushButton* cmdStart = nullptr;
    QPushButton* cmdTimer = nullptr;
    QPushButton* cmdFermaTimer = nullptr;
    QPushButton* cmdGraf = nullptr;
    QPushButton* cmdChiudi = nullptr;
    QTimer* Timer1 = nullptr;
    QTimer* TimerDTR = nullptr;

    bool timerMode() const { return timerMode_; }
    bool downloading() const { return downloading_; }
    int minutesLeft() const { return minutesLeft_; }
    // The last download's result.
    const RemainingDownload::Result& lastResult() const { return last_; }
    GraficoStorico* chartWindow() const;

public slots:
    void cmdStart_Click();
    void cmdTimer_Click();
    void cmdFermaTimer_Click();
    void cmdGraf_Click();
    void cmdChiudi_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    DatiRimanenti();
    void buildControls();
    void layOut();
    void load();
    void Timer1_Timer();
    void waitForDtrTick();
    void recupero_dati();

    // The download's view.
    void notice(const QString& text) override;
    QString yearlyFile() override;
    void graphAvailable(bool available) override;
    void receiving() override;
    void finish() override;

    RemainingDownload::Result last_;
    QPointer<GraficoStorico> chart_;
    int interval_ = 0;
    int minutesLeft_ = 0;
    bool timerMode_ = false;
    bool dtrTickSeen_ = false;
    bool downloading_ = false;
    bool pausing_ = false;
};
