// Characters per second through ReadConvert and the display routine into a
// real QTextEdit (offscreen), and for comparison into a QPlainTextEdit.
#include <QApplication>
#include <QColor>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextEdit>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "reception.h"
#include "reception_input.h"

namespace dovrel::bench {
namespace {

// The pane over a text widget (QTextEdit or QPlainTextEdit), as the window
// would wire it.
template <typename Edit>
class TextEditPane : public Pane {
  public:
    explicit TextEditPane(Edit& edit) : m_edit(edit) {}
    void Append(std::string_view text, TextStyle style) override {
        QTextCursor cursor(m_edit.document());
        cursor.movePosition(QTextCursor::End);
        QTextCharFormat format;
        format.setForeground(
            QColor(style.colour & 0xFF, (style.colour >> 8) & 0xFF, (style.colour >> 16) & 0xFF));
        format.setFontWeight(style.emphasis ? QFont::Bold : QFont::Normal);
        cursor.insertText(QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())),
                          format);
    }
    std::size_t Length() const override {
        return static_cast<std::size_t>(m_edit.document()->characterCount() - 1);
    }
    void Clear() override { m_edit.clear(); }

  private:
    Edit& m_edit;
};

// Wall-clock and processor time of one run, in characters per second.
struct Rates {
    double wall;
    double cpu;
};

template <typename Edit>
Rates Run(Edit& edit, const std::string& capture, std::size_t block, int rounds,
          LineCode code = LineCode::Telex) {
    TerminalSettings settings = BusySettings();
    TelexState telex;
    TextEditPane<Edit> pane(edit);
    SystemClock clock;
    QueueScheduler scheduler;
    Reception rx(settings, telex, BusyKeywords(), pane, clock, scheduler);
    rx.SetLineCode(code);
    QElapsedTimer timer;
    timer.start();
    const std::clock_t cpuStart = std::clock();
    for (int r = 0; r < rounds; ++r) {
        for (std::size_t i = 0; i < capture.size(); i += block) {
            rx.OnDataReceived(std::string_view(capture).substr(i, block));
            scheduler.RunAll();
            QCoreApplication::processEvents();
        }
    }
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    const double chars = static_cast<double>(capture.size()) * rounds;
    return Rates{chars / seconds, chars / cpuSeconds};
}

}  // namespace
}  // namespace dovrel::bench

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr && std::getenv("DISPLAY") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QApplication app(argc, argv);
    const std::string capture = dovrel::bench::LoadCapture();
    if (capture.empty()) {
        std::fprintf(stderr, "bench_reception_qtextedit: capture not found\n");
        return 1;
    }
    QTextEdit edit;
    QPlainTextEdit plain;
    for (QAbstractScrollArea* w :
         {static_cast<QAbstractScrollArea*>(&edit), static_cast<QAbstractScrollArea*>(&plain)}) {
        w->resize(800, 600);
        w->show();
    }
    edit.setReadOnly(true);
    plain.setReadOnly(true);
    for (std::size_t block : {std::size_t{1}, std::size_t{64}, std::size_t{4096}}) {
        const int rounds = block == 1 ? 3 : 20;
        const auto rich = dovrel::bench::Run(edit, capture, block, rounds);
        std::printf(
            "reception into QTextEdit (offscreen),      %4zu-byte blocks: %8.0f chars/s"
            " (%8.0f per processor second)\n",
            block, rich.wall, rich.cpu);
        const auto fast = dovrel::bench::Run(plain, capture, block, rounds);
        std::printf(
            "reception into QPlainTextEdit (offscreen), %4zu-byte blocks: %8.0f chars/s"
            " (%8.0f per processor second)\n",
            block, fast.wall, fast.cpu);
    }
    // A line that never ends (ASCII, no CR or LF): the cost per character
    // must stay that of ordinary lines however long the line grows.
    const std::string endless(1 << 20, 'A');
    edit.clear();
    const auto rich = dovrel::bench::Run(edit, endless, 64, 1, dovrel::LineCode::Ascii8);
    std::printf(
        "1 MiB line without line ends into QTextEdit, 64-byte blocks: %8.0f chars/s"
        " (%8.0f per processor second)\n",
        rich.wall, rich.cpu);
    return 0;
}
