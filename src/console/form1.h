// Form1: the main console, its eight pages of controls, its menu and its handlers.
#pragma once

#include "widgets/switch_box.h"

#include <QMainWindow>

#include <array>
#include <functional>
#include <memory>

namespace MemoryDownload {
struct Store;
}

class QAction;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    explicit Form1(QWidget* parent = nullptr);
    ~Form1() override;

    // The one console of the program (set by the constructor).
    static Form1* instance();

    // The console for an analog (model 0) datalogger.
    void adaptForAnalogModel();
    // The hand-over after a connection: the window that connected hides and the
    // console takes its place.
    void showAfterConnection(QWidget* from);

    // Called at the very end of closing; ends the program unless a test replaces it.
    std::function<void()> onProgramEnd;

    // The channels on multiplexer m as the console's MUX box says: a box that is empty,
    // holds the time-out mark or no whole number 0..16 counts as 0.
    int channelCount(int m) const;

    // The folder the data files go to (the folder box of the " DATA ACQUISITION" page).
    QString dataFolder() const;
    void setDataFolder(const QString& folder);

    QTabWidget* SSTab1 = nullptr;

    // Menu.
    QAction* PROVA_IN_SITO = nullptr;
    QMenu* HLP = nullptr;
    QAction* INFORMAZIONI = nullptr;
    QAction* RIPRISTINA_DA_ERRORI = nullptr;

    // "DATE AND TIME".
    std::array<QLineEdit*, 5> data{};          // clock: day, month, year, hour, minute
    std::array<QLineEdit*, 5> data_allarme{};  // START time, same order
    QPushButton* leggidata = nullptr;
    QPushButton* impostadata = nullptr;
    QPushButton* LeggiDataAllarme = nullptr;
    QPushButton* ScriviDataAllarme = nullptr;
    QPushButton* Subito = nullptr;
    SwitchBox* Telefono = nullptr;
    QCheckBox* Immediata = nullptr;
    SwitchBox* data_logging = nullptr;
    QPushButton* ReadSt = nullptr;

    // "TIMERS".
    QGroupBox* preheatingFrame = nullptr;  // "Sensors pre-heating time": analog models only
    QLineEdit* preaccensione = nullptr;
    QPushButton* preacc = nullptr;
    QPushButton* impostapreacc = nullptr;
    std::array<QLineEdit*, 3> conversione{};  // acquisition timer: hours, minutes, seconds
    QPushButton* Command2 = nullptr;
    QPushButton* Command1 = nullptr;

    // "CHANNELS".
    std::array<QLineEdit*, 4> MUX{};  // channels on multiplexer 0..3
    QPushButton* leggicanali = nullptr;
    QPushButton* Scrivicanali = nullptr;
    SwitchBox* PLUVIOMETRO = nullptr;
    QPushButton* Resetta = nullptr;
    QPushButton* Azzera_memoria = nullptr;
    QPushButton* Leggi_poprieta = nullptr;  // object name "Leggi_poprietà"

    // "GENERAL".
    QLineEdit* Nome_Centralina = nullptr;
    QPushButton* leggi_nome = nullptr;
    QPushButton* imposta_nome = nullptr;
    std::array<QLineEdit*, 5> Prox{};  // next acquisition date
    QPushButton* leggiprox = nullptr;
    QLineEdit* Acq_possibili = nullptr;
    QLineEdit* acq_disponibili = nullptr;
    QPushButton* Aggiorna_acq = nullptr;
    QCheckBox* chkWebAbilita = nullptr;
    QPushButton* cmdWebLeggi = nullptr;
    QPushButton* leggifs = nullptr;

    // " DATA ACQUISITION".
    QPushButton* Acquisisci = nullptr;
    QPushButton* Acquisisci_Temp = nullptr;
    std::array<QRadioButton*, 2> TipoF{};  // 0 frequency, 1 digits
    QComboBox* Drive1 = nullptr;           // the mounted file systems
    QLineEdit* Dir1 = nullptr;             // the chosen folder
    QToolButton* Dir1Browse = nullptr;     // "..." chooses the folder
    QListWidget* File1 = nullptr;          // the files in that folder
    QLineEdit* Nome_File_Dati = nullptr;
    QPushButton* cmdScaricaRimanenti = nullptr;
    QCheckBox* Crea_Tabella = nullptr;
    QPushButton* Grafico = nullptr;
    QPushButton* back = nullptr;
    QPushButton* CONTAIMP = nullptr;
    QLineEdit* Text1 = nullptr;  // download progress
    QLineEdit* Text2 = nullptr;  // events counter value
    QLabel* Image1 = nullptr;

    // "READ NOW".
    QPushButton* Status = nullptr;
    std::array<QLineEdit*, 3> parameters{};  // "5 Volt", "3 V Vint", "V Batt"
    std::array<QLabel*, 3> para{};
    std::array<QPushButton*, 4> MISCONTINUA{};
    std::array<QPushButton*, 4> MISCONTINUA_TEMP{};
    std::array<QLineEdit*, 16> continua{};
    std::array<QLabel*, 16> LABCANALI{};
    QPushButton* registradasolo = nullptr;
    std::array<QPushButton*, 1> cmdApriMisuraContinua{};

    // "GPRS".
    std::array<QLineEdit*, 10> GPRS{};
    std::array<QLabel*, 10> GPRSLABEL{};
    QPushButton* LeggiGPRS = nullptr;
    QPushButton* ScriviGPRS = nullptr;

    // "ALERTS".
    QLineEdit* mmpioggia = nullptr;
    QPushButton* mmpioggialeggi = nullptr;
    QPushButton* mmpioggiatastoscrivi = nullptr;
    QLineEdit* NUMERO_ALLARMI_SMS = nullptr;
    std::array<QLineEdit*, 10> NUMERO_ALLARME_SMS{};
    QLineEdit* NUMERO_ALLARME_TELEFONO = nullptr;
    std::array<QLabel*, 11> Label6{};
    SwitchBox* Abilita_SMS = nullptr;
    SwitchBox* Abilita_Telefono = nullptr;
    SwitchBox* EMAIL = nullptr;
    QPushButton* Leggi_Email = nullptr;
    QPushButton* LEGGI_GSM = nullptr;
    QPushButton* SCRIVI_GSM = nullptr;
    QPushButton* Leggi_Allarmi = nullptr;

    // Beside the download progress: how far the download is, and its way out.
    QProgressBar* downloadProgress = nullptr;
    QPushButton* cancelDownload = nullptr;

    // The six values the datalogger answers to "T"; kept, used by nothing else.
    std::array<qint32, 2> fsWhole{};
    std::array<double, 4> fsScaled{};

