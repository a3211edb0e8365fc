// The decoder window's controls: status-pane clicks, pause keys and button,
// tool-bar commands, the open-log dialog, the close box and the map window.
#include "decoder_window.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBrowser>
#include <QToolBar>
#include <QToolButton>
#include <QWheelEvent>
#include <cstdlib>

#include "fake_decoder.h"
#include "find_bar.h"
#include "rich_text_pane.h"
#include "station_map_window.h"
#include "status_panes.h"

namespace nimboview::testing {
namespace {

using ::testing::ElementsAre;

class DecoderWindowTest : public ControlTest {
  protected:
    void SetUp() override { Create(1); }
    void ClickPaneBar(int x) {
        QTest::mouseClick(Window().Panes(), Qt::LeftButton, {}, QPoint(x, 5));
    }
    void Key(Qt::Key key) { QTest::keyClick(Window().TextPane(), key); }
};

// A click toggles the mode of the pane under the mouse (the first pane whose
// right edge lies beyond x); panes 0 and 1 and the space after the last: nothing.
TEST_F(DecoderWindowTest, ClicksOnModePanesToggleTheirModes) {
    EXPECT_EQ(StatusPanes::PaneAt(104), 0);
    EXPECT_EQ(StatusPanes::PaneAt(105), 1);
    EXPECT_EQ(StatusPanes::PaneAt(389), 5);
    EXPECT_EQ(StatusPanes::PaneAt(390), -1);
    for (int x : {50, 110, 400, 150, 200, 300, 350}) ClickPaneBar(x);
    EXPECT_THAT(Decoder().calls, ElementsAre("put_MessageLock 1", "put_DecoderLock 0",
                                             "put_DecoderRelax 1", "put_DecoderQuiet 1"));
    EXPECT_EQ(Window().Panes()->Text(3), "D:UNLOCK      ");
    ClickPaneBar(200);
    EXPECT_EQ(Window().Panes()->Text(3), "D:LOCK        ");
}

// Pause key or button holds the text; Escape or the button hands it on.
TEST_F(DecoderWindowTest, PauseHoldsTextUntilEscapeOrTheButton) {
    Key(Qt::Key_Escape);  // not paused: nothing changes
    EXPECT_FALSE(Dialog().Paused());
    Key(Qt::Key_Pause);
    EXPECT_TRUE(Dialog().Paused());
    EXPECT_TRUE(Action(ToolCommand::kPause)->isChecked());
    Dialog().Parse("held");
    EXPECT_TRUE(Decoder().parsed.empty());
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Dialog().Paused());
    EXPECT_FALSE(Action(ToolCommand::kPause)->isChecked());
    EXPECT_THAT(Decoder().parsed, ElementsAre("held"));
    Action(ToolCommand::kPause)->trigger();
    EXPECT_TRUE(Dialog().Paused());
    Action(ToolCommand::kPause)->trigger();
    EXPECT_FALSE(Dialog().Paused());
}

TEST_F(DecoderWindowTest, ResyncButtonPutsResyncAndEventsUncheckIt) {
    Action(ToolCommand::kResync)->trigger();
    EXPECT_THAT(Decoder().calls, ElementsAre("put_DecoderResyn 1"));
    EXPECT_EQ(Window().Panes()->Text(0), "Resync  ...");
    Decoder().sink->Guess("AAXX");
    EXPECT_FALSE(Action(ToolCommand::kResync)->isChecked());
    EXPECT_EQ(Window().Panes()->Text(0), "Guess AAXX Station");
    Action(ToolCommand::kResync)->trigger();
    Action(ToolCommand::kResync)->trigger();
    EXPECT_EQ(Window().Panes()->Text(0), "Waiting ...");
}

TEST_F(DecoderWindowTest, ClearEmptiesPane) {
    Decoder().sink->Result("Station:           01028\n", 2, 0);
    Action(ToolCommand::kClear)->trigger();
    EXPECT_EQ(Window().TextPane()->TextLength(), 0);
    EXPECT_TRUE(Window().TextPane()->isReadOnly());
}

// Find goes round the text; the export writes the reports in the format its
// file name asks for, and says so when there is nothing to export.
TEST_F(DecoderWindowTest, FindGoesRoundTheTextAndExportWritesTheReports) {
    for (const char* line : {"Station:           01028\n", "Station:           01001\n"})
        Decoder().sink->Result(line, 2, 0);
    Action(ToolCommand::kFind)->trigger();
    nimbo::FindBar* find = Window().Find();
    EXPECT_TRUE(find->isVisibleTo(&Window()));
    find->Field()->setText("Station");
    std::vector<int> found;
    for (int i = 0; i < 3 && find->FindNext(); ++i)
        found.push_back(Window().TextPane()->textCursor().position());
    EXPECT_THAT(found, ElementsAre(7, 32, 7));
    find->Field()->setText("01999");
    EXPECT_FALSE(find->FindNext());

    Action(ToolCommand::kExport)->trigger();
    EXPECT_EQ(m_control.prompts->boxes.back().text, "No report decoded yet.");
    nimbo::WeatherObservation report;
    report.kind = "AAXX";
    report.station = "01028";
    report.latitude = 74.5;
    report.longitude = 19.0;
    Dialog().Reports().Observation(report);
    QTemporaryDir dir;
    const std::pair<const char*, const char*> files[] = {
        {"/r.csv", "kind,station,"},
        {"/r.geojson", "{\"type\":\"FeatureCollection\""},
        {"/r.jsonl", "{\"kind\":\"AAXX\",\"station\":\"01028\""}};
    for (const auto& [name, start] : files) {
        m_control.prompts->chosenFile = dir.path() + name;
        Action(ToolCommand::kExport)->trigger();
        QFile file(dir.path() + name);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name;
        EXPECT_TRUE(file.readAll().startsWith(start)) << name;
    }
}

// The terminal's zoom keys: Ctrl+plus or Ctrl+=, Ctrl+minus down to 4
// points, Ctrl+0 back to the default size; each change is an event.
TEST_F(DecoderWindowTest, ZoomKeysChangeTheFontAndCtrl0ResetsIt) {
    const auto press = [this](const QKeySequence& keys) {
        for (QAction* action : Window().actions()) {
            if (action->shortcut() == keys) return action->trigger();
        }
        ADD_FAILURE() << keys.toString().toStdString();
    };
    struct ZoomSink : nimbo::_IWeatherDialogEvents {
        std::vector<std::int32_t> zooms;
        void FontZoomChanged(std::int32_t zoom) override { zooms.push_back(zoom); }
    } sink;
    std::uint32_t cookie = 0;
    Dialog().Advise(&sink, &cookie);
    RichTextPane* pane = Window().TextPane();
    const int standard = pane->ZoomedPoints();
    press(QKeySequence::ZoomIn);
    press(QKeySequence(Qt::CTRL | Qt::Key_Equal));
    EXPECT_EQ(pane->document()->defaultFont().pointSize(), standard + 2);
    for (int i = 0; i < 20; ++i) press(QKeySequence::ZoomOut);
    EXPECT_EQ(pane->ZoomedPoints(), 4);
    press(QKeySequence(Qt::CTRL | Qt::Key_0));
    EXPECT_EQ(pane->document()->defaultFont().pointSize(), standard);
    // Every zoom that changed the font, and no more.
    EXPECT_THAT(sink.zooms, ElementsAre(1, 2, 1, 0, -1, -2, -3, -4, 0));
}

TEST_F(DecoderWindowTest, CopyPutsPlainAndRichTextOnClipboard) {
    Decoder().sink->Result(
        "Temperature:       1.2\xB0"
        "C\n",
        4, 1);
    QApplication::clipboard()->clear();
    Action(ToolCommand::kCopy)->trigger();
    const QMimeData* data = QApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->text().startsWith(QString::fromUtf8("Temperature:       1.2°C")));
    EXPECT_TRUE(data->hasHtml());
    EXPECT_FALSE(Window().TextPane()->textCursor().hasSelection());
}

