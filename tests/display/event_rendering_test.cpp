// Rendering of the decoder's events in the text pane: text, colour and
// weight of each kind, status texts, and the pane's 24000-character rule.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <set>
#include <utility>
#include <vector>

#include "decoder_event_renderer.h"
#include "rich_text_pane.h"

namespace nimboview {
namespace {

struct TextRun {
    QString text;
    QColor colour;
    bool bold;
};

// Text runs of the pane in order, with paragraph ends as "\n".
std::vector<TextRun> Runs(const RichTextPane& pane) {
    std::vector<TextRun> runs;
    for (QTextBlock block = pane.document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat format = fragment.charFormat();
            runs.push_back(
                {fragment.text(), format.foreground().color(), format.fontWeight() == QFont::Bold});
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

TEST_F(EventRenderingTest, MessageStartIsBoldGreenRuleAndSearches) {
    m_renderer.Message(1, "AAXX");
    const TextRun run = OnlyRun();
    const QString expected = "#### Start Msg AAXX " + QString(61, '#') + "\n";
    EXPECT_EQ(run.text, expected);
    EXPECT_EQ(run.text.size(), 82);
    EXPECT_EQ(run.colour, QColor(35, 142, 35));
    EXPECT_TRUE(run.bold);
    EXPECT_EQ(m_view.state, "Search ...");
    EXPECT_FALSE(m_view.resyncChecked);
}

TEST_F(EventRenderingTest, MessageEndIsPaddedAndWaits) {
    m_renderer.Message(0, "??");
    EXPECT_EQ(OnlyRun().text, "#### End   Msg " + QString(66, '#') + "\n");
    EXPECT_EQ(m_view.state, "Waiting ...");
}

TEST(MessageLineTest, ShortReferenceIsRightAlignedLongOneUnpadded) {
    EXPECT_EQ(DecoderEventRenderer::MessageLine(1, "??").substr(0, 21), "#### Start Msg   ?? #");
    const std::string longReference(70, 'R');
    const std::string line = DecoderEventRenderer::MessageLine(1, longReference);
    EXPECT_EQ(line, "#### Start Msg " + longReference + " \n");
}

// Separators: one rule character per level, bold; results: a colour per
// level (the value part, slevel 1, in bold), one colour for any other level.
TEST_F(EventRenderingTest, LevelsHaveTheirRuleAndColour) {
    const std::pair<int, char> rules[] = {{0, '='}, {1, '-'}, {2, '.'}, {7, ':'}, {-1, ':'}};
    for (const auto& [level, rule] : rules) {
        m_view.pane.clear();
        m_renderer.Separator(level);
        const TextRun run = OnlyRun();
        EXPECT_EQ(run.text, QString(81, QChar(rule)) + "\n") << level;
        EXPECT_TRUE(run.bold);
        EXPECT_EQ(run.colour,
                  level == 0 || level == 1 ? QColor(0, 255, 255) : QColor(112, 219, 147))
            << level;
    }
    std::vector<QRgb> colours;
    for (int level : {0, 1, 2, 3, 4, 9, -2}) {
        for (int slevel : {0, 1}) {
            m_view.pane.clear();
            m_renderer.Result("Temperature:       ", level, slevel);
            const TextRun run = OnlyRun();
            EXPECT_EQ(run.text, "Temperature:       ");
            EXPECT_EQ(run.bold, slevel == 1) << level;
            if (slevel == 0) colours.push_back(run.colour.rgb());
        }
    }
    EXPECT_EQ(QColor(colours[1]), QColor(255, 0, 0));      // level 1
    EXPECT_EQ(QColor(colours[5]), QColor(230, 232, 250));  // any other level
    EXPECT_EQ(colours[6], colours[5]);
    EXPECT_EQ(std::set<QRgb>(colours.begin(), colours.begin() + 6).size(), 6u);
}

TEST_F(EventRenderingTest, ResultTextIsShownAsUnicodeWithItsOwnLineEnd) {
    m_renderer.Result(
        "Temperature:       -30.6\xB0"
        "C\n",
        4, 1);
    EXPECT_EQ(m_view.pane.toPlainText(), QString::fromUtf8("Temperature:       -30.6°C\n"));
}

TEST_F(EventRenderingTest, ErrorIsOrangeNotBold) {
    m_renderer.Error("DATA ERROR:        1x012\n");
    const TextRun run = OnlyRun();
    EXPECT_EQ(run.text, "DATA ERROR:        1x012\n");
    EXPECT_EQ(run.colour, QColor(255, 127, 0));
    EXPECT_FALSE(run.bold);
}

TEST_F(EventRenderingTest, IndicatorShowsWindowAndNamesKind) {
    m_renderer.Indicator("BBXX");
    EXPECT_EQ(m_view.state, "Found BBXX Station");
    EXPECT_EQ(m_view.shown, 1);
    EXPECT_FALSE(m_view.resyncChecked);
    EXPECT_TRUE(m_view.pane.toPlainText().isEmpty());
}

TEST_F(EventRenderingTest, GuessNamesKindWithoutShowing) {
    m_renderer.Guess("AAXX");
    EXPECT_EQ(m_view.state, "Guess AAXX Station");
    EXPECT_EQ(m_view.shown, 0);
    EXPECT_FALSE(m_view.resyncChecked);
}

TEST_F(EventRenderingTest, BlocDoesNothing) {
    m_renderer.Bloc(1);
    EXPECT_TRUE(m_view.pane.toPlainText().isEmpty());
    EXPECT_TRUE(m_view.state.isEmpty());
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

TEST_F(TextLimitTest, BelowLimitAppends) {
    Fill(23999);
    EXPECT_FALSE(m_pane.Append("next\n", Qt::white, false));
    EXPECT_EQ(m_pane.TextLength(), 23999 + 5);
}

TEST_F(TextLimitTest, AtLimitClearsFirstAndKeepsNewText) {
    Fill(24000);
    EXPECT_TRUE(m_pane.Append("next\n", Qt::white, true));
    EXPECT_EQ(m_pane.toPlainText(), "... cleared ...\nnext\n");
    const auto runs = Runs(m_pane);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0].colour, QColor(184, 115, 51));
    EXPECT_FALSE(runs[0].bold);
    EXPECT_EQ(runs[1].colour, QColor(Qt::white));
    EXPECT_TRUE(runs[1].bold);
}

TEST_F(TextLimitTest, OneAppendMayPassTheLimitWithoutLoss) {
    Fill(23990);
    const QString big(100, 'z');
    m_pane.Append(big, Qt::white, false);
    EXPECT_EQ(m_pane.TextLength(), 24090);
    EXPECT_TRUE(m_pane.toPlainText().endsWith(big));
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

TEST_F(ScrollBackTest, LimitStillClearsWhileScrolledUp) {
    m_pane.Append(QString(24000 - 8000, 'z'), Qt::white, false);
    ASSERT_EQ(m_pane.TextLength(), 24000);
    Bar()->setValue(0);
    EXPECT_TRUE(m_pane.Append("next\n", Qt::white, false));
    EXPECT_EQ(m_pane.toPlainText(), "... cleared ...\nnext\n");
}

}  // namespace
}  // namespace nimboview
