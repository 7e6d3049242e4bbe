// MisCont: the continuous reading. Reads every active channel of one multiplexer again
// and again, shows each reading as a row of its table and appends it to the "mc_" file
// the moment it is complete, until the operator stops it; it can open the live chart.
#pragma once

#include "data/chart_matrix.h"

#include <QPointer>
#include <QWidget>

class Grafici;
class QLineEdit;
class QPushButton;
class QTableView;
class ReadingsModel;

class MisCont : public QWidget {
    Q_OBJECT
public:
    explicit MisCont(QWidget* parent = nullptr);
    ~MisCont() override;

    // The one window, created and shown by open(); nullptr while it is not loaded.
    static MisCont* instance();
    // Loads the window (once), sets its multiplexer and shows it without blocking.
    static MisCont* open(qint16 mux);

    qint16 QualeMux = 0;
    bool GraficoAperto = false;

    QPushButton* cmdStart = nullptr;
    QPushButton* cmdStop = nullptr;
    QPushButton* cmdGraf = nullptr;
    QPushButton* cmdChiudi = nullptr;
    QLineEdit* txtAvviso = nullptr;
    QTableView* Grid1 = nullptr;

    // The table: row 0 the titles, then one row per reading, the last one being filled.
    const ChartMatrix& table() const { return table_; }
    // The path of the file of the last run (empty when none was created).
    QString filePath() const { return path_; }
    bool running() const { return running_; }
    Grafici* chartWindow() const;

public slots:
    void cmdStart_Click();
    void cmdStop_Click();
    void cmdGraf_Click();
    void cmdChiudi_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    enum class End { Normal, Broken };
    void showNotice(const QString& text);
    void hideNotice();
    bool chooseFile();
    void runReadings(int channels);
    bool readOnce(int channels);
    void finishRun(End end, const QString& description = QString());
    bool append(const QString& line);
    void redrawChart();

    ChartMatrix table_;
    ReadingsModel* model_ = nullptr;
    QPointer<Grafici> grafici_;
    QString path_;
    QString writeError_;
    bool stopRequest_ = false;
    bool timeoutSeen_ = false;
    bool fileOpen_ = false;
    bool running_ = false;
    qint16 channels_ = 0;
};