TEST_F(DecoderWindowTest, OpenLogPutsFolderAndBaseNameThenStarts) {
    m_control.prompts->chosenFile = "/tmp/logs/station.syn";
    Action(ToolCommand::kOpenLog)->trigger();
    ASSERT_EQ(m_control.prompts->fileRequests.size(), 1u);
    EXPECT_EQ(m_control.prompts->fileRequests[0].directory, "/var/tmp/Data");
    EXPECT_EQ(m_control.prompts->fileRequests[0].fileName, "261206-2200");
    EXPECT_THAT(Decoder().calls, ElementsAre("put_LogPathName /tmp/logs", "put_LogFileName station",
                                             "put_LogRaw 1", "put_LogText 1"));
    EXPECT_TRUE(m_control.prompts->boxes.empty());
    EXPECT_EQ(Window().windowTitle(), "Weather Decoder - station");
}

TEST_F(DecoderWindowTest, CancelledOrFailedOpenLogStaysClosed) {
    Action(ToolCommand::kOpenLog)->trigger();  // cancelled: nothing changes
    EXPECT_TRUE(Decoder().calls.empty());
    Decoder().failRawLog = true;
    m_control.prompts->chosenFile = "/nowhere/station.syn";
    Action(ToolCommand::kOpenLog)->trigger();
    ASSERT_EQ(m_control.prompts->boxes.size(), 1u);
    EXPECT_EQ(m_control.prompts->boxes[0].title, "Open Log Error");
    EXPECT_EQ(m_control.prompts->boxes[0].text, "\"station\" : Access is denied.");
    EXPECT_TRUE(Action(ToolCommand::kOpenLog)->isEnabled());
    EXPECT_EQ(Decoder().logRaw, 0);
    EXPECT_EQ(Decoder().logText, 0);
}

