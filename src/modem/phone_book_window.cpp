// The phone-book window's controls: the seven pages of ten rows, the page buttons, the
// port box, the status box and the menu; row and page selection; opening and closing.
#include "widgets/services.h"
#include "modem/phone_book_window.h"

#include "data/conversions.h"
#include "link/link.h"
#include "widgets/box_colours.h"
#include "widgets/controls.h"

#include <QAction>
#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cmath>

using namespace Controls;

PhoneBookWindow::PhoneBookWindow(Services& services, const PhoneBookCaptions& captions, QWidget* parent)
    : QMainWindow(parent), link_(services.link), dialogs_(services.dialogs), datalogger_(services.datalogger),
      programFolder_(services.programFolder)
{
    setObjectName(captions.objectName);
    setWindowTitle(captions.title);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    buildBook(captions);
    auto* pages = new QVBoxLayout;
    for (QGroupBox* page : pageGroups)
        pages->addWidget(page);
    layout->addLayout(pages, 1);
    layout->addWidget(buildSide());
    setCentralWidget(central);
    buildMenu(captions);

    pollTimer = new QTimer(this);
    pollTimer->setObjectName(QStringLiteral("Timer1"));
    pollTimer->setInterval(2000);
    connect(pollTimer, &QTimer::timeout, this, &PhoneBookWindow::poll);

    // A typed port number is probed once the typing pauses, not once per key.
    typingPause_ = new QTimer(this);
    typingPause_->setSingleShot(true);
    typingPause_->setInterval(600);
    connect(typingPause_, &QTimer::timeout, this, &PhoneBookWindow::portBoxEdited);
    portBox->installEventFilter(this);
    connect(portBox, &QLineEdit::textChanged, this, [this] {
        if (typing_)
            typingPause_->start();
        else
            portBoxChanged();
    });
    showPage(0);
}

PhoneBookWindow::~PhoneBookWindow() = default;

void PhoneBookWindow::buildBook(const PhoneBookCaptions& captions)
{
    for (int page = 0; page < Pages; ++page) {
        QGroupBox* frame = Controls::frame(this, QStringLiteral("Datalogger"), arrayName(QStringLiteral("Centraline"), page));
        auto* grid = new QGridLayout(frame);
        grid->setVerticalSpacing(2);
        for (int c = 0; c < 4; ++c)
            grid->addWidget(label(frame, captions.columns[c]), 0, c + 1, Qt::AlignCenter);
        for (int r = 0; r < RowsPerPage; ++r) {
            const int i = page * RowsPerPage + r;
            const QString number = QString::number(i + 1);
            selectButtons[i] = button(frame, arrayName(QStringLiteral("Sel"), i), number);
            selectButtons[i]->setAccessibleName(QStringLiteral("Select row ") + number);
            selectButtons[i]->setFixedWidth(selectButtons[i]->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16);
            connect(selectButtons[i], &QPushButton::clicked, this, [this, i] { selectRow(i); });
            grid->addWidget(selectButtons[i], r + 1, 0);
            const std::array<const char*, 4> names = {"Nome", "Telefono", "Scadenza", "Uldata"};
            const std::array<int, 4> widths = {170, 140, 100, 120};
            std::array<QLineEdit*, Rows>* columns[4] = {&nameBoxes, &numberBoxes, &expiryBoxes, &lastConnectionBoxes};
            for (int c = 0; c < 4; ++c) {
                QLineEdit* b = box(frame, arrayName(QString::fromLatin1(names[c]), i),
                                   captions.columns[c] + QLatin1Char(' ') + number, widths[c]);
                (*columns[c])[i] = b;
                grid->addWidget(b, r + 1, c + 1);
            }
        }
        pageGroups[page] = frame;
    }
}

QWidget* PhoneBookWindow::buildSide()
{
    auto* side = new QWidget(this);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    auto* pageGrid = new QGridLayout;
    for (int p = 0; p < Pages; ++p) {
        const QString caption = QStringLiteral("%1-%2").arg(p * RowsPerPage + 1).arg((p + 1) * RowsPerPage);
        pageButtons[p] = button(side, arrayName(QStringLiteral("Primi10"), p), caption);
        connect(pageButtons[p], &QPushButton::clicked, this, [this, p] { showPage(p); });
        pageGrid->addWidget(pageButtons[p], p / 2, p % 2);
    }
    column->addLayout(pageGrid);

    QGroupBox* portFrame = frame(side, QStringLiteral("COM port"), QStringLiteral("FramePort"));
    auto* portRow = new QHBoxLayout(portFrame);
    portBox = box(portFrame, QStringLiteral("SERMODEM"), QStringLiteral("COM port"), 50);
    portBox->setText(QStringLiteral("0"));
    modemLookupButton = button(portFrame, QStringLiteral("CERCAMODEM"), QStringLiteral("&Modem lookup"));
    connect(modemLookupButton, &QPushButton::clicked, this, &PhoneBookWindow::lookUpModem);
    portRow->addWidget(portBox);
    portRow->addWidget(modemLookupButton);
    column->addWidget(portFrame);

    QGroupBox* statusFrame = frame(side, QStringLiteral("Modem Window"), QStringLiteral("FrameStatus"));
    auto* statusColumn = new QVBoxLayout(statusFrame);
    statusBox = new QPlainTextEdit(statusFrame);
    statusBox->setObjectName(QStringLiteral("Text1"));
    statusBox->setAccessibleName(QStringLiteral("Modem Window"));
    statusBox->setReadOnly(true);
    statusBox->setMinimumWidth(260);
    // Room for a modem's answer of a few lines; the window is as tall as one page of rows.
    statusBox->setFixedHeight(statusBox->fontMetrics().lineSpacing() * 6 + 12);
    statusColumn->addWidget(statusBox);
    column->addWidget(statusFrame);
    column->addStretch(1);
    return side;
}