public slots:
    // Identity, clock, schedule, internal parameters.
    void leggi_nome_Click();
    void imposta_nome_Click();
    void leggidata_Click();
    void impostadata_Click();
    void LeggiDataAllarme_Click();
    void ScriviDataAllarme_Click();
    void leggiprox_Click();
    void command2_Click();
    void Command1_Click();
    void Preacc_Click();
    void impostapreacc_Click();
    void data_logging_MouseDown();
    void ReadSt_Click();
    void Status_Click();

    // Channels, events counter, rain millimetres.
    void leggicanali_Click();
    void Scrivicanali_Click();
    void MUX_Change(int index);
    void PLUVIOMETRO_MouseDown();
    void CONTAIMP_Click();
    void mmpioggialeggi_Click();
    void mmpioggiatastoscrivi_Click();
    void leggifs_Click();

    // Memory, reset, restore.
    void Aggiorna_acq_Click();
    void Azzera_memoria_Click();
    void Resetta_Click();
    void RIPRISTINA_DA_ERRORI_Click();

    // Menu.
    void INFORMAZIONI_Click();

    // Continuous reading.
    void cmdApriMisuraContinua_Click();

    // Closing: the "d" rule, the port, the logout file, the end of the program.
    void Form_Unload();

    // Readings now (the "READ NOW" page and the menu's field test).
    void MISCONTINUA_Click(int mux);
    void MISCONTINUA_TEMP_Click(int mux);
    void Subito_Click();
    void registradasolo_Click();
    void PROVA_IN_SITO_Click();
    // The sensor window.
    void Leggi_poprieta_Click();
    void cmdScaricaRimanenti_Click();
    // Memory downloads into data files.
    void Acquisisci_Click();
    void Acquisisci_Temp_Click();
    void Scarica_Buffer();
    void File1_Click(const QString& name);

    // GSM, SMS, phone, e-mail and the GSM function (src/remote/gsm_handlers.cpp).
    void LEGGI_GSM_Click();
    void SCRIVI_GSM_Click();
    void Abilita_SMS_MouseDown();
    void Abilita_Telefono_MouseDown();
    void Abilita_Telefono_Click();
    void EMAIL_MouseDown();
    void Leggi_Email_Click();
    void Telefono_MouseDown();
    // GPRS and the internet-connection switch (src/remote/gprs_handlers.cpp).
    void LeggiGPRS_Click();
    void ScriviGPRS_Click();
    void chkWebAbilita_Click();
    void cmdWebLeggi_Click();
    // The alert window.
    void Leggi_Allarmi_Click();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    QWidget* buildDateTimePage();
    QWidget* buildTimersPage();
    QWidget* buildChannelsPage();
    QWidget* buildGeneralPage();
    QWidget* buildDataAcquisitionPage();
    QWidget* buildReadNowPage();
    QWidget* buildGprsPage();
    QWidget* buildAlertsPage();
    void connectHandlers();
    void connectRemoteHandlers();
    void registerCommandControls();
    void markEditedOnKey(QLineEdit* box);
    void trimOnChange(QLineEdit* box);

    // The write of a five-box date row; false when the hour or minute is refused.
    bool writeDateRow(const std::array<QLineEdit*, 5>& row, const QString& command);
    void writeLogoutFile();
    void unloadWhenIdle();

    // A memory download of either kind.
    void download(bool temperatures);
    void showDataTable(const MemoryDownload::Store& store);
    void endCancelledDownload();

    bool unloaded_ = false;
    bool downloadCancelled_ = false;
    std::unique_ptr<QWidget> dataTable_;
    std::unique_ptr<QWidget> sensorWindow_;
    std::unique_ptr<QWidget> alertWindow_;
    std::unique_ptr<QWidget> fieldTestWindow_;
};
