// Station map painting and hover tracking.
#include "station_map_window.h"

#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>

#include "cp1252_text.h"

// The picture is a resource of this library; registering it by hand keeps it
// linked in when the library is built as a static archive.
#ifndef NIMBOVIEW_NO_MAP_PICTURE
static void InitMapResource() { Q_INIT_RESOURCE(nimboview); }
#endif

namespace nimboview {
namespace {

const QColor kMarker(255, 0, 0);
const QColor kNewestMarker(255, 255, 64);
const QColor kLabelColour(0, 0, 0);
const QColor kHoverColour(255, 0, 0);

QFont LabelFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(14);
    return font;
}

// Square of half side `half` around a marker, right and bottom edges exclusive.
QRect MarkerSquare(const StationRecord& record, int half) {
    return QRect(QPoint(record.x - half, record.y - half), QSize(2 * half, 2 * half));
}

// Stand-in for a build without the map picture: sea with the equator, the
// Greenwich meridian and a 30-degree grid at the picture's projection.
[[maybe_unused]] QImage PlaceholderPicture() {
    QImage picture(StationMapWindow::kMapWidth, StationMapWindow::kMapHeight, QImage::Format_RGB32);
    picture.fill(QColor(200, 225, 245));
    QPainter painter(&picture);
    painter.setPen(QColor(150, 180, 210));
    for (int degrees = -180; degrees <= 180; degrees += 30) {
        const int x = StationList::Project(0, degrees).x;
        painter.drawLine(x, 0, x, picture.height());
    }
    for (int degrees = -90; degrees <= 90; degrees += 30) {
        const int y = StationList::Project(degrees, 0).y;
        painter.drawLine(0, y, picture.width(), y);
    }
    return picture;
}

}  // namespace

StationMapWindow::StationMapWindow(StationList& stations, QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_stations(stations),
      m_picture(MapPicture()) {
    setWindowTitle(QStringLiteral("Weather Station Map"));
    setFixedSize(kMapWidth, kMapHeight);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    if (const auto position = m_stations.MapWindowPosition()) move(position->x, position->y);
}

QImage StationMapWindow::MapPicture() {
#ifdef NIMBOVIEW_NO_MAP_PICTURE
    const QImage picture = PlaceholderPicture();
#else
    InitMapResource();
    const QImage picture(QStringLiteral(":/nimboview/world_map.gif"));
#endif
    if (picture.isNull()) return {};
    // Rendered once onto white, as the picture is drawn at every paint.
    QImage rendered(picture.size(), QImage::Format_RGB32);
    rendered.fill(Qt::white);
    QPainter painter(&rendered);
    painter.drawImage(0, 0, picture);
    return rendered;
}

void StationMapWindow::StationsChanged(const QString& title) {
    if (!title.isEmpty()) setWindowTitle(title);
    update();
}

void StationMapWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    if (!m_picture.isNull()) painter.drawImage(0, 0, m_picture);
    PaintStations(painter);
}

void StationMapWindow::PaintStations(QPainter& painter) {
    for (int i = 0; i < m_stations.DrawCount(); ++i) {
        const StationRecord& record = m_stations.At(i);
        painter.fillRect(MarkerSquare(record, record.size), kMarker);
    }
    const int newest = m_stations.Newest();
    if (newest < 0 || newest >= StationList::kCapacity) return;
    painter.setFont(LabelFont());
    const StationRecord& record = m_stations.At(newest);
    painter.fillRect(MarkerSquare(record, record.size + 2), kNewestMarker);
    PaintLabel(painter, record, StationList::Label(record), kLabelColour);
    if (m_stations.Hovered() != -1) {
        const StationRecord& hovered = m_stations.At(m_stations.Hovered());
        PaintLabel(painter, hovered, StationList::HoverLabel(hovered), kHoverColour);
        m_stations.SetHoverLabelShown();
    }
}

void StationMapWindow::PaintLabel(QPainter& painter, const StationRecord& record,
                                  const std::string& label, const QColor& colour) {
    const QString text = Cp1252ToUnicode(label);
    const QFontMetrics metrics(painter.font());
    const int width = metrics.horizontalAdvance(text);
    const int left = StationList::LabelLeft(record.x, width, this->width());
    painter.setPen(colour);
    painter.drawText(left, record.y - 5 + metrics.ascent(), text);
}

void StationMapWindow::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    if (m_stations.HoverAt(at.x(), at.y())) update();
    m_stations.SetMapWindowPosition({pos().x(), pos().y()});
}

void StationMapWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    const std::string station = m_stations.StationAt(at.x(), at.y());
    if (event->button() == Qt::LeftButton && !station.empty()) {
        emit StationClicked(QString::fromStdString(station));
    }
}

void StationMapWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    m_stations.SetMapWindowPosition({pos().x(), pos().y()});
}

}  // namespace nimboview
