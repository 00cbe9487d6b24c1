// SPDX-License-Identifier: MIT
#include "plot/Animation.h"

#include <QPainter>

#include <cmath>
#include <cstdint>

namespace yawmark::plot {

namespace {

// The simulated time, in a box of the background colour, top left.
void stampTime(QImage& image, double time) {
    QPainter p(&image);
    QFont font;
    font.setPixelSize(ImageSurface::kFontPixels);
    p.setFont(font);
    const QString text = QStringLiteral("t = %1 s").arg(time, 0, 'f', 2);
    const QRect box = p.fontMetrics().boundingRect(text).adjusted(-3, -2, 3, 2);
    const QRect at = box.translated(2 - box.left(), 2 - box.top());
    p.fillRect(at, Qt::white);
    p.setPen(Qt::black);
    p.drawText(at, Qt::AlignCenter, text);
}

} // namespace

double animationFrames(const model::Record& record, const AnimationSettings& settings) {
    if (record.empty()) return 1;
    return std::floor(record.samples().back().time * settings.fps / settings.speed) + 2;
}

std::optional<std::string> animateRecord(const model::Record& record, double timeStep,
                                         ImagePlot& plot, const AnimationSettings& settings,
                                         const FrameSink& sink) {
    const auto samples = record.samples();
    if (samples.empty()) { // no pass run: the plot as it starts
        QImage frame = plot.frame();
        stampTime(frame, 0);
        return sink(frame);
    }
    const double half = timeStep / 2;
    std::size_t drawn = 0;
    const auto drawThrough = [&](double t) {
        for (; drawn < samples.size() && samples[drawn].time <= t; ++drawn) {
            const model::Sample& s = samples[drawn];
            plot.renderer().drawCar(s.body(), sim::placeWheels(record.car(s), s.heading),
                                    s.lasting);
        }
    };
    const auto shoot = [&]() {
        QImage frame = plot.frame();
        stampTime(frame, samples[drawn - 1].time);
        return sink(frame);
    };
    const double end = samples.back().time + half;
    for (std::int64_t k = 0;; ++k) {
        const double t = static_cast<double>(k) * settings.speed / settings.fps;
        if (k > 0 && t > end) break;
        drawThrough(t + half);
        if (drawn == 0) drawThrough(samples.front().time); // a record not starting at 0
        if (auto problem = shoot()) return problem;
    }
    if (drawn == samples.size()) return std::nullopt;
    drawThrough(samples.back().time);
    return shoot();
}

} // namespace yawmark::plot
