// End to end: the bundled Telex capture goes over a pseudo-terminal into the
// terminal, the terminal hands it to the weather display control, its decoder
// reports the stations, and the station map shows each of them with its
// first temperature. A second decoder, fed the sample's text directly, says
// which stations and temperatures to expect.
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QImage>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <cmath>
#include <fstream>
#include <optional>
#include <sstream>

#include "component_loader.h"
#include "modulator.h"
#include "no_op_decoder_events.h"
#include "qt_audio_input.h"
#include "sound_file_source.h"
#include "station_list.h"
#include "status_bar_panels.h"
#include "tuning_strip.h"
#include "weather_control.h"
#include "weather_fixture.h"

namespace dovrel::test {
namespace {

struct ExpectedStation {
    float lat = 0, lng = 0;
    std::string ident;
    std::optional<float> temperature;
};

// Records every station a decoder reports and the first temperature after it.
class StationRecorder final : public nimbo::NoOpDecoderEvents {
  public:
    std::vector<ExpectedStation> stations;
    void Position(float lat, float lng, const std::string& ident, const std::string&,
                  const std::string&) override {
        stations.push_back({lat, lng, ident, std::nullopt});
    }
    void Temperature(float tmp, std::int32_t) override {
        if (!stations.empty() && !stations.back().temperature) stations.back().temperature = tmp;
    }
};

QByteArray ReadSample(const char* name) {
    QFile file(QString(NIMBO_SAMPLES_DIR "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::vector<ExpectedStation> ReferenceStations() {
    std::string error;
    auto decoder = nimbo::ComponentLoader::Create<nimbo::IWeatherDecoder>(
        nimbo::kProgIdWeatherDecoder, &error);
    if (!decoder) return {};
    StationRecorder recorder;
    std::uint32_t cookie = 0;
    decoder->put_DecoderRelax(-1);
    decoder->Advise(&recorder, &cookie);
    for (const QByteArray& line : ReadSample("bulletins.txt").split('\n'))
        decoder->Parse((line + "\n").constData());
    decoder->Unadvise(cookie);
    return recorder.stations;
}

QFont LabelFont() {
    QFont font(QStringLiteral("Courier New"));
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(14);
    return font;
}

// The pixels a text covers fully when drawn in pure red at x = 0 on the
// label's baseline for a marker in row y.
std::vector<QPoint> TextCore(const QString& text, int y) {
    QImage image(600, 300, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(LabelFont());
    painter.setPen(QColor(255, 0, 0));
    painter.drawText(0, y - 5 + QFontMetrics(painter.font()).ascent(), text);
    painter.end();
    std::vector<QPoint> core;
    for (int row = 0; row < image.height(); ++row)
        for (int column = 0; column < image.width(); ++column)
            if (image.pixel(column, row) == qRgb(255, 0, 0)) core.push_back({column, row});
    return core;
}

// Whether the text stands in pure red somewhere on the label's row.
bool ShowsRedText(const QImage& map, const QString& text, int y) {
    const std::vector<QPoint> core = TextCore(text, y);
    if (core.empty()) return false;
    for (int left = 0; left < map.width(); ++left) {
        bool all = true;
        for (const QPoint& p : core) {
            const QPoint at = p + QPoint(left, 0);
            if (!map.rect().contains(at) || map.pixel(at) != qRgb(255, 0, 0)) {
                all = false;
                break;
            }
        }
        if (all) return true;
    }
    return false;
}

bool HasMarkerAt(const QImage& map, int x, int y, QRgb colour) {
    for (int dx = -1; dx <= 0; ++dx)
        for (int dy = -1; dy <= 0; ++dy)
            if (map.rect().contains(x + dx, y + dy) && map.pixel(x + dx, y + dy) == colour)
                return true;
    return false;
}

using WeatherEndToEndTest = WeatherWindowTest;

TEST_F(WeatherEndToEndTest, CaptureOverTheLineEndsOnTheMapWithTemperatures) {
    const std::vector<ExpectedStation> expected = ReferenceStations();
    ASSERT_GE(expected.size(), 10u);
    const QByteArray capture = ReadSample("capture.ita2");
    ASSERT_FALSE(capture.isEmpty());

    Store(Context()).WriteInt("AutoSynop", 1);  // the Telex line of the first start
    auto window = StartOnPty();
    ASSERT_TRUE(window->WeatherAvailable());
    // In pieces, so that the terminal reads while the test writes.
    for (qsizetype at = 0; at < capture.size(); at += 512) {
        m_pty->Write(capture.mid(at, 512).toStdString());
        ASSERT_TRUE(WaitUntil([&] { return !m_pty->Unread(); }));
    }
    const QString lastIdent = QString::fromStdString(expected.back().ident);
    ASSERT_TRUE(WaitUntil([&] { return DecoderText().contains(lastIdent); }, 10000));

    QWidget* decoder = TopLevel("Weather Decoder");
    for (QAction* action : decoder->findChildren<QAction*>())
        if (action->toolTip() == "Show map") action->trigger();
    QWidget* map = TopLevel("Weather Station Map");
    ASSERT_NE(map, nullptr);
    const QImage picture = map->grab().toImage().convertToFormat(QImage::Format_RGB32);

    // Every station has its marker; the newest is highlighted.
    std::vector<nimboview::MapPoint> points;
    for (const ExpectedStation& station : expected)
        points.push_back(nimboview::StationList::Project(station.lat, station.lng));
    for (std::size_t i = 0; i + 1 < points.size(); ++i)
        EXPECT_TRUE(HasMarkerAt(picture, points[i].x, points[i].y, qRgb(255, 0, 0)) ||
                    HasMarkerAt(picture, points[i].x, points[i].y, qRgb(255, 255, 64)))
            << expected[i].ident;
    EXPECT_TRUE(HasMarkerAt(picture, points.back().x, points.back().y, qRgb(255, 255, 64)));

    // Hovering a station whose marker stands alone shows its label with the first temperature
    // reported after it. The map is drawn and hovered in the window's canvas, at the window's
    // origin.
    QWidget* canvas = map;
    for (QWidget* child : map->findChildren<QWidget*>())
        if (child->inherits("nimboview::MapCanvas")) canvas = child;
    int checked = 0;
    for (std::size_t i = 0; i + 1 < expected.size(); ++i) {
        if (!expected[i].temperature) continue;
        bool alone = true;
        for (std::size_t j = 0; j < points.size(); ++j)
            if (j != i && std::abs(points[j].x - points[i].x) <= 2 &&
                std::abs(points[j].y - points[i].y) <= 2)
                alone = false;
        if (!alone) continue;
        const QPoint at(points[i].x, points[i].y);
        QMouseEvent move(QEvent::MouseMove, at, map->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(canvas, &move);
        const QImage hovered = map->grab().toImage().convertToFormat(QImage::Format_RGB32);
        char temperature[32];
        std::snprintf(temperature, sizeof temperature, "%02.1f",
                      std::round(*expected[i].temperature * 10.0) / 10.0);
        const QString label =
            QString::fromStdString(expected[i].ident.substr(0, 7) + " [" + temperature);
        EXPECT_TRUE(ShowsRedText(hovered, label, points[i].y)) << label.toStdString();
        ++checked;
    }
    EXPECT_GE(checked, 5);
}

// The first bulletin of the capture as the weather broadcasts send it: 50
// bauds, 450 Hz shift, 1.5 stop bits, mark above space, with idle line
// before and after, recorded at 96 kHz. Three stations.
constexpr qsizetype kFirstBulletinBytes = 330;

std::string WriteFirstBulletinWav(const std::string& path) {
    const QByteArray capture = ReadSample("capture.ita2").left(kFirstBulletinBytes);
    modem::ModSettings settings;
    settings.line.polarity = modem::Polarity::Reverse;
    settings.centreHz = 1900;
    modem::Modulator modulator(96000, settings);
    std::vector<float> samples;
    modulator.Idle(100, samples);
    const std::vector<std::uint8_t> codes(capture.begin(), capture.end());
    modulator.Send(codes, samples);
    modulator.Idle(100, samples);
    return modem::WriteWav(path, 96000, samples);
}

TEST_F(WeatherEndToEndTest, CaptureAsSoundReachesTheLogAndTheDecoder) {
    const std::vector<ExpectedStation> expected = ReferenceStations();
    ASSERT_GE(expected.size(), 3u);
    const std::string wav = m_work.path().toStdString() + "/first-bulletin.wav";
    ASSERT_EQ(WriteFirstBulletinWav(wav), "");

    QtAudioInputOpener fast(2.0);  // 2 s of sound per read
    audioOpener = &fast;
    Store(Context()).WriteInt("AutoSynop", 1);
    Store(Context()).WriteInt("AutoLogst", 1);
    Store(Context()).WriteText("PortName", "audio:file:" + wav);
    auto window = MakeWindow();
    ASSERT_TRUE(window->Start({"T1"}));
    EXPECT_TRUE(window->Lines().IsAudio());
    EXPECT_TRUE(window->Tuning()->isVisibleTo(window.get()));
    EXPECT_FALSE(window->SendBox()->isEnabled());
    const QString third = QString::fromStdString(expected[2].ident);
    modem::TuningState tones;  // as the strip showed them while the signal lasted
    TuningReadout readout;
    EXPECT_TRUE(WaitUntil(
        [&] {
            if (window->Tuning()->Tuning().locked) {
                tones = window->Tuning()->Tuning();
                readout = window->Tuning()->Readout();
            }
            return DecoderText().contains(third);
        },
        20000))
        << PaneText(*window);
    EXPECT_TRUE(readout.tones.starts_with("Mark 21") && readout.tones.ends_with("Shift 450 Hz"))
        << readout.tones;
    EXPECT_GT(readout.meter, 0.3);
    // The polarity box sets the line's polarity, kept for the instance.
    emit window->Tuning()->findChild<QComboBox*>("Polarity")->activated(2);
    EXPECT_EQ(Store(Context()).ReadInt("Polarity", 0), 2);
    emit window->Tuning()->findChild<QCheckBox*>("MendShifts")->clicked(false);
    EXPECT_EQ(Store(Context()).ReadInt("MendShifts", 1), 0);
    // The strip marks the tones where they were sent.
    EXPECT_TRUE(tones.locked);
    EXPECT_NEAR(std::max(tones.markHz, tones.spaceHz), 2125, 20);
    EXPECT_NEAR(std::min(tones.markHz, tones.spaceHz), 1675, 20);
    // The end of the recording is said, and no silence watch takes over.
    EXPECT_TRUE(WaitUntil([&] { return window->Panels()->Text("Status") == "END OF RECORDING"; }));
    EXPECT_TRUE(window->windowTitle().endsWith(" - END OF RECORDING"));
    const std::string logPath = m_work.path().toStdString() + "/" + window->Log().LogPath();
    window.reset();
    std::ifstream log(logPath);
    std::stringstream logText;
    logText << log.rdbuf();
    EXPECT_NE(logText.str().find("SINO99 ENBJ 270300"), std::string::npos) << logText.str();
    EXPECT_NE(logText.str().find("01062 41356 73611 11004 21026 30011 40025 52018 70222 85850"),
              std::string::npos);
}

}  // namespace
}  // namespace dovrel::test
