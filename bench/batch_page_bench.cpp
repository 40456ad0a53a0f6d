// The Batch page's work for a box of cards: a range of 100,000 hotstamps converted into the
// table, and the table exported as CSV, driven through the page itself (off screen).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include "app/batch_page.h"
#include "app/window_state.h"

namespace {

QLineEdit* box(QWidget& page, const char* accessibleName) {
    for (QLineEdit* e : page.findChildren<QLineEdit*>()) {
        if (e->accessibleName() == QLatin1String(accessibleName)) return e;
    }
    return nullptr;
}

// No card is read here.
struct NoReads : morvane::CardReads {
    bool read(morvane::CardSource, morvane::CardReadingDone) override { return false; }
};

void BM_BatchRangeBuiltAndExported(benchmark::State& state) {
    QTemporaryDir dir;
    NoReads reads;
    morvane::WindowState window;
    morvane::BatchPage page(
        reads, window, {[](QWidget&) { return QString(); }, [](const QString&) { return true; }});
    // 34 Bit, whose hotstamps reach past 100,000 (26 Bit stops at 65535 and refuses the range).
    auto* format = page.findChild<QComboBox*>();
    format->setCurrentIndex(format->findData(QStringLiteral("34")));
    box(page, "First hotstamp")->setText(QStringLiteral("0"));
    box(page, "Last hotstamp")->setText(QString::number(state.range(0) - 1));
    page.rebuildNow();
    if (page.table().rowCount() != state.range(0)) {
        state.SkipWithError("the range was not built into the table");
        return;
    }
    for (auto _ : state) {
        page.rebuildNow();
        benchmark::DoNotOptimize(page.exportCsv(dir.filePath(QStringLiteral("box.csv"))));
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_BatchRangeBuiltAndExported)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
