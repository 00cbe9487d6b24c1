// SPDX-License-Identifier: MIT
#include "plot/Scene.h"

#include "plot/Renderer.h"
#include "sim/NumberText.h"

#include <QFileInfo>
#include <QImageReader>

#include <algorithm>
#include <cmath>

namespace yawmark::plot {

namespace {

std::string name(const QString& path) {
    return "\"" + path.toStdString() + "\"";
}

} // namespace

QTransform placementTransform(double a, double b, double c, double d, double e, double f) {
    // Qt maps (x, y) to (m11·x + m21·y + dx, m12·x + m22·y + dy).
    return QTransform(a, d, b, e, c, f);
}

std::variant<QImage, std::string> loadSceneImage(const QString& path, long long maxPixels) {
    if (!QFileInfo(path).isFile()) return name(path) + ": there is no such file.";
    QImageReader reader(path);
    const QSize size = reader.size();
    if (!reader.canRead())
        return name(path) + ": not an image this program reads (" +
               reader.errorString().toStdString() + ").";
    if (size.isValid() && static_cast<long long>(size.width()) * size.height() > maxPixels)
        return name(path) + ": the image has " +
               formatNumber(double(size.width()) * size.height() / 1e6) +
               " megapixels; a scene may have at most " + formatNumber(double(maxPixels) / 1e6) +
               ".";
    // Qt's own limit on what one image may take (256 MB) is below the largest
    // photo taken; the check above keeps the size in bounds.
    reader.setAllocationLimit(static_cast<int>(maxPixels * 4 / (1 << 20) + 1));
    reader.setAutoTransform(false); // the world file refers to the pixels as stored
    QImage image = reader.read();
    if (image.isNull())
        return name(path) + ": the image cannot be read (" + reader.errorString().toStdString() +
               ").";
    if (static_cast<long long>(image.width()) * image.height() > maxPixels)
        return name(path) + ": the image has more than " + formatNumber(double(maxPixels) / 1e6) +
               " megapixels.";
    return image;
}

std::optional<std::pair<sim::Vec2, sim::Vec2>> sceneBounds(const SceneLayer& scene) {
    std::vector<sim::Vec2> points;
    if (!scene.image.isNull() && scene.showImage) {
        const QRectF corners = scene.toWorld.mapRect(QRectF(QPointF(0, 0), scene.image.size()));
        points.push_back({corners.left(), corners.top()});
        points.push_back({corners.right(), corners.bottom()});
    }
    for (const auto& line : scene.lines)
        points.insert(points.end(), line.begin(), line.end());
    if (points.empty()) return std::nullopt;
    sim::Vec2 lo = points.front(), hi = points.front();
    for (const sim::Vec2& p : points) {
        lo = {std::min(lo.x, p.x), std::min(lo.y, p.y)};
        hi = {std::max(hi.x, p.x), std::max(hi.y, p.y)};
    }
    return std::pair{lo, hi};
}

void drawSceneImage(Surface& surface, const SceneLayer& scene) {
    if (scene.showImage && !scene.image.isNull() && scene.opacity > 0)
        surface.picture(scene.image, scene.toWorld, std::clamp(scene.opacity, 0.0, 1.0));
}

void drawSceneMarks(Surface& s, const SceneLayer& scene, sim::Vec2 lo, sim::Vec2 hi, double unit,
                    std::string_view unitName) {
    const int pen = s.penWidth();
    const bool persistent = s.persistent();
    s.setPersistent(true);
    s.setPenWidth(1);
    for (const auto& line : scene.lines)
        for (std::size_t i = 1; i < line.size(); ++i)
            s.line(line[i - 1].x, line[i - 1].y, line[i].x, line[i].y, kSceneLineColor);

    const double ch = std::abs(s.textHeight()), cw = std::abs(s.textWidth("X"));
    for (const Dimension& dimension : scene.dimensions) {
        const auto& d = dimension.points;
        if (d.size() < 2) continue;
        s.setPenWidth(kDimensionPixels);
        for (std::size_t i = 1; i < d.size() && i < 3; ++i)
            s.line(d[i - 1].x, d[i - 1].y, d[i].x, d[i].y, kDimensionColor);
        // Short ticks across the ends, as a drawn dimension has.
        const sim::Vec2 along = d[1] - d[0];
        const double len = sim::length(along);
        if (d.size() == 2 && len > 0) {
            const sim::Vec2 across{-along.y / len * ch / 2, along.x / len * ch / 2};
            for (const sim::Vec2& p : {d[0], d[1]})
                s.line(p.x - across.x, p.y - across.y, p.x + across.x, p.y + across.y,
                       kDimensionColor);
        }
        const sim::Vec2 at = d.size() == 2 ? 0.5 * (d[0] + d[1]) : d[1];
        if (!dimension.label.empty()) s.text(at.x + cw / 2, at.y + ch, dimension.label);
    }
    s.setPenWidth(1);

    if (scene.scaleBar && unit > 0 && hi.x > lo.x) {
        // A fifth of the width, rounded down to 1, 2 or 5 times a power of ten.
        const double wanted = (hi.x - lo.x) / 5 / unit;
        double length = niceInterval(wanted);
        if (length > wanted) length = niceInterval(length / 2.6);
        const double x0 = lo.x + 2 * cw, y0 = lo.y + 1.5 * ch, x1 = x0 + length * unit;
        s.setPenWidth(3);
        s.line(x0, y0, x1, y0, kBlack);
        s.setPenWidth(1);
        for (const double x : {x0, x1})
            s.line(x, y0 - ch / 3, x, y0 + ch / 3, kBlack);
        s.text(x0, y0 + 1.3 * ch, formatNumber(length) + " " + std::string(unitName));
    }
    s.setPenWidth(pen);
    s.setPersistent(persistent);
}

} // namespace yawmark::plot
