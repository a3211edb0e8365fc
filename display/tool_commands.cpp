// Tool-bar images: small pictograms drawn on a transparent 16x15 pixmap.
#include "tool_commands.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace nimboview {
namespace {

struct CommandText {
    ToolCommand command;
    const char* toolTip;
};

// Tooltip of each command.
constexpr std::array<CommandText, 9> kCommandTexts = {{
    {ToolCommand::kOpenLog, "Open a log file"},
    {ToolCommand::kCloseLog, "Close the log file"},
    {ToolCommand::kClear, "Clear screen"},
    {ToolCommand::kCopy, "Copy screen content to clipboard"},
    {ToolCommand::kResync, "Resynchronize to data stream"},
    {ToolCommand::kPause, "Pause/Restart data stream"},
    {ToolCommand::kShowMap, "Show map"},
    {ToolCommand::kFind, "Find in the text (Ctrl+F)"},
    {ToolCommand::kExport, "Export the decoded reports (CSV, GeoJSON, obs-json)"},
}};

const QColor kOutline(40, 40, 40);

void DrawFolder(QPainter& p, bool open) {
    p.setPen(kOutline);
    p.setBrush(QColor(230, 190, 60));
    p.drawRect(1, 4, 12, 9);
    p.drawRect(1, 2, 5, 2);
    if (open) {
        p.setBrush(QColor(250, 220, 110));
        const QPointF flap[] = {{3, 7}, {15, 7}, {13, 13}, {1, 13}};
        p.drawPolygon(flap, 4);
    }
}

void DrawPage(QPainter& p, int x, int y) {
    p.setPen(kOutline);
    p.setBrush(Qt::white);
    p.drawRect(x, y, 8, 10);
    p.setPen(QColor(90, 90, 160));
    for (int row = y + 3; row < y + 10; row += 2) p.drawLine(x + 2, row, x + 6, row);
}

void DrawOpenLog(QPainter& p) { DrawFolder(p, true); }

void DrawCloseLog(QPainter& p) {
    DrawFolder(p, false);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(8, 7, 14, 13);
    p.drawLine(14, 7, 8, 13);
}

void DrawClear(QPainter& p) {
    DrawPage(p, 3, 2);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(2, 13, 14, 1);
}

void DrawCopy(QPainter& p) {
    DrawPage(p, 1, 1);
    DrawPage(p, 6, 4);
}

void DrawResync(QPainter& p) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0, 120, 0), 2));
    p.drawArc(QRectF(2.5, 2, 11, 11), 30 * 16, 150 * 16);
    p.drawArc(QRectF(2.5, 2, 11, 11), 210 * 16, 150 * 16);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 120, 0));
    const QPointF top[] = {{10, 0.5}, {15, 4}, {9.5, 5.5}};
    const QPointF bottom[] = {{6, 14.5}, {1, 11}, {6.5, 9.5}};
    p.drawPolygon(top, 3);
    p.drawPolygon(bottom, 3);
}

void DrawPause(QPainter& p) {
    p.setPen(kOutline);
    p.setBrush(QColor(30, 80, 200));
    p.drawRect(3, 2, 3, 11);
    p.drawRect(9, 2, 3, 11);
}

void DrawFind(QPainter& p) {
    p.setBrush(QColor(210, 230, 250));
    p.setPen(QPen(kOutline, 1.5));
    p.drawEllipse(QRectF(1.5, 1.5, 8, 8));
    p.setPen(QPen(QColor(120, 80, 30), 2.5));
    p.drawLine(QPointF(8.5, 8.5), QPointF(14, 13.5));
}

void DrawExport(QPainter& p) {
    DrawPage(p, 1, 2);
    p.setPen(QPen(QColor(0, 120, 0), 2));
    p.drawLine(QPointF(7, 8), QPointF(14, 8));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 120, 0));
    const QPointF head[] = {{15.5, 8}, {11, 4.5}, {11, 11.5}};
    p.drawPolygon(head, 3);
}

void DrawMap(QPainter& p, qreal scale = 1.0) {
    p.scale(scale, scale);
    p.setPen(kOutline);
    p.setBrush(QColor(120, 170, 240));
    p.drawEllipse(QRectF(1, 0.5, 13, 13));
    p.setBrush(QColor(60, 160, 60));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QRectF(3, 3, 5, 4));
    p.drawEllipse(QRectF(8, 7, 4, 4));
    p.setPen(QPen(QColor(255, 0, 0)));
    p.setBrush(QColor(255, 0, 0));
    p.drawRect(10, 3, 1, 1);
}

}  // namespace

QString ToolTipText(ToolCommand command) {
    for (const auto& entry : kCommandTexts) {
        if (entry.command == command) return QString::fromLatin1(entry.toolTip);
    }
    return {};
}

QIcon ToolIcon(ToolCommand command) {
    QPixmap image(16, 15);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    switch (command) {
        case ToolCommand::kOpenLog:
            DrawOpenLog(painter);
            break;
        case ToolCommand::kCloseLog:
            DrawCloseLog(painter);
            break;
        case ToolCommand::kClear:
            DrawClear(painter);
            break;
        case ToolCommand::kCopy:
            DrawCopy(painter);
            break;
        case ToolCommand::kResync:
            DrawResync(painter);
            break;
        case ToolCommand::kPause:
            DrawPause(painter);
            break;
        case ToolCommand::kShowMap:
            DrawMap(painter);
            break;
        case ToolCommand::kFind:
            DrawFind(painter);
            break;
        case ToolCommand::kExport:
            DrawExport(painter);
            break;
    }
    painter.end();
    return QIcon(image);
}

}  // namespace nimboview

namespace nimboview {

QIcon DecoderWindowIcon() {
    QPixmap image(32, 32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(1, 2);
    DrawMap(painter, 2.0);
    painter.end();
    return QIcon(image);
}

}  // namespace nimboview
