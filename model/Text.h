// SPDX-License-Identifier: MIT
// User text quoted in a message, made safe to print: a terminal or a dialog
// shows it as typed, never obeys it.
#pragma once

#include <string>
#include <string_view>

namespace yawmark::model {

// `text` with every control byte (below 0x20, and 0x7F) written as \xNN, for
// example ESC as \x1B; the C1 controls (U+0080 to U+009F) and bytes that are
// not UTF-8 are written so byte by byte. Other UTF-8 characters stay as they are.
std::string printable(std::string_view text);

// Whether two texts are the same but for the case of ASCII letters.
bool sameLetters(std::string_view a, std::string_view b);

} // namespace yawmark::model
