// The phone-book window's controls: the seven pages of ten rows, the page buttons, the
// port box, the status box and the menu; row and page selection; opening and closing.
#include "modem/phone_book_window.h"

#include "link/conversions.h"
#include "link/modulo1.h"
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

PhoneBookWindow::PhoneBookWindow(const PhoneBookCaptions& captions, QWidget* parent)
    : QMainWindow(parent)
{
    setObjectName(captions.objectName);
    setWindowTitle(captions.title);
    setAttribute(Qt::WA_QuitOnClose, false);

    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    buildBook(captions);
    auto* pages = new QVBoxLayout;
    for (QGroupBox* page : Centraline)
        pages->addWidget(page);
    layout->addLayout(pages, 1);
    layout->addWidget(buildSide());
    setCentralWidget(central);
    buildMenu(captions);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &PhoneBookWindow::Timer1_Timer);

    // A typed port number is probed once the typing pauses, not once per key.
    typingPause_ = new QTimer(this);
    typingPause_->setSingleShot(true);
    typingPause_->setInterval(600);
    connect(typingPause_, &QTimer::timeout, this, &PhoneBookWindow::portBoxEdited);
    SERMODEM->installEventFilter(this);
    connect(SERMODEM, &QLineEdit::textChanged, this, [this] {
        if (typing_)
            typingPause_->start();
        else
            SERMODEM_Change();
    });
    Primi10_Click(0);
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
            Sel[i] = button(frame, arrayName(QStringLiteral("Sel"), i), number);
            Sel[i]->setAccessibleName(QStringLiteral("Select row ") + number);
            Sel[i]->setFixedWidth(Sel[i]->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16);
            connect(Sel[i], &QPushButton::clicked, this, [this, i] { Sel_Click(i); });
            grid->addWidget(Sel[i], r + 1, 0);
            const std::array<const char*, 4> names = {"Nome", "Telefono", "Scadenza", "Uldata"};
            const std::array<int, 4> widths = {170, 140, 100, 120};
            std::array<QLineEdit*, Rows>* columns[4] = {&Nome, &Telefono, &Scadenza, &Uldata};
            for (int c = 0; c < 4; ++c) {
                QLineEdit* b = box(frame, arrayName(QString::fromLatin1(names[c]), i),
                                   captions.columns[c] + QLatin1Char(' ') + number, widths[c]);
                (*columns[c])[i] = b;
                grid->addWidget(b, r + 1, c + 1);
            }
        }
        Centraline[page] = frame;
    }
}