void PhoneBookWindow::buildMenu(const PhoneBookCaptions& captions)
{
    QMenuBar* bar = menuBar();
    const auto command = [bar](const char* name, const QString& caption) {
        QAction* a = bar->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    saveAction = command("Salva", captions.save);
    stopAction = command("Interrompi", QStringLiteral("S&top"));
    connectAction = command("Connetti", QStringLiteral("&Connect"));
    retryAction = command("Riprova", QStringLiteral("&Retry"));
    dialWithPauseAction = command("Scarica_Vai", QStringLiteral("&Download and Go"));
    stopAction->setEnabled(false);
    connectAction->setEnabled(false);
    retryAction->setEnabled(false);
    connect(saveAction, &QAction::triggered, this, [this] { save(); });
    connect(stopAction, &QAction::triggered, this, &PhoneBookWindow::stop);
    connect(connectAction, &QAction::triggered, this, &PhoneBookWindow::connectSelected);
    connect(retryAction, &QAction::triggered, this, &PhoneBookWindow::retry);
    connect(dialWithPauseAction, &QAction::triggered, this, &PhoneBookWindow::dialWithPause);
}

void PhoneBookWindow::showStatus(const QString& text)
{
    status_ = text;
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    statusBox->setPlainText(shown);
}

QStringList PhoneBookWindow::bookValues(int columns) const
{
    const std::array<const std::array<QLineEdit*, Rows>*, 4> all = {&nameBoxes, &numberBoxes, &expiryBoxes, &lastConnectionBoxes};
    QStringList values;
    for (int i = 0; i < Rows; ++i)
        for (int c = 0; c < columns; ++c)
            values << (*all[c])[i]->text();
    return values;
}

void PhoneBookWindow::setBookValues(const QStringList& values, int columns)
{
    const std::array<std::array<QLineEdit*, Rows>*, 4> all = {&nameBoxes, &numberBoxes, &expiryBoxes, &lastConnectionBoxes};
    for (int k = 0; k < values.size() && k < Rows * columns; ++k) {
        QLineEdit* b = (*all[k % columns])[k / columns];
        b->setText(values[k]);
        b->setCursorPosition(0);  // a value longer than its box shows its beginning
    }
}

int PhoneBookWindow::portNumber() const
{
    const double value = std::trunc(Numbers::leadingNumber(portBox->text()));
    // Numbers no serial port can have are port 0, which opens nothing.
    return value >= 0 && value <= 32767 ? int(value) : 0;
}

void PhoneBookWindow::selectRow(int index)
{
    selectedRow = qint16(index);
    for (int i = 0; i < Rows; ++i)
        for (QLineEdit* b : {nameBoxes[i], numberBoxes[i], expiryBoxes[i], lastConnectionBoxes[i]})
            setBoxColour(b, i == index ? SelectedRowColour : RowColour);
    connectAction->setEnabled(true);
}

void PhoneBookWindow::showPage(int index)
{
    for (QGroupBox* page : pageGroups)
        page->hide();
    pageGroups[index]->show();
}

void PhoneBookWindow::open()
{
    load();
    setEnabled(true);
    show();
    raise();
    activateWindow();
}

void PhoneBookWindow::placeWindow()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QSize like = start_ ? start_->frameGeometry().size() : frameGeometry().size();
    const int top = int(0.3 * (area.height() - like.height()) / 2);
    const int left = (area.width() - like.width()) / 2;
    move(area.left() + std::max(0, left), area.top() + std::max(0, top));
}

void PhoneBookWindow::unload()
{
    pollTimer->stop();
    typingPause_->stop();
    setEnabled(false);
    hide();
    if (start_)
        start_->show();
    link_.closePort();
}

void PhoneBookWindow::closeEvent(QCloseEvent* event)
{
    // Closing while an exchange runs would pull the port from under it: the window
    // stays until the exchange has ended.
    if (link_.busy()) {
        event->ignore();
        return;
    }
    event->accept();
    unload();
}
