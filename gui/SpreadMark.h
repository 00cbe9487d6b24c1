// SPDX-License-Identifier: MIT
// What a parameter box shows of its spread: a small orange triangle in its
// top-right corner while it has one, and "Spread..." and "Clear Spread" after
// the box's own context menu.
#pragma once

#include <functional>

class QLineEdit;
class QWidget;

namespace yawmark {

// The corner mark of `box`, hidden until shown; the caller names it.
QWidget* addSpreadMark(QLineEdit* box);

// The box's context menu with the two spread actions after its own; "Clear
// Spread" is enabled only while `hasSpread()` says so.
void addSpreadMenu(QLineEdit* box, std::function<bool()> hasSpread, std::function<void()> ask,
                   std::function<void()> clear);

} // namespace yawmark
