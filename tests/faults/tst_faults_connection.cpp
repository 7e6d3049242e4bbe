// The automatic connection ("Connect") with a fault at each of its reads: it ends within
// its time-outs with the console unlocked, a dropped line or a silence never passes for a
// connection and stops it at once, and a connection that stops says where and can be
// tried again.
#include "faults/fault_matrix.h"
#include "startup/start_rig.h"
#include "support/file_bytes.h"
#include "support/scripted_dialogs.h"
#include "support/sim_process.h"

#include <QPushButton>
#include <QRadioButton>

using FaultMatrix::Step;

class FaultsConnection : public QObject {
    Q_OBJECT

private slots:
    void eachReadOfTheConnection_data()
    {
        FaultMatrix::addRows({{"probe", 'V'}, {"channel list", 'H'}, {"date", 'G'}, {"date, its year", 'G', 2},
                              {"start date", 'Y'}, {"timer", 'C'}, {"timer, its seconds", 'C', 2},
                              {"pre-heating", 'E'}, {"internal parameters", 'W'}, {"memory", 'M'},
                              {"memory, its second field", 'M', 1}, {"name", 'Q'}, {"model", 'D'},
                              {"events counter", 'U'}, {"acquisition status", 'O'}});
    }
    void eachReadOfTheConnection()
    {
        QFETCH(QStringList, fault);
        QFETCH(QString, kind);
        QTemporaryDir folder;
        SimProcess sim(fault);
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        StartRig rig(folder.path(), {sim.ptyPath()});
        ScriptedDialogs script;
        FaultMatrix::quicken(rig.link, 300);
        rig.start->show();
        rig.start->portOptions[0]->setChecked(true);
        QElapsedTimer t;
        t.start();
        QTest::mouseClick(rig.start->connectButton, Qt::LeftButton);
        QVERIFY(FaultMatrix::settled(rig.link, t, 15000));

        const bool connected = rig.console->isVisible();
        const QString statuses = rig.statuses.join('|');
        // A dropped line never passes for a connection, nor does a read that fell silent
        // part-way: the connection stops there, and nothing is sent after that read.
        if (kind != QLatin1String("garbage")) {
            QVERIFY2(!connected, qPrintable(statuses));
            const QByteArray letters = commandLetters(sim.received());
            QVERIFY2(letters.endsWith(fault[1].at(0).toLatin1()), letters.constData());
        }
        if (!connected) {
            // The start window is usable again and the last status says why.
            QVERIFY(rig.start->isVisible() && rig.start->isEnabled());
            QVERIFY(!rig.statuses.isEmpty());
            QVERIFY2(!rig.statuses.last().endsWith(QLatin1String(": OK")), qPrintable(rig.statuses.join('|')));
            QVERIFY(rig.start->connectButton->isEnabled());
        } else {
            QVERIFY(rig.console->isEnabled());
        }
        // A second try, on a datalogger that now answers, connects.
        if (!connected && sim.isRunning() && QFile::exists(sim.ptyPath())) {
            rig.statuses.clear();
            script.shown.clear();
            QTest::mouseClick(rig.start->connectButton, Qt::LeftButton);
            QVERIFY2(rig.console->isVisible(), qPrintable(rig.statuses.join('|') + " / " + script.texts().join('|')));
        }
    }
};

QTEST_MAIN(FaultsConnection)
#include "tst_faults_connection.moc"
