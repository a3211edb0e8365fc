// Station map window: map canvas, report panel and the window's position.
#include "station_map_window.h"

#include <QHBoxLayout>
#include <QMoveEvent>
#include <QPainter>
#include <QTextBrowser>

#include "station_report.h"

// The picture is a resource of this library; registering it by hand keeps it
// linked in when the library is built as a static archive.
#ifndef NIMBOVIEW_NO_MAP_PICTURE
static void InitMapResource() { Q_INIT_RESOURCE(nimboview); }
#endif

namespace nimboview {
namespace {

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

StationMapWindow::StationMapWindow(StationList& stations, QWidget* owner,
                                   const synoptic::StationModels* models)
    : QWidget(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      m_stations(stations),
      m_models(models) {
    setWindowTitle(QStringLiteral("Weather Station Map"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_canvas = new MapCanvas(stations, models, this);
    m_report = new QTextBrowser(this);
    m_report->setFixedWidth(kReportWidth);
    m_report->hide();
    layout->addWidget(m_canvas, 1);
    layout->addWidget(m_report);
    resize(kMapWidth, kMapHeight);
    connect(m_canvas, &MapCanvas::StationClicked, this, [this](const QString& id) {
        ShowReport(id);
        emit StationClicked(id);
    });
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
    m_canvas->update();
}

void StationMapWindow::ShowReport(const QString& station) {
    const synoptic::StationEntry* entry =
        m_models != nullptr ? m_models->Find(station.toStdString()) : nullptr;
    const QString text = entry != nullptr
                             ? QString::fromStdString(synoptic::ReportText(entry->observation))
                             : station + QStringLiteral("\nNo decoded values for this station.");
    m_report->setPlainText(text);
    if (!m_report->isVisible()) {
        m_report->show();
        resize(width() + kReportWidth, height());
    }
}

void StationMapWindow::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    m_stations.SetMapWindowPosition({pos().x(), pos().y()});
}

}  // namespace nimboview
