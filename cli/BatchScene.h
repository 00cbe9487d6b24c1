// SPDX-License-Identifier: MIT
// The scene in a batch image: the case's photo and survey lines beneath the
// run, a scale bar if asked for; and the SVG drawing an image may be written as.
#pragma once

#include "model/Scene.h"
#include "plot/Scene.h"

#include <QSvgGenerator>

#include <optional>
#include <string>

namespace yawmark {

// The case's scene as the plot draws it (its photo read), or the message
// naming the photo that cannot be read.
std::optional<std::string> batchScene(const model::Scene& scene, bool scaleBar,
                                      plot::SceneLayer& layer);

// An SVG drawing of width x height pixels written to `device`, at the
// plot's scale: one pixel of the image is one unit of the drawing.
void setUpSvg(QSvgGenerator& svg, QIODevice& device, int width, int height);

} // namespace yawmark
