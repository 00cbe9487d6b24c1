// SPDX-License-Identifier: MIT
#include "cli/BatchScene.h"

namespace yawmark {

std::optional<std::string> batchScene(const model::Scene& scene, bool scaleBar,
                                      plot::SceneLayer& layer) {
    layer = {};
    layer.scaleBar = scaleBar;
    layer.opacity = scene.opacity;
    for (const model::SceneLine& line : scene.lines)
        layer.lines.push_back(line.points);
    if (scene.image.empty()) return std::nullopt;
    auto image =
        plot::loadSceneImage(QString::fromStdString(scene.image), model::kMaxSceneImagePixels);
    if (auto* message = std::get_if<std::string>(&image))
        return "the case's scene image " + *message;
    layer.image = std::get<QImage>(std::move(image));
    const model::Placement& p = scene.placement;
    layer.toWorld = plot::placementTransform(p.a, p.b, p.c, p.d, p.e, p.f);
    return std::nullopt;
}

void setUpSvg(QSvgGenerator& svg, QIODevice& device, int width, int height) {
    svg.setOutputDevice(&device);
    svg.setSize(QSize(width, height));
    svg.setViewBox(QRect(0, 0, width, height));
    svg.setTitle(QStringLiteral("Yawmark plot"));
}

} // namespace yawmark
