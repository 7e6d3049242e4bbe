// Draws the program's icon, a datalogger whose screen shows the dying swing of a
// vibrating wire, as an SVG and as PNGs of the given sizes, from one set of shapes.
// Usage: make_icon OUTPUT_DIR SIZE...   (writes quorvel.svg and quorvel-SIZE.png)
#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

// Every shape in a 256 x 256 square.
const QColor body(0x1f, 0x5f, 0x6b);
const QColor screen(0xe8, 0xf3, 0xf1);
const QColor lamp(0xf2, 0xa3, 0x3a);
const QRectF bodyRect(16, 16, 224, 224);
const double bodyRadius = 40;
const QRectF screenRect(44, 56, 168, 112);
const double screenRadius = 14;
const double traceWidth = 9;
const double lampRadius = 11;
const QPointF lamps[3] = {{88, 200}, {128, 200}, {168, 200}};

// Three swings of a wire plucked at the left edge, fading to the right.
QPolygonF trace()
{
    QPolygonF points;
    for (double x = 60; x <= 196.01; x += 2) {
        const double t = (x - 60) / 136;
        points << QPointF(x, 112 - 38 * std::exp(-1.6 * t) * std::sin(2 * M_PI * 3 * t));
    }
    return points;
}

QString svg()
{
    QString points;
    for (const QPointF& p : trace())
        points += QStringLiteral("%1,%2 ").arg(p.x(), 0, 'f', 1).arg(p.y(), 0, 'f', 1);
    QString out = QStringLiteral(
        "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">\n");
    out += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>\n")
               .arg(bodyRect.x()).arg(bodyRect.y()).arg(bodyRect.width()).arg(bodyRect.height())
               .arg(bodyRadius).arg(body.name());
    out += QStringLiteral("  <rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" rx=\"%5\" fill=\"%6\"/>\n")
               .arg(screenRect.x()).arg(screenRect.y()).arg(screenRect.width()).arg(screenRect.height())
               .arg(screenRadius).arg(screen.name());
    out += QStringLiteral("  <polyline points=\"%1\" fill=\"none\" stroke=\"%2\" stroke-width=\"%3\" "
                          "stroke-linecap=\"round\" stroke-linejoin=\"round\"/>\n")
               .arg(points.trimmed(), body.name()).arg(traceWidth);
    for (int i = 0; i < 3; ++i)
        out += QStringLiteral("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"%4\"/>\n")
                   .arg(lamps[i].x()).arg(lamps[i].y()).arg(lampRadius)
                   .arg(i == 0 ? lamp.name() : screen.name());
    return out + QStringLiteral("</svg>\n");
}

QImage png(int size)
{
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    p.setPen(Qt::NoPen);
    p.setBrush(body);
    p.drawRoundedRect(bodyRect, bodyRadius, bodyRadius);
    p.setBrush(screen);
    p.drawRoundedRect(screenRect, screenRadius, screenRadius);
    // Small sizes keep the trace at least a pixel and a half wide, so that it shows.
    p.setPen(QPen(body, std::max(traceWidth, 1.5 * 256.0 / size), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPolyline(trace());
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 3; ++i) {
        p.setBrush(i == 0 ? lamp : screen);
        p.drawEllipse(lamps[i], lampRadius, lampRadius);
    }
    return image;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: make_icon OUTPUT_DIR SIZE...\n");
        return 2;
    }
    const QString dir = QString::fromLocal8Bit(argv[1]);
    QFile svgFile(dir + QStringLiteral("/quorvel.svg"));
    if (!svgFile.open(QIODevice::WriteOnly) || svgFile.write(svg().toUtf8()) < 0) {
        std::fprintf(stderr, "make_icon: cannot write %s\n", qPrintable(svgFile.fileName()));
        return 1;
    }
    for (int i = 2; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        const QString name = dir + QStringLiteral("/quorvel-%1.png").arg(size);
        if (size < 8 || size > 1024 || !png(size).save(name, "PNG")) {
            std::fprintf(stderr, "make_icon: cannot write %s\n", qPrintable(name));
            return 1;
        }
    }
    return 0;
}
