// Characters per second through ReadConvert and the display routine into a
// recording pane, with keywords, message separation and timestamps on.
#include <benchmark/benchmark.h>

#include "reception.h"
#include "reception_input.h"
#include "recording_pane.h"

namespace dovrel::bench {
namespace {

// range(0): bytes per received block (1 is a 50-baud line, larger blocks a
// fast line or the end of a pause).
void BM_ReceptionIntoRecordingPane(benchmark::State& state) {
    const std::string capture = LoadCapture();
    const std::size_t block = static_cast<std::size_t>(state.range(0));
    TerminalSettings settings = BusySettings();
    TelexState telex;
    testing::RecordingPane pane;
    SystemClock clock;
    QueueScheduler scheduler;
    Reception rx(settings, telex, BusyKeywords(), pane, clock, scheduler);
    rx.SetLineCode(LineCode::Telex);
    for (auto _ : state) {
        for (std::size_t i = 0; i < capture.size(); i += block) {
            rx.OnDataReceived(std::string_view(capture).substr(i, block));
            scheduler.RunAll();
        }
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * capture.size()));
    state.SetLabel("chars/s = items_per_second");
}
BENCHMARK(BM_ReceptionIntoRecordingPane)->Arg(1)->Arg(64)->Arg(4096);

}  // namespace
}  // namespace dovrel::bench

BENCHMARK_MAIN();
