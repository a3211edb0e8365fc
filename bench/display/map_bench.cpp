// map_bench: how long the station map window takes to draw 3000 station
// models (a day's European traffic). The models are real reports of the
// bundled bulletins, decoded by the real decoder and spread over 3000
// station positions across Europe. Figures are milliseconds per frame of a
// 1200x800 window: the first frame of a view, with every model's picture
// still to be drawn (cold); the same view again (warm); and frames of a view
// that moves, whose coastlines are drawn again each time (moved).
#include <QApplication>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QPainter>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "component_ids.h"
#include "component_loader.h"
#include "map_painter.h"
#include "observation_source.h"
#include "station_map_window.h"
#include "weather_decoder_interface.h"
#include "weather_observation_interface.h"

namespace {

constexpr int kStations = 3000;
constexpr int kFrames = 20;

struct Collector : nimbo::_IWeatherObservationEvents {
    std::vector<nimbo::WeatherObservation> records;
    void Observation(const nimbo::WeatherObservation& o) override {
        if (!o.nil) records.push_back(o);
    }
};

std::vector<nimbo::WeatherObservation> RealReports() {
    Collector collector;
    std::string error;
    auto decoder = nimbo::ComponentLoader::Create<nimbo::IWeatherDecoder>(
        nimbo::kProgIdWeatherDecoder, &error);
    if (!decoder) {
        std::fprintf(stderr, "map_bench: %s\n", error.c_str());
        std::exit(1);
    }
    std::uint32_t cookie = 0;
    const auto source = nimbo::AdviseObservations(*decoder, &collector, &cookie);
    QDirIterator files(NIMBO_TEST_DATA_DIR "/synop", QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        std::ifstream file(files.next().toStdString(), std::ios::binary);
        std::stringstream text;
        text << file.rdbuf();
        decoder->Parse(text.str().c_str());
    }
    decoder.Reset();
    return collector.records;
}

// 3000 stations on a jittered grid over Europe, each with a real report.
synoptic::StationModels EuropeanDay(const std::vector<nimbo::WeatherObservation>& reports) {
    synoptic::StationModels models;
    for (int i = 0; i < kStations; ++i) {
        nimbo::WeatherObservation o = reports[static_cast<std::size_t>(i) % reports.size()];
        o.station = "S" + std::to_string(i);
        o.latitude = 35.0 + (i / 60) * 0.75 + (i * 7 % 11) * 0.05;
        o.longitude = -12.0 + (i % 60) * 0.75 + (i * 5 % 13) * 0.05;
        models.Add(o);
    }
    return models;
}

double MillisecondsPerFrame(nimboview::StationMapWindow& window, QImage& image, int frames) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < frames; ++i) window.Canvas()->render(&image);
    return timer.nsecsElapsed() / 1e6 / frames;
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::vector<nimbo::WeatherObservation> reports = RealReports();
    const synoptic::StationModels models = EuropeanDay(reports);
    std::printf("%zu real reports spread over %zu stations\n", reports.size(), models.Size());

    nimboview::StationList stations;
    for (const auto* entry : models.NewestFirst()) {
        stations.AddPosition(static_cast<float>(*entry->observation.latitude),
                             static_cast<float>(*entry->observation.longitude), entry->plot.id, "");
    }
    nimboview::StationMapWindow window(stations, nullptr, &models);
    window.resize(1200, 800);
    window.show();
    QApplication::processEvents();
    QImage image(1200, 800, QImage::Format_ARGB32_Premultiplied);

    std::printf("%-34s %8s %8s %8s %8s\n", "view (1200x800)", "models", "cold ms", "warm ms",
                "moved ms");
    window.Canvas()->FitToStations();
    const double zooms[] = {1, 2, 4, 8};
    const synoptic::MapView fitted = window.Canvas()->View();
    for (const double zoom : zooms) {
        window.Canvas()->ZoomBy(zoom, QPointF(600, 400));
        nimboview::StationMapWindow fresh(stations, nullptr, &models);
        fresh.resize(1200, 800);
        fresh.show();
        QApplication::processEvents();
        fresh.Canvas()->FitToStations();
        fresh.Canvas()->ZoomBy(zoom, QPointF(600, 400));
        const double cold = MillisecondsPerFrame(fresh, image, 1);
        const double warm = MillisecondsPerFrame(fresh, image, kFrames);
        // A drag: every frame a new view, so the coastlines are drawn again.
        QElapsedTimer timer;
        timer.start();
        for (int i = 0; i < kFrames; ++i) {
            QKeyEvent key(QEvent::KeyPress, i % 2 ? Qt::Key_Left : Qt::Key_Right, Qt::NoModifier);
            QApplication::sendEvent(fresh.Canvas(), &key);
            fresh.Canvas()->render(&image);
        }
        const double moved = timer.nsecsElapsed() / 1e6 / kFrames;
        char name[64];
        std::snprintf(name, sizeof name, "Europe fitted, zoom x%g (%.1f)", zoom,
                      fresh.Canvas()->View().Zoom());
        std::printf("%-34s %8zu %8.1f %8.1f %8.1f\n", name, fresh.Canvas()->PlacedModels().size(),
                    cold, warm, moved);
        window.Canvas()->ZoomBy(1 / zoom, QPointF(600, 400));
    }
    (void)fitted;

    // Every model drawn, none left out by decluttering: the worst case.
    std::vector<synoptic::PlacedModel> all;
    const synoptic::MapView view = window.Canvas()->View();
    for (const auto* entry : models.NewestFirst())
        all.push_back(
            {entry, view.Project(*entry->observation.latitude, *entry->observation.longitude)});
    nimboview::MapPainter painter;
    for (const char* pass : {"cold", "warm"}) {
        QElapsedTimer timer;
        timer.start();
        const int frames = pass[0] == 'c' ? 1 : kFrames;
        for (int i = 0; i < frames; ++i) {
            QPainter p(&image);
            painter.PaintModels(p, all);
        }
        std::printf("all %zu models drawn, no decluttering, %s: %.1f ms\n", all.size(), pass,
                    timer.nsecsElapsed() / 1e6 / frames);
    }
    return 0;
}
