// The splash window: a picture of a datalogger and its vibrating-wire trace, for 1.8 s.
#include "startup/splash.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

#include <cmath>

Splash::Splash(QWidget* startWindow)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint), startWindow_(startWindow)
{
    setObjectName(QStringLiteral("Ini"));
    setWindowTitle(QStringLiteral("Quorvel"));
    setAccessibleName(QStringLiteral("Quorvel"));
    resize(startWindow_->size().expandedTo(QSize(420, 260)));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
}

void Splash::start()
{
    show();
    // Nothing but the splash exists on the screen meanwhile, so the wait lets it paint.
    QTimer::singleShot(shownMs, this, &Splash::showStartWindow);
}

void Splash::showStartWindow()
{
    startWindow_->show();
    hide();
    setEnabled(false);
    emit finished();
}

namespace {

void drawLogger(QPainter& p, const QRectF& box)
{
    p.save();
    p.setPen(QPen(QColor(30, 40, 55), 2));
    p.setBrush(QColor(225, 230, 236));
    p.drawRoundedRect(box, 8, 8);
    const QRectF screen(box.left() + 12, box.top() + 12, box.width() - 24, box.height() * 0.55);
    p.setBrush(QColor(20, 45, 30));
    p.drawRect(screen);

    // A decaying vibrating-wire response across the little screen.
    QPainterPath trace;
    for (int i = 0; i <= 200; ++i) {
        const double x = screen.left() + 4 + (screen.width() - 8) * i / 200.0;
        const double y = screen.center().y()
            + std::sin(i * 0.45) * std::exp(-i / 90.0) * (screen.height() * 0.38);
        if (i == 0)
            trace.moveTo(x, y);
        else
            trace.lineTo(x, y);
    }
    p.setPen(QPen(QColor(90, 255, 120), 2));
    p.setBrush(Qt::NoBrush);
    p.drawPath(trace);

    // Terminal blocks along the bottom edge.
    p.setPen(QPen(QColor(30, 40, 55), 1));
    p.setBrush(QColor(200, 120, 40));
    const double y = screen.bottom() + 12;
    for (int i = 0; i < 8; ++i)
        p.drawRect(QRectF(screen.left() + i * (screen.width() / 8) + 3, y, screen.width() / 8 - 6, 14));
    p.restore();
}

} // namespace

void Splash::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(rect().topLeft(), rect().bottomLeft());
    sky.setColorAt(0, QColor(18, 52, 86));
    sky.setColorAt(1, QColor(70, 130, 170));
    p.fillRect(rect(), sky);

    const double w = width(), h = height();
    drawLogger(p, QRectF(w * 0.06, h * 0.18, w * 0.38, h * 0.62));

    p.setPen(Qt::white);
    QFont title = font();
    title.setPointSizeF(title.pointSizeF() * 2.6);
    title.setBold(true);
    p.setFont(title);
    const QRectF text(w * 0.5, h * 0.22, w * 0.46, h * 0.3);
    p.drawText(text, Qt::AlignLeft | Qt::AlignBottom, QStringLiteral("Quorvel"));
    QFont sub = font();
    sub.setPointSizeF(sub.pointSizeF() * 1.1);
    p.setFont(sub);
    p.drawText(QRectF(w * 0.5, h * 0.54, w * 0.46, h * 0.3), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QStringLiteral("16 BIT DATALOGGER\nvibrating-wire and analog sensors"));
    p.setPen(QPen(QColor(255, 255, 255, 160), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}
