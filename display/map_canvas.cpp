// Station map drawing, zoom, pan and hover.
#include "map_canvas.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolButton>
#include <QWheelEvent>
#include <cmath>

#include "cp1252_text.h"
#include "station_map_window.h"

namespace nimboview {
namespace {

const QColor kMarker(255, 0, 0);
const QColor kNewestMarker(255, 255, 64);
const QColor kLabelColour(0, 0, 0);
const QColor kHoverColour(255, 0, 0);
constexpr double kFitMargin = 60;
constexpr double kKeyPan = 40;
// A press that moves less than this is a click, not a drag.
constexpr double kClickSlack = 3;

QFont LabelFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(14);
    return font;
}

// Square of half side `half` around a marker, right and bottom edges exclusive.
QRect MarkerSquare(QPoint at, int half) {
    return QRect(QPoint(at.x() - half, at.y() - half), QSize(2 * half, 2 * half));
}

}  // namespace

MapCanvas::MapCanvas(StationList& stations, const synoptic::StationModels* models, QWidget* parent)
    : QWidget(parent),
      m_stations(stations),
      m_models(models),
      m_view(StationMapWindow::kMapWidth, StationMapWindow::kMapHeight),
      m_picture(StationMapWindow::MapPicture()) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 100);
    m_fit = new QToolButton(this);
    m_fit->setText(QStringLiteral("Fit"));
    m_fit->setToolTip(QStringLiteral("Fit to stations (F); start view (0)"));
    m_fit->setAutoRaise(true);
    m_fit->setFocusPolicy(Qt::NoFocus);
    m_fit->hide();  // shown once the map is larger than the start view or zoomed
    connect(m_fit, &QToolButton::clicked, this, &MapCanvas::FitToStations);
}

void MapCanvas::ZoomBy(double factor, QPointF at) {
    m_view.ZoomAt({at.x(), at.y()}, factor);
    m_fit->show();
    update();
}

void MapCanvas::FitToStations() {
    if (m_models != nullptr && m_models->Size() > 0) {
        m_view.Fit(m_models->Bounds(), kFitMargin);
    } else if (m_stations.Newest() >= 0) {
        synoptic::GeoBox box{180, 90, -180, -90};
        const int count = m_stations.Wrapped() ? StationList::kCapacity : m_stations.Newest() + 1;
        for (int i = 0; i < count; ++i) {
            const StationRecord& r = m_stations.At(i);
            box = {std::min<double>(box.west, r.longitude), std::min<double>(box.south, r.latitude),
                   std::max<double>(box.east, r.longitude),
                   std::max<double>(box.north, r.latitude)};
        }
        m_view.Fit(box, kFitMargin);
    }
    update();
}

void MapCanvas::ResetView() {
    m_view = synoptic::MapView(width(), height());
    update();
}

QPointF MapCanvas::Place(const StationRecord& record) const {
    // At the start view the markers keep the picture's own pixel rule.
    if (m_view.Zoom() == 1 && m_view.Project(0, 0).x == 303 && m_view.Project(0, 0).y == 152)
        return QPointF(record.x, record.y);
    const synoptic::Point p = m_view.Project(record.latitude, record.longitude);
    return QPointF(std::floor(p.x), std::floor(p.y));
}

StationList::Placer MapCanvas::Placer() const {
    return [this](const StationRecord& record) {
        const QPointF at = Place(record);
        return std::pair<double, double>(at.x(), at.y());
    };
}

QString MapCanvas::StationAt(QPointF pixel) const {
    const double reach = StationList::kHoverReach;
    const auto near = [&](double x, double y) {
        return std::abs(x - pixel.x()) <= reach && std::abs(y - pixel.y()) <= reach;
    };
    for (const synoptic::PlacedModel& placed : m_placed) {
        if (near(placed.at.x, placed.at.y)) return QString::fromStdString(placed.entry->plot.id);
    }
    // A marker without its model still belongs to a decoded report: the
    // report's station number names it, where the marker knows only the
    // location indicator.
    if (m_models != nullptr) {
        for (const synoptic::StationEntry* entry : m_models->NewestFirst()) {
            const nimbo::WeatherObservation& report = entry->observation;
            const synoptic::Point at = m_view.Project(*report.latitude, *report.longitude);
            if (near(at.x, at.y)) return QString::fromStdString(entry->plot.id);
        }
    }
    const int count = m_stations.DrawCount();
    const int newest = m_stations.Newest();
    for (int i = -1; i < count; ++i) {
        // The newest station first: it is on top.
        const int index = i < 0 ? newest : i;
        if (index < 0 || (i >= 0 && index == newest)) continue;
        const QPointF at = Place(m_stations.At(index));
        if (near(at.x(), at.y())) return Cp1252ToUnicode(m_stations.At(index).ident);
    }
    return {};
}

void MapCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    m_painter.PaintBackground(painter, m_view, m_picture);
    m_placed.clear();
    if (ShowsModels()) m_placed = synoptic::LayoutModels(*m_models, m_view);
    PaintMarkers(painter);
    m_painter.PaintModels(painter, m_placed);
    const int newest = m_stations.Newest();
    if (newest < 0 || newest >= StationList::kCapacity) return;
    painter.setFont(LabelFont());
    const StationRecord& record = m_stations.At(newest);
    PaintLabel(painter, record, StationList::Label(record), kLabelColour);
    if (m_stations.Hovered() != -1) {
        const StationRecord& hovered = m_stations.At(m_stations.Hovered());
        PaintLabel(painter, hovered, StationList::HoverLabel(hovered), kHoverColour);
        m_stations.SetHoverLabelShown();
    }
}

void MapCanvas::PaintMarkers(QPainter& painter) {
    const auto modelled = [this](const StationRecord& record) {
        for (const synoptic::PlacedModel& placed : m_placed) {
            if (placed.entry->plot.id == record.ident) return true;
        }
        return false;
    };
    for (int i = 0; i < m_stations.DrawCount(); ++i) {
        const StationRecord& record = m_stations.At(i);
        if (!m_placed.empty() && modelled(record)) continue;
        painter.fillRect(MarkerSquare(Place(record).toPoint(), record.size), kMarker);
    }
    const int newest = m_stations.Newest();
    if (newest < 0 || newest >= StationList::kCapacity) return;
    const StationRecord& record = m_stations.At(newest);
    painter.fillRect(MarkerSquare(Place(record).toPoint(), record.size + 2), kNewestMarker);
}

void MapCanvas::PaintLabel(QPainter& painter, const StationRecord& record, const std::string& label,
                           const QColor& colour) {
    const QString text = Cp1252ToUnicode(label);
    const QFontMetrics metrics(painter.font());
    const QPoint at = Place(record).toPoint();
    const int left = StationList::LabelLeft(at.x(), metrics.horizontalAdvance(text), width());
    painter.setPen(colour);
    painter.drawText(left, at.y() - 5 + metrics.ascent(), text);
}

void MapCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_pressedAt = m_lastDrag = event->position();
    m_dragging = true;
}

void MapCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (m_dragging && (event->buttons() & Qt::LeftButton)) {
        m_view.Pan(at.x() - m_lastDrag.x(), at.y() - m_lastDrag.y());
        m_lastDrag = at;
        m_fit->show();
        update();
        return;
    }
    if (m_stations.HoverAt(at.x(), at.y(), Placer())) update();
}

void MapCanvas::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_dragging) return;
    m_dragging = false;
    const QPointF moved = event->position() - m_pressedAt;
    if (std::abs(moved.x()) > kClickSlack || std::abs(moved.y()) > kClickSlack) return;
    const QString station = StationAt(event->position());
    if (!station.isEmpty()) emit StationClicked(station);
}

void MapCanvas::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0) ZoomBy(std::pow(kWheelStep, steps), event->position());
    event->accept();
}

void MapCanvas::keyPressEvent(QKeyEvent* event) {
    const QPointF centre(width() / 2.0, height() / 2.0);
    switch (event->key()) {
        case Qt::Key_Plus:
        case Qt::Key_Equal:
            ZoomBy(2, centre);
            return;
        case Qt::Key_Minus:
            ZoomBy(0.5, centre);
            return;
        case Qt::Key_Left:
            m_view.Pan(kKeyPan, 0);
            break;
        case Qt::Key_Right:
            m_view.Pan(-kKeyPan, 0);
            break;
        case Qt::Key_Up:
            m_view.Pan(0, kKeyPan);
            break;
        case Qt::Key_Down:
            m_view.Pan(0, -kKeyPan);
            break;
        case Qt::Key_F:
            FitToStations();
            return;
        case Qt::Key_0:
        case Qt::Key_Home:
            ResetView();
            return;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    update();
}

void MapCanvas::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    m_view.Resize(width(), height());
    m_fit->adjustSize();
    m_fit->move(width() - m_fit->width() - 4, 4);
    if (width() > StationMapWindow::kMapWidth || height() > StationMapWindow::kMapHeight)
        m_fit->show();
}

}  // namespace nimboview
