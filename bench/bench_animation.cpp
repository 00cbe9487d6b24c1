// SPDX-License-Identifier: MIT
// File > Export Animation... and yawmark-batch --gif at their defaults: the
// start-up skid (3.52 s to rest) at 25 frames a second in real time, 720 x 546
// pixels, the view fitted to the skid. The frames alone, and the frames
// written to a GIF, as the export's worker thread makes them.
#include "bench/QtBenchmarkMain.h"
#include "io/GifFile.h"
#include "model/Run.h"
#include "plot/Animation.h"

#include <QTemporaryDir>
#include <benchmark/benchmark.h>

#include <cstdint>

using namespace yawmark;

namespace {

model::Record skidRecord(double& timeStep) {
    const model::Case c = model::startupCase();
    model::Run run;
    run.start(c);
    while (run.phase() == model::Phase::Running && run.pass(nullptr, false)) {
    }
    timeStep = c.run.timeStep;
    return run.record();
}

void animate(benchmark::State& state, bool write) {
    double timeStep = 0;
    const model::Record record = skidRecord(timeStep);
    const plot::AnimationSettings settings{25, 1};
    QTemporaryDir dir;
    std::int64_t frames = 0;
    for (auto _ : state) {
        io::GifFile gif(dir.filePath("skid.gif"));
        if (write && gif.open(720, 546, settings.fps)) state.SkipWithError("cannot open");
        plot::ImagePlot picture(720, 546, plot::View{});
        picture.fitView(record);
        picture.begin(record.samples().front().position);
        frames = 0;
        plot::animateRecord(record, timeStep, picture, settings, [&](const QImage& frame) {
            ++frames;
            if (!write) return std::optional<std::string>();
            const QImage rgb = frame.convertToFormat(QImage::Format_RGB32);
            return gif.add(reinterpret_cast<const std::uint32_t*>(rgb.constBits()),
                           static_cast<int>(rgb.bytesPerLine() / 4));
        });
        if (write && gif.commit()) state.SkipWithError("cannot write");
    }
    state.counters["frames"] = static_cast<double>(frames);
}

void BM_AnimationFrames(benchmark::State& state) {
    animate(state, false);
}
void BM_AnimationGif(benchmark::State& state) {
    animate(state, true);
}
BENCHMARK(BM_AnimationFrames)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_AnimationGif)->Unit(benchmark::kMillisecond);

} // namespace

YAWMARK_QT_BENCHMARK_MAIN()
