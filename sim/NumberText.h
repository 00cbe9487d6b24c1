// SPDX-License-Identifier: MIT
// Numbers as the parameter boxes and the axis labels write and read them.
//
// Writing is the general format with at most 15 significant digits: no
// trailing zeros, no leading blank, "-" for negative values, exponent form
// only below 0.0001 or from 1E+15 up (58.80000000000001 -> "58.8",
// 10/11.16 -> "0.896057347670251", 1e-5 -> "1E-05").
//
// Reading is strict: blanks around the text are ignored, the rest must be one
// decimal number (optional sign, digits, optional fraction, optional
// exponent) that a double can hold. Both directions use "." whatever the
// user's locale, so a text written here always reads back.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace yawmark {

std::string formatNumber(double value);

// The shortest text that reads back to the very same double, as the CSV
// outputs write numbers: 0.1 -> "0.1", 1e-5 -> "1e-05", -0 -> "-0".
std::string exactNumber(double value);

// The number, or nothing if the text is not one finite decimal number.
std::optional<double> parseNumber(std::string_view text);

// How many characters at the start of `text` have the shape of a decimal
// number (optional sign, digits, optional fraction, an exponent only where
// digits follow it): 2 of "90 km/h", 3 of "2e3", 1 of "2em"; 0 if none do.
std::size_t numberLength(std::string_view text);

} // namespace yawmark