QWidget* PhoneBookWindow::buildSide()
{
    auto* side = new QWidget(this);
    auto* column = new QVBoxLayout(side);
    column->setContentsMargins(0, 0, 0, 0);
    auto* pageButtons = new QGridLayout;
    for (int p = 0; p < Pages; ++p) {
        const QString caption = QStringLiteral("%1-%2").arg(p * RowsPerPage + 1).arg((p + 1) * RowsPerPage);
        Primi10[p] = button(side, arrayName(QStringLiteral("Primi10"), p), caption);
        connect(Primi10[p], &QPushButton::clicked, this, [this, p] { Primi10_Click(p); });
        pageButtons->addWidget(Primi10[p], p / 2, p % 2);
    }
    column->addLayout(pageButtons);

    QGroupBox* portFrame = frame(side, QStringLiteral("COM port"), QStringLiteral("FramePort"));
    auto* portRow = new QHBoxLayout(portFrame);
    SERMODEM = box(portFrame, QStringLiteral("SERMODEM"), QStringLiteral("COM port"), 50);
    SERMODEM->setText(QStringLiteral("0"));
    CERCAMODEM = button(portFrame, QStringLiteral("CERCAMODEM"), QStringLiteral("&Modem lookup"));
    connect(CERCAMODEM, &QPushButton::clicked, this, &PhoneBookWindow::CERCAMODEM_Click);
    portRow->addWidget(SERMODEM);
    portRow->addWidget(CERCAMODEM);
    column->addWidget(portFrame);

    QGroupBox* statusFrame = frame(side, QStringLiteral("Modem Window"), QStringLiteral("FrameStatus"));
    auto* statusBox = new QVBoxLayout(statusFrame);
    Text1 = new QPlainTextEdit(statusFrame);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setAccessibleName(QStringLiteral("Modem Window"));
    Text1->setReadOnly(true);
    Text1->setMinimumWidth(260);
    // Room for a modem's answer of a few lines; the window is as tall as one page of rows.
    Text1->setFixedHeight(Text1->fontMetrics().lineSpacing() * 6 + 12);
    statusBox->addWidget(Text1);
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
    Salva = command("Salva", captions.save);
    Interrompi = command("Interrompi", QStringLiteral("S&top"));
    Connetti = command("Connetti", QStringLiteral("&Connect"));
    Riprova = command("Riprova", QStringLiteral("&Retry"));
    Scarica_Vai = command("Scarica_Vai", QStringLiteral("&Download and Go"));
    Interrompi->setEnabled(false);
    Connetti->setEnabled(false);
    Riprova->setEnabled(false);
    connect(Salva, &QAction::triggered, this, [this] { Salva_Click(); });
    connect(Interrompi, &QAction::triggered, this, &PhoneBookWindow::Interrompi_Click);
    connect(Connetti, &QAction::triggered, this, &PhoneBookWindow::Connetti_Click);
    connect(Riprova, &QAction::triggered, this, &PhoneBookWindow::Riprova_Click);
    connect(Scarica_Vai, &QAction::triggered, this, &PhoneBookWindow::Scarica_Vai_Click);
}

void PhoneBookWindow::showStatus(const QString& text)
{
    status_ = text;
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    Text1->setPlainText(shown);
}

QStringList PhoneBookWindow::bookValues(int columns) const
{
    const std::array<const std::array<QLineEdit*, Rows>*, 4> all = {&Nome, &Telefono, &Scadenza, &Uldata};
    QStringList values;
    for (int i = 0; i < Rows; ++i)
        for (int c = 0; c < columns; ++c)
            values << (*all[c])[i]->text();
    return values;
}

void PhoneBookWindow::setBookValues(const QStringList& values, int columns)
{
    const std::array<std::array<QLineEdit*, Rows>*, 4> all = {&Nome, &Telefono, &Scadenza, &Uldata};
    for (int k = 0; k < values.size() && k < Rows * columns; ++k) {
        QLineEdit* b = (*all[k % columns])[k / columns];
        b->setText(values[k]);
        b->setCursorPosition(0);  // a value longer than its box shows its beginning
    }
}

int PhoneBookWindow::portNumber() const
{
    const double value = std::trunc(Conversioni::Val(SERMODEM->text()));
    // Numbers no serial port can have are port 0, which opens nothing.
    return value >= 0 && value <= 32767 ? int(value) : 0;
}

void PhoneBookWindow::Sel_Click(int index)
{
    alfa = qint16(index);
    for (int i = 0; i < Rows; ++i)
        for (QLineEdit* b : {Nome[i], Telefono[i], Scadenza[i], Uldata[i]})
            setBoxColour(b, i == index ? SelectedRowColour : RowColour);
    Connetti->setEnabled(true);
}

void PhoneBookWindow::Primi10_Click(int index)
{
    for (QGroupBox* page : Centraline)
        page->hide();
    Centraline[index]->show();
}

void PhoneBookWindow::open()
{
    Form_Load();
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

void PhoneBookWindow::Form_Unload()
{
    Timer1->stop();
    typingPause_->stop();
    setEnabled(false);
    hide();
    if (start_)
        start_->show();
    Modulo1::Chiudi_Porta();
}

void PhoneBookWindow::closeEvent(QCloseEvent* event)
{
    // Closing while an exchange runs would pull the port from under it: the window
    // stays until the exchange has ended.
    if (Modulo1::linkBusy()) {
        event->ignore();
        return;
    }
    event->accept();
    Form_Unload();
}
