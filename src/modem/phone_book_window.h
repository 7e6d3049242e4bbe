// PhoneBookWindow: what the modem window and the internet window share: the 70-row book
// on seven pages of ten with its selection, the port box with its modem probe,
// readiness check and modem search, the status box, the menu and the 2000 ms poll.
// Each window says what its columns mean, which files it keeps, how it dials, what its
// poll reads and what it does once the line is up.
#pragma once

#include "data/phone_book.h"

#include <QMainWindow>
#include <QString>
#include <QTimer>

#include <array>

class DataloggerModel;
class Dialogs;
class Link;
struct Services;
class QAction;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// The captions that tell the twin windows apart.
struct PhoneBookCaptions {
    QString objectName;                 // "Modem"
    QString title;                      // "GSM CONNECTION"
    std::array<QString, 4> columns;     // the four text columns
    QString save;                       // the "Save" menu command
};

class PhoneBookWindow : public QMainWindow {
    Q_OBJECT
public:
    static constexpr int Rows = PhoneBook::Entries;
    static constexpr int RowsPerPage = 10;
    static constexpr int Pages = Rows / RowsPerPage;
    // The colours of row selection (colour values): every row, and the selected one.
    static constexpr int RowColour = 0xFFFF;
    static constexpr int SelectedRowColour = 255;

    PhoneBookWindow(Services& services, const PhoneBookCaptions& captions, QWidget* parent = nullptr);
    ~PhoneBookWindow() override;

    // The window the program returns to when this one closes (the start window).
    void setStartWindow(QWidget* start) { start_ = start; }
    QWidget* startWindow() const { return start_; }

    // The book: one box of each column per entry, indexed by entry number.
    std::array<QLineEdit*, Rows> nameBoxes{};
    std::array<QLineEdit*, Rows> numberBoxes{};
    std::array<QLineEdit*, Rows> expiryBoxes{};
    std::array<QLineEdit*, Rows> lastConnectionBoxes{};
    std::array<QPushButton*, Rows> selectButtons{};
    std::array<QGroupBox*, Pages> pageGroups{};
    std::array<QPushButton*, Pages> pageButtons{};

    QLineEdit* portBox = nullptr;        // the port box
    QPushButton* modemLookupButton = nullptr;    // "Modem lookup"
    QPlainTextEdit* statusBox = nullptr;      // the status box
    QTimer* pollTimer = nullptr;             // the connection poll

    // The menu.
    QAction* saveAction = nullptr;
    QAction* stopAction = nullptr;
    QAction* connectAction = nullptr;
    QAction* retryAction = nullptr;
    QAction* dialWithPauseAction = nullptr;

    qint16 selectedRow = 0;      // the selected row
    QString lastArrival;     // the last block read by the poll

    // The status box's text exactly as last set (the box shows line ends as lines).
    QString status() const { return status_; }
    void showStatus(const QString& text);

    // The value of each of the `columns` first text columns of every row, row after
    // row, as a book file holds them; and the rows filled back from such values (a
    // short list fills what it has).
    QStringList bookValues(int columns) const;
    void setBookValues(const QStringList& values, int columns);

    // The port number the port box holds: the integer part of its numeric value.
    int portNumber() const;

public slots:
    // Opening: read the files, place the window, probe the saved port. Run by open().
    virtual void load() = 0;
    virtual bool save() = 0;
    virtual void connectSelected() = 0;
    virtual void dialWithPause() = 0;
    virtual void stop() = 0;
    virtual void retry() = 0;
    virtual void poll() = 0;
    // Closing: hide, show the start window again, close the serial port.
    virtual void unload();

    void selectRow(int index);
    void showPage(int index);
    void lookUpModem();
    // The port probe, on every change of the port box's text.
    void portBoxChanged();
    // The readiness check of the port the box named before a key changed it.
    void portBoxKeyPressed(const QString& textBefore);
    // Asserts RTS and DTR on the serial port.
    void raiseModemLines();

    // Loads the window (reading its files) and shows it.
    void open();

protected:
    Link& link_;
    Dialogs& dialogs_;
    DataloggerModel& datalogger_;
    const QString programFolder_;  // the books and the port file
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

    // Places the window as the start window would be placed, a little above the middle.
    void placeWindow();
    // Puts a port number into the port box from code: the probe runs at once.
    void setPortBox(const QString& text);
    // The serial port set up for the modem: closed, numbered, 9600 baud, opened, emptied.
    bool reopenPort(int port);
    // "ATE0", "ATI3" and what came back, on the open port.
    QString askIdentification();

private:
    void buildBook(const PhoneBookCaptions& captions);
    QWidget* buildSide();
    void buildMenu(const PhoneBookCaptions& captions);
    void portBoxEdited();

    QWidget* start_ = nullptr;
    QString status_;
    QTimer* typingPause_ = nullptr;   // the probe waits for the end of a typed number
    QString textBeforeTyping_;
    bool typing_ = false;
};
