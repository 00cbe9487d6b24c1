// SPDX-License-Identifier: MIT
#include "sim/NumberText.h"

#include <algorithm>
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

std::string exactNumber(double value) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

std::size_t numberLength(std::string_view text) {
    std::size_t i = 0;
    const auto digits = [&] {
        const std::size_t from = i;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])))
            ++i;
        return i - from;
    };
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t mantissaDigits = digits();
    if (i < text.size() && text[i] == '.') {
        ++i;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        const std::size_t mantissaEnd = i++;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) i = mantissaEnd;
    }
    return i;
}

std::optional<double> parseNumber(std::string_view text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);

    // Check the shape first: from_chars alone would also take "inf", "nan" and
    // hexadecimal forms, and no sign of its own.
    if (text.empty() || numberLength(text) != text.size()) return std::nullopt;
    const bool negative = text.front() == '-';
    const std::size_t numberStart = text.front() == '+' || negative ? 1 : 0;

    double value = 0;
    const char* first = text.data() + numberStart;
    const char* last = text.data() + text.size();
    const auto res = std::from_chars(first, last, value, std::chars_format::general);
    if (res.ec == std::errc::result_out_of_range) {
        // Too small to hold reads as zero; too large to hold is no number at
        // all. Which of the two is told by the power of ten of the first digit
        // that is not 0, however it is spelled: 0.<400 zeros>1 as 1e-401.
        long long power = 0, digitsBefore = 0, index = 0, exponent = 0;
        bool point = false, nonZero = false;
        std::size_t j = numberStart;
        for (; j < text.size() && text[j] != 'e' && text[j] != 'E'; ++j) {
            if (text[j] == '.') {
                point = true;
                continue;
            }
            if (!point) ++digitsBefore;
            if (!nonZero && text[j] != '0') nonZero = true, power = -index;
            ++index;
        }
        power += digitsBefore - 1;
        const bool negativeExponent = j + 1 < text.size() && text[j + 1] == '-';
        for (++j; j < text.size(); ++j) // at most 10^15: never overflows
            if (std::isdigit(static_cast<unsigned char>(text[j])))
                exponent = std::min(exponent * 10 + (text[j] - '0'), 1'000'000'000'000'000LL);
        if (power + (negativeExponent ? -exponent : exponent) >= 0) return std::nullopt;
        value = 0;
    } else if (res.ec != std::errc() || res.ptr != last || !std::isfinite(value)) {
        return std::nullopt;
    }
    return negative ? -value : value;
}

} // namespace yawmark