TEST_F(DecoderWindowTest, CloseBoxOnlyHidesWindowAndMap) {
    Action(ToolCommand::kShowMap)->trigger();
    ASSERT_NE(Window().MapWindow(), nullptr);
    Window().close();
    EXPECT_FALSE(Window().isVisible());
    ASSERT_NE(Window().MapWindow(), nullptr);
    EXPECT_FALSE(Window().MapWindow()->isVisible());
    EXPECT_EQ(Dialog().put_Show(1), nimbo::S_OK);
    EXPECT_TRUE(Window().isVisible());
    // "Show map" brings the hidden map back instead of closing it unseen.
    Action(ToolCommand::kShowMap)->trigger();
    ASSERT_NE(Window().MapWindow(), nullptr);
    EXPECT_TRUE(Window().MapWindow()->isVisible());
}

// The map opens under the window first, then where it was left; a position
// retitles it.
TEST_F(DecoderWindowTest, MapOpensUnderWindowFirstThenWhereLeft) {
    Window().move(100, 50);
    Action(ToolCommand::kShowMap)->trigger();
    StationMapWindow* map = Window().MapWindow();
    ASSERT_NE(map, nullptr);
    EXPECT_EQ(map->windowTitle(), "Weather Station Map");
    EXPECT_EQ(map->pos(), Window().frameGeometry().bottomLeft() + QPoint(0, 1));
    Decoder().sink->Position(74.31f, 19.01f, "ENBJ", "Bjornoya", "NO");
    EXPECT_EQ(map->windowTitle(), "Weather Station Map - Bjornoya [NO]");
    Decoder().sink->Position(70.4f, 31.1f, "LDGJ", "", "");
    EXPECT_EQ(map->windowTitle(), "Weather Station Map");
    map->move(400, 420);
    Action(ToolCommand::kShowMap)->trigger();
    EXPECT_EQ(Window().MapWindow(), nullptr);
    Action(ToolCommand::kShowMap)->trigger();
    ASSERT_NE(Window().MapWindow(), nullptr);
    EXPECT_EQ(Window().MapWindow()->pos(), QPoint(400, 420));
}

// The map's pixels: red markers, the newest in yellow.
class StationMapTest : public ::testing::Test {
  protected:
    QImage Picture() { return m_window.grab().toImage(); }
    StationList m_stations;
    StationMapWindow m_window{m_stations, nullptr};
};

