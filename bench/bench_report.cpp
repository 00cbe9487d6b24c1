// SPDX-License-Identifier: MIT
// A whole report as PDF bytes: the start-up case with the marks of the worked
// example fitted once (outside the timing), its run to rest, the skid and the
// residual plots, the appendix.
#include "bench/QtBenchmarkMain.h"
#include "io/CaseFile.h"
#include "model/Boxes.h"
#include "model/Trails.h"
#include "report/Report.h"

#include <benchmark/benchmark.h>

using namespace yawmark;

namespace {

void BM_ReportPdf(benchmark::State& state) {
    report::ReportInput in;
    in.file = io::startupCaseFile();
    in.caseName = QStringLiteral("start-up case");
    in.version = QStringLiteral("bench");
    in.date = QDateTime::fromSecsSinceEpoch(0, Qt::UTC);
    if (state.range(0) != 0) {
        const auto prepared = model::prepareDraw(in.file.texts, in.file.autos, in.file.form);
        const model::Case c = std::get<model::Prepared>(prepared).c;
        report::ReportFit fit;
        fit.marks = model::runMarks(c);
        fit.result = model::fitMarks(c, fit.marks, {});
        in.fit = fit;
    }
    std::size_t bytes = 0;
    for (auto _ : state) {
        auto pdf = report::reportPdf(in);
        bytes = std::get<QByteArray>(pdf).size();
        benchmark::DoNotOptimize(bytes);
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_ReportPdf)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

YAWMARK_QT_BENCHMARK_MAIN();
