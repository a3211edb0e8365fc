// Station histories from an archive that the real decoder filled through the
// control: Tromso's week of three-hourly reports, opened by a click on its
// station line in the decoder window and on its marker on the map.
#include <gtest/gtest.h>

#include <QChart>
#include <QFile>
#include <QLineSeries>
#include <QTableWidget>
#include <QTest>
#include <QTextBlock>
#include <filesystem>

#include "decoder_window.h"
#include "fake_decoder.h"
#include "map_canvas.h"
#include "rich_text_pane.h"
#include "station_map_window.h"
#include "temp_dir.h"

namespace nimboview::testing {
namespace {

class StationHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::int32_t status = 0;
        ASSERT_EQ(m_dialog->Create(1, &status), nimbo::S_OK);
        ASSERT_EQ(status, 1) << "the decoding library is needed";
        m_dialog->put_DecoderRelax(1);
        ASSERT_EQ(m_dialog->put_ArchiveFile((m_folder / "DEMO.sqlite").string()), nimbo::S_OK);
        const std::string folder = NIMBO_TEST_DATA_DIR "/synop/metno-kvalobs/expected_result_synop";
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            if (!entry.path().filename().string().starts_with("1025-")) continue;
            QFile file(QString::fromStdString(entry.path().string()));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            m_dialog->Parse(file.readAll().constData());
        }
    }
    DecoderWindow& Window() { return *m_dialog->Window(); }

    dovrel::testing::TempDir m_folder;
    std::shared_ptr<RecordingPrompts> m_prompts = std::make_shared<RecordingPrompts>();
    nimbo::ComponentRef<WeatherDialog> m_dialog{
        new WeatherDialog(&WeatherDialog::LoadDecoder, m_prompts)};
};

int Points(QChart* chart, int series) {
    return static_cast<int>(static_cast<QLineSeries*>(chart->series().at(series))->count());
}

TEST_F(StationHistoryTest, ClickOnAStationLineShowsTheTenDaysFromTheArchive) {
    RichTextPane* pane = Window().TextPane();
    const QTextBlock line = pane->document()->find("Station Identity:  01025").block();
    ASSERT_TRUE(line.isValid());
    QTextCursor cursor(line);
    QTest::mouseClick(pane->viewport(), Qt::LeftButton, {}, pane->cursorRect(cursor).center());
    StationHistoryWindow* history = Window().HistoryWindow();
    ASSERT_NE(history, nullptr);
    EXPECT_EQ(history->windowTitle(), "Station History - 01025 Tromso / Langnes [NORWAY]");
    // 53 reports from the 22nd to the 28th, four of them without a wind speed.
    EXPECT_EQ(history->Table()->rowCount(), 53);
    EXPECT_EQ(history->Table()->item(0, 0)->text().right(8), "28 12:00");  // newest first
    const QList<QChart*> charts = history->Charts();
    ASSERT_EQ(charts.size(), 3);
    EXPECT_EQ(Points(charts[0], 0), 53);  // temperature
    EXPECT_EQ(Points(charts[0], 1), 53);  // dew point
    EXPECT_EQ(Points(charts[1], 0), 53);  // sea-level pressure
    EXPECT_EQ(Points(charts[2], 0), 49);  // wind speed
    EXPECT_TRUE(m_prompts->boxes.empty());
}

TEST_F(StationHistoryTest, ClickOnAMarkerShowsItsStation) {
    Window().ToggleMap();
    const StationList& stations = m_dialog->Stations();
    const StationRecord& tromso = stations.At(stations.Newest());
    MapCanvas& canvas = *Window().MapWindow()->Canvas();
    const synoptic::Point at = canvas.View().Project(tromso.latitude, tromso.longitude);
    QTest::mouseClick(&canvas, Qt::LeftButton, {}, QPoint(at.x + 1, at.y));
    ASSERT_NE(Window().HistoryWindow(), nullptr);
    EXPECT_EQ(Window().HistoryWindow()->Table()->rowCount(), 53);
    Window().ShowStationHistory("99999");
    EXPECT_EQ(Window().HistoryWindow()->Table()->rowCount(), 0);
}

}  // namespace
}  // namespace nimboview::testing
