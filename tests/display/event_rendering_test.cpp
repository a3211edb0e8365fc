// Rendering of the decoder's events in the text pane: text, colour and
// weight of each kind, status texts, and the pane's 24000-character rule.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <utility>
#include <vector>

#include "decoder_event_renderer.h"
#include "rich_text_pane.h"

namespace nimboview {
namespace {

struct TextRun {
    QString text;
    bool bold;
};

// Text runs of the pane in order, with paragraph ends as "\n".
std::vector<TextRun> Runs(const RichTextPane& pane) {
    std::vector<TextRun> runs;
    for (QTextBlock block = pane.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            runs.push_back({fragment.text(), format.fontWeight() == QFont::Bold});
        }
        if (block.next().isValid() && !runs.empty()) runs.back().text += "\n";
    }
    return runs;
}

class PaneView final : public DecoderView {
  public:
    void Append(const QString& text, const QColor& colour, bool bold) override {
        pane.Append(text, colour, bold);
    }
    void SetStateText(const QString& text) override { state = text; }
    void SetResyncChecked(bool checked) override { resyncChecked = checked; }
    void ShowIfHidden() override { ++shown; }
    void StationsChanged(const QString& title) override { titles.push_back(title); }

    RichTextPane pane;
    QString state;
    bool resyncChecked = true;
    int shown = 0;
    std::vector<QString> titles;
};

class EventRenderingTest : public ::testing::Test {
  protected:
    TextRun OnlyRun() {
        const auto runs = Runs(m_view.pane);
        EXPECT_EQ(runs.size(), 1u);
        return runs.empty() ? TextRun{} : runs.front();
    }

