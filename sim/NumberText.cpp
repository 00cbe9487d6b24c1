// SPDX-License-Identifier: MIT
#include "sim/NumberText.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <system_error>

namespace yawmark {

std::string formatNumber(double value) {
    if (value == 0) return "0"; // also -0: a box never shows "-0"
    char buf[64];
    const auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    std::string text(buf, res.ptr);
    // to_chars writes "1e-05"; the boxes have always shown "1E-05".
    for (char& c : text)
        if (c == 'e') c = 'E';
    return text;
}

std::optional<double> parseNumber(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    // Check the shape first: from_chars alone would also take "inf", "nan" and
    // hexadecimal forms, and no sign of its own.
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        return i - from;
    };
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    const std::size_t numberStart = i;
    std::size_t mantissaDigits = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;

    double value = 0;
    const char* first = text.data() + numberStart;
    const char* last = text.data() + text.size();
    const auto res = std::from_chars(first, last, value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Too small to hold reads as zero; too large to hold is no number at all.
        std::size_t e = numberStart;
        while (e < text.size() && text[e] != 'e' && text[e] != 'E')
            ++e;
        if (e == text.size() || text.substr(e + 1).find('-') == std::string_view::npos)
            return std::nullopt;
        value = 0;
    } else if (res.ec != std::errc() || res.ptr != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

} // namespace yawmark
