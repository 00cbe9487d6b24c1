// SPDX-License-Identifier: MIT
// The program's pictures, compiled in as resources: the icon every window
// carries and the splash picture.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace yawmark {

// The icon sizes shipped, in pixels (square).
inline constexpr int kIconSizes[] = {16, 22, 24, 32, 48, 64, 128, 256};

// The program icon with every shipped size; the window icon of every window.
QIcon programIcon();

// The icon drawn for one size, e.g. 32 for the About box; null if not shipped.
QPixmap programIconPixmap(int size);

// The splash picture, 220 x 127 pixels.
QPixmap splashPicture();

} // namespace yawmark