    PaneView m_view;
    StationList m_stations;
    DecoderEventRenderer m_renderer{m_view, m_stations};
};

TEST_F(EventRenderingTest, MessageStartIsBoldRuleAndSearchesEndWaits) {
    m_renderer.Message(1, "AAXX");
    const TextRun run = OnlyRun();
    EXPECT_EQ(run.text, "#### Start Msg AAXX " + QString(61, '#') + "\n");
    EXPECT_TRUE(run.bold);
    EXPECT_EQ(m_view.state, "Search ...");
    EXPECT_FALSE(m_view.resyncChecked);
    m_view.pane.clear();
    m_renderer.Message(0, "??");
    EXPECT_EQ(OnlyRun().text, "#### End   Msg " + QString(66, '#') + "\n");
    EXPECT_EQ(m_view.state, "Waiting ...");
    // A short reference is right-aligned, a long one unpadded.
    EXPECT_EQ(DecoderEventRenderer::MessageLine(1, "??").substr(0, 21), "#### Start Msg   ?? #");
    const std::string longReference(70, 'R');
    const std::string line = DecoderEventRenderer::MessageLine(1, longReference);
    EXPECT_EQ(line, "#### Start Msg " + longReference + " \n");
}

// Separators: one rule character per level, bold; results: the value part
// (slevel 1) in bold; errors not bold.
TEST_F(EventRenderingTest, LevelsHaveTheirRuleAndWeight) {
    const std::pair<int, char> rules[] = {{0, '='}, {1, '-'}, {2, '.'}, {7, ':'}, {-1, ':'}};
    for (const auto& [level, rule] : rules) {
        m_view.pane.clear();
        m_renderer.Separator(level);
        const TextRun run = OnlyRun();
        EXPECT_EQ(run.text, QString(81, QChar(rule)) + "\n") << level;
        EXPECT_TRUE(run.bold);
    }
    for (int slevel : {0, 1}) {
        m_view.pane.clear();
        m_renderer.Result("Temperature:       ", 2, slevel);
        EXPECT_EQ(OnlyRun().bold, slevel == 1);
    }
    m_view.pane.clear();
    m_renderer.Error("DATA ERROR:        1x012\n");
    const TextRun run = OnlyRun();
    EXPECT_EQ(run.text, "DATA ERROR:        1x012\n");
    EXPECT_FALSE(run.bold);
}

// An indicator shows the window and names the kind, a guess only names it,
// a block mark does nothing.
TEST_F(EventRenderingTest, IndicatorGuessAndBlocSetTheStatus) {
    m_renderer.Bloc(1);
    EXPECT_TRUE(m_view.state.isEmpty());
    EXPECT_TRUE(m_view.resyncChecked);
    m_renderer.Guess("AAXX");
    EXPECT_EQ(m_view.state, "Guess AAXX Station");
    EXPECT_EQ(m_view.shown, 0);
    EXPECT_FALSE(m_view.resyncChecked);
    m_renderer.Indicator("BBXX");
    EXPECT_EQ(m_view.state, "Found BBXX Station");
    EXPECT_EQ(m_view.shown, 1);
    EXPECT_TRUE(m_view.pane.toPlainText().isEmpty());
}

TEST_F(EventRenderingTest, StationEventsFillListAndRetitleMap) {
    m_renderer.Temperature(5.0f, 0);  // before any position: nowhere to go
    m_renderer.Position(74.31f, 19.01f, "01028", "Bj\xF8rn\xF8ya", "NO");
    m_renderer.Temperature(1.2f, 0);
    m_renderer.Temperature(7.1f, 1);
    m_renderer.Pressure(999.6f, 0);
    m_renderer.Pressure(1001.6f, 1);
    const StationRecord& record = m_stations.At(0);
    EXPECT_EQ(record.temperature, 12);
    EXPECT_EQ(record.pressure, 9996);
    ASSERT_EQ(m_view.titles.size(), 3u);
    EXPECT_EQ(m_view.titles[0], QString::fromUtf8("Weather Station Map - Bjørnøya [NO]"));
    EXPECT_TRUE(m_view.titles[1].isEmpty());
}

class TextLimitTest : public ::testing::Test {
  protected:
    void Fill(int length) {
        // Lines of 99 characters and a line end, then the rest.
        const QString line = QString(99, 'x') + "\n";
        QString text;
        while (text.size() + line.size() <= length) text += line;
        text += QString(length - text.size(), 'y');
        m_pane.Append(text, Qt::yellow, false);
        ASSERT_EQ(m_pane.TextLength(), length);
    }
    RichTextPane m_pane;
};

TEST_F(TextLimitTest, BelowLimitAppendsAndMayPassItWithoutLoss) {
    Fill(23990);
    EXPECT_FALSE(m_pane.Append("next\n", Qt::white, false));
    const QString big(100, 'z');
    m_pane.Append(big, Qt::white, false);
    EXPECT_EQ(m_pane.TextLength(), 23990 + 5 + 100);
    EXPECT_TRUE(m_pane.toPlainText().endsWith(big));
}

TEST_F(TextLimitTest, AtLimitClearsFirstAndKeepsNewText) {
    Fill(24000);
    EXPECT_TRUE(m_pane.Append("next\n", Qt::white, true));
    EXPECT_EQ(m_pane.toPlainText(), "... cleared ...\nnext\n");
    const auto runs = Runs(m_pane);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_FALSE(runs[0].bold);
    EXPECT_TRUE(runs[1].bold);
}

// Scroll-back while text flows: the view stays where the user put it.
class ScrollBackTest : public TextLimitTest {
  protected:
    void SetUp() override {
        m_pane.resize(300, 200);
        m_pane.show();
        Fill(8000);
    }
    QScrollBar* Bar() { return m_pane.verticalScrollBar(); }
    void AppendLines(int count) {
        for (int i = 0; i < count; ++i) m_pane.Append("more\n", Qt::white, false);
    }
};

TEST_F(ScrollBackTest, ScrolledUpOrSelectingStaysFollowsAgainAtTheEnd) {
    ASSERT_EQ(Bar()->value(), Bar()->maximum());
    Bar()->setValue(10);
    const int maximum = Bar()->maximum();
    AppendLines(20);
    EXPECT_EQ(Bar()->value(), 10);
    EXPECT_GT(Bar()->maximum(), maximum);
    // A selection at the end holds the view too, and is kept.
    Bar()->setValue(Bar()->maximum());
    QTextCursor selection(m_pane.document());
    selection.movePosition(QTextCursor::End);
    selection.movePosition(QTextCursor::PreviousBlock, QTextCursor::KeepAnchor);
    m_pane.setTextCursor(selection);
    const QString selected = m_pane.textCursor().selectedText();
    const int held = Bar()->value();
    AppendLines(20);
    EXPECT_EQ(m_pane.textCursor().selectedText(), selected);
    EXPECT_EQ(Bar()->value(), held);
    EXPECT_LT(Bar()->value(), Bar()->maximum());
    // Selection dropped and back at the end: the pane follows again.
    m_pane.setTextCursor(QTextCursor(m_pane.document()));
    Bar()->setValue(Bar()->maximum());
    AppendLines(20);
    EXPECT_EQ(Bar()->value(), Bar()->maximum());
    EXPECT_TRUE(m_pane.toPlainText().endsWith("more\nmore\n"));
}

// A zoom changes the text's height under the view: a view at the end stays
// there (and so follows new text), one scrolled up stays up.
TEST_F(ScrollBackTest, ZoomKeepsAViewAtTheEndFollowing) {
    m_pane.Zoom(2);
    EXPECT_EQ(Bar()->value(), Bar()->maximum());
    Bar()->setValue(10);
    m_pane.Zoom(1);
    EXPECT_EQ(Bar()->value(), 10);
}

TEST_F(ScrollBackTest, LimitStillClearsWhileScrolledUp) {
    m_pane.Append(QString(24000 - 8000, 'z'), Qt::white, false);
    ASSERT_EQ(m_pane.TextLength(), 24000);
    Bar()->setValue(0);
    EXPECT_TRUE(m_pane.Append("next\n", Qt::white, false));
    EXPECT_EQ(m_pane.toPlainText(), "... cleared ...\nnext\n");
}

}  // namespace
}  // namespace nimboview
