// SPDX-License-Identifier: MIT
#include "model/Text.h"

#include <cctype>
#include <cstdint>

namespace yawmark::model {

namespace {

// The length of the well-formed UTF-8 character at the start of `s` (not
// overlong, no surrogate, at most U+10FFFF) that is not a C1 control, or 0.
std::size_t utf8Length(std::string_view s) {
    const auto byte = [&s](std::size_t i) { return static_cast<std::uint8_t>(s[i]); };
    const std::uint8_t lead = byte(0);
    std::size_t n = 0;
    std::uint32_t code = 0, least = 0;
    if (lead >= 0xC2 && lead <= 0xDF)
        n = 2, code = lead & 0x1F, least = 0x80;
    else if (lead >= 0xE0 && lead <= 0xEF)
        n = 3, code = lead & 0x0F, least = 0x800;
    else if (lead >= 0xF0 && lead <= 0xF4)
        n = 4, code = lead & 0x07, least = 0x10000;
    else
        return 0;
    if (s.size() < n) return 0;
    for (std::size_t i = 1; i < n; ++i) {
        if ((byte(i) & 0xC0) != 0x80) return 0;
        code = code << 6 | (byte(i) & 0x3F);
    }
    if (code < least || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
    if (code <= 0x9F) return 0; // a C1 control
    return n;
}

} // namespace

std::string printable(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string shown;
    shown.reserve(text.size());
    while (!text.empty()) {
        const auto c = static_cast<std::uint8_t>(text.front());
        std::size_t n = 1;
        if (c >= 0x20 && c < 0x7F) {
            shown += static_cast<char>(c);
        } else if (c >= 0x80 && (n = utf8Length(text)) > 0) {
            shown.append(text.substr(0, n));
        } else {
            n = 1;
            shown += "\\x";
            shown += kHex[c >> 4];
            shown += kHex[c & 0xF];
        }
        text.remove_prefix(n);
    }
    return shown;
}

bool sameLetters(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    return true;
}

} // namespace yawmark::model