// Island stations smaller than a map pixel still have land or shore under
// their marker, not the open-sea colour.
TEST_F(StationMapTest, IslandStationsHaveLandUnderTheirMarker) {
    const QImage picture = StationMapWindow::MapPicture();
    ASSERT_EQ(picture.size(), QSize(600, 300));
    const QColor openSea = picture.pixelColor(StationList::Project(30.0, -30.0).x,
                                              StationList::Project(30.0, -30.0).y);
    const struct {
        const char* name;
        double lat, lng;
    } islands[] = {{"Jan Mayen", 70.94, -8.67},      {"Bjornoya", 74.50, 19.00},
                   {"Torshavn", 62.02, -6.77},       {"Funchal", 32.65, -16.90},
                   {"Ponta Delgada", 37.74, -25.70}, {"Flores", 39.45, -31.13},
                   {"Bermuda", 32.37, -64.68},       {"Gough", -40.35, -9.88}};
    for (const auto& island : islands) {
        const MapPoint at = StationList::Project(island.lat, island.lng);
        const QColor seen = picture.pixelColor(at.x, at.y);
        const int distance = std::abs(seen.red() - openSea.red()) +
                             std::abs(seen.green() - openSea.green()) +
                             std::abs(seen.blue() - openSea.blue());
        EXPECT_GT(distance, 45) << island.name << " at " << at.x << "," << at.y;
    }
}

TEST_F(StationMapTest, AfterWrapAllThousandDrawnAndNewestHighlighted) {
    for (int i = 0; i < 1000; ++i) m_stations.AddPosition(-60.0f, -150.0f + i * 0.25f, "S", "");
    m_stations.AddPosition(0.0f, 0.0f, "NEW", "");  // overwrites record 0
    ASSERT_EQ(m_stations.Newest(), 0);
    const QImage picture = Picture();
    const StationRecord& last = m_stations.At(999);
    EXPECT_EQ(picture.pixelColor(last.x, last.y), QColor(255, 0, 0));
    const StationRecord& second = m_stations.At(1);
    EXPECT_EQ(picture.pixelColor(second.x - 1, second.y - 1), QColor(255, 0, 0));
    EXPECT_EQ(picture.pixelColor(301, 150), QColor(255, 255, 64));
}

// The zoomable map: models appear once zoomed, a click within 6 pixels of a
// station shows its report beside the map and is signalled, the wheel zooms
// about the mouse.
TEST(ZoomableMapTest, ClickOnAModelShowsItsReportAndWheelZoomsAboutTheMouse) {
    StationList stations;
    synoptic::StationModels models;
    nimbo::WeatherObservation report;
    report.station = "01028";
    report.name = "Bjornoya";
    report.latitude = 74.5;
    report.longitude = 19.0;
    report.airTemperature = -3.2;
    report.cloudCoverCode = 8;
    models.Add(report);
    stations.AddPosition(74.5f, 19.0f, "01028", "Bjornoya");
    StationMapWindow window(stations, nullptr, &models);
    window.resize(800, 600);
    window.show();
    MapCanvas& canvas = *window.Canvas();
    EXPECT_TRUE(canvas.grab().width() > 0 && canvas.PlacedModels().empty());  // world view
    canvas.FitToStations();
    canvas.grab();
    ASSERT_EQ(canvas.PlacedModels().size(), 1u);
    const synoptic::Point at = canvas.View().Project(74.5, 19.0);
    QString clicked;
    QObject::connect(&window, &StationMapWindow::StationClicked,
                     [&clicked](const QString& id) { clicked = id; });
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(at.x + 6, at.y - 6));
    EXPECT_EQ(clicked, "01028");
    EXPECT_TRUE(window.ReportPanel()->isVisible());
    EXPECT_TRUE(window.ReportPanel()->toPlainText().contains("Temperature: -3.2"));
    clicked.clear();
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(at.x + 8, at.y));
    EXPECT_TRUE(clicked.isEmpty());
    const double zoom = canvas.View().Zoom();
    QWheelEvent wheel(QPointF(at.x, at.y), canvas.mapToGlobal(QPointF(at.x, at.y)), {},
                      QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&canvas, &wheel);
    EXPECT_DOUBLE_EQ(canvas.View().Zoom(), zoom * MapCanvas::kWheelStep);
    EXPECT_NEAR(canvas.View().Project(74.5, 19.0).x, at.x, 1e-6);
}

}  // namespace
}  // namespace nimboview::testing
