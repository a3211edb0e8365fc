// Each icon is a few strokes on a 32x32 canvas, scaled by Qt as needed.
#include "tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QRadialGradient>
#include <functional>

namespace dovrel {
namespace {

using Drawing = std::function<void(QPainter&)>;

QIcon Draw(int size, const Drawing& draw) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p);
    return QIcon(pixmap);
}

// A sheet of paper with a folded corner and a few text lines.
void Sheet(QPainter& p) {
    QPainterPath path;
    path.moveTo(6, 3);
    path.lineTo(20, 3);
    path.lineTo(26, 9);
    path.lineTo(26, 29);
    path.lineTo(6, 29);
    path.closeSubpath();
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::white);
    p.drawPath(path);
    p.setPen(QPen(QColor(120, 120, 160), 1.5));
    for (int y = 12; y <= 24; y += 4) p.drawLine(QPointF(9, y), QPointF(23, y));
}

void Badge(QPainter& p, const QColor& colour, const QString& sign) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawEllipse(QRectF(17, 17, 14, 14));
    p.setPen(QPen(Qt::white, 2.5, Qt::SolidLine, Qt::RoundCap));
    if (sign == "+") {
        p.drawLine(QPointF(20, 24), QPointF(28, 24));
        p.drawLine(QPointF(24, 20), QPointF(24, 28));
    } else {
        p.drawLine(QPointF(20.5, 20.5), QPointF(27.5, 27.5));
        p.drawLine(QPointF(27.5, 20.5), QPointF(20.5, 27.5));
    }
}

void SerialPlug(QPainter& p) {
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    p.setBrush(QColor(70, 110, 180));
    QPainterPath shell;
    shell.moveTo(3, 10);
    shell.lineTo(29, 10);
    shell.lineTo(25, 22);
    shell.lineTo(7, 22);
    shell.closeSubpath();
    p.drawPath(shell);
    p.setBrush(QColor(230, 200, 60));
    p.setPen(Qt::NoPen);
    for (int i = 0; i < 5; ++i) p.drawEllipse(QPointF(8 + i * 4, 14), 1.3, 1.3);
    for (int i = 0; i < 4; ++i) p.drawEllipse(QPointF(10 + i * 4, 18), 1.3, 1.3);
}

void Gear(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(90, 90, 100));
    p.translate(16, 16);
    for (int i = 0; i < 8; ++i) {
        p.drawRect(QRectF(-2.5, -14, 5, 7));
        p.rotate(45);
    }
    p.drawEllipse(QPointF(0, 0), 9.5, 9.5);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(0, 0), 4, 4);
    p.resetTransform();
}

// A cloud over a thermometer: the weather decoder.
void Weather(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(150, 170, 200));
    p.drawEllipse(QRectF(3, 9, 14, 11));
    p.drawEllipse(QRectF(10, 5, 15, 14));
    p.drawEllipse(QRectF(18, 10, 11, 10));
    p.drawRect(QRectF(8, 14, 16, 6));
    p.setPen(QPen(QColor(200, 40, 40), 2.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(16, 18), QPointF(16, 26));
    p.setBrush(QColor(200, 40, 40));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPointF(16, 28), 3, 3);
}

void Pencil(QPainter& p) {
    Sheet(p);
    p.setPen(QPen(QColor(40, 40, 40), 1));
    p.setBrush(QColor(240, 180, 40));
    QPolygonF body;
    body << QPointF(28, 10) << QPointF(31, 13) << QPointF(17, 27) << QPointF(14, 24);
    p.drawPolygon(body);
    p.setBrush(QColor(60, 60, 60));
    QPolygonF tip;
    tip << QPointF(14, 24) << QPointF(17, 27) << QPointF(12, 29);
    p.drawPolygon(tip);
}

// A black screen with a sweeping eraser stroke.
void ClearScreen(QPainter& p) {
    p.setPen(QPen(QColor(60, 60, 60), 1.5));
    p.setBrush(Qt::black);
    p.drawRect(QRectF(3, 5, 26, 20));
    p.setPen(QPen(QColor(255, 255, 0), 1.5));
    p.drawLine(QPointF(6, 10), QPointF(16, 10));
    p.drawLine(QPointF(6, 14), QPointF(13, 14));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 120, 140));
    QPolygonF eraser;
    eraser << QPointF(17, 17) << QPointF(26, 8) << QPointF(31, 13) << QPointF(22, 22);
    p.drawPolygon(eraser);
}

}  // namespace

QIcon ToolIcon(const QString& key) {
    if (key == "CreateLogFile")
        return Draw(32, [](QPainter& p) {
            Sheet(p);
            Badge(p, QColor(40, 150, 60), "+");
        });
    if (key == "CloseLogFile")
        return Draw(32, [](QPainter& p) {
            Sheet(p);
            Badge(p, QColor(190, 40, 40), "x");
        });
    if (key == "Serial") return Draw(32, SerialPlug);
    if (key == "Properties") return Draw(32, Gear);
    if (key == "Synop") return Draw(32, Weather);
    if (key == "Edit") return Draw(32, Pencil);
    if (key == "Clear") return Draw(32, ClearScreen);
    return {};
}

QIcon LampIcon(bool connected) {
    return Draw(16, [connected](QPainter& p) {
        QRadialGradient glow(QPointF(13, 13), 16);
        glow.setColorAt(0, connected ? QColor(170, 255, 170) : QColor(255, 170, 170));
        glow.setColorAt(1, connected ? QColor(0, 140, 0) : QColor(170, 0, 0));
        p.setPen(QPen(QColor(40, 40, 40), 2));
        p.setBrush(glow);
        p.drawEllipse(QRectF(3, 3, 26, 26));
    });
}

}  // namespace dovrel
