// The mapping between the program's UTF-8 texts and the Windows-1252 bytes of its data files.
#include "storage/windows1252.h"

#include <array>

namespace quorvin {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five unassigned ones (0x81, 0x8D, 0x8F, 0x90,
// 0x9D). Latin-1 would put control codes here instead. 0xA0 to 0xFF are U+00A0 to U+00FF.
constexpr std::array<char32_t, 32> kHighTable = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

char toByte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighTable.size(); ++i)
        if (kHighTable[i] == cp && cp != 0) return static_cast<char>(0x80 + i);
    return '?';
}

struct Decoded {
    char32_t cp;     // kInvalid for a malformed sequence
    std::size_t len; // bytes consumed: the whole sequence, or its longest valid start
};
constexpr char32_t kInvalid = 0xFFFFFFFF;

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
Decoded decodeUtf8(std::string_view s, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(s[k]); };
    const unsigned char lead = byte(i);
    if (lead < 0x80) return {lead, 1};
    std::size_t need;
    char32_t cp;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the first continuation byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        need = 1, cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        need = 2, cp = lead & 0x0F;
        if (lead == 0xE0) lo = 0xA0;
        if (lead == 0xED) hi = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        need = 3, cp = lead & 0x07;
        if (lead == 0xF0) lo = 0x90;
        if (lead == 0xF4) hi = 0x8F;
    } else {
        return {kInvalid, 1};
    }
    std::size_t k = 1;
    for (; k <= need; ++k) {
        if (i + k >= s.size()) return {kInvalid, k};
        const unsigned char c = byte(i + k);
        if (k == 1 ? (c < lo || c > hi) : (c < 0x80 || c > 0xBF)) return {kInvalid, k};
        cp = (cp << 6) | (c & 0x3F);
    }
    return {cp, k};
}

// Appends the Windows-1252 bytes of a UTF-8 text, '?' for what it cannot hold; with `exact`,
// gives up (false) at the first such character instead.
bool encodeWindows1252(std::string_view utf8, std::string& out, bool exact) {
    out.reserve(out.size() + utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const Decoded d = decodeUtf8(utf8, i);
        const char byte = d.cp == kInvalid ? '?' : toByte(d.cp);
        if (exact && byte == '?' && d.cp != U'?') return false;
        out += byte;
        i += d.len;
    }
    return true;
}

} // namespace

std::string toWindows1252(std::string_view utf8) {
    std::string out;
    encodeWindows1252(utf8, out, false);
    return out;
}

std::optional<std::string> exactWindows1252(std::string_view utf8) {
    std::string out;
    if (!encodeWindows1252(utf8, out, true)) return std::nullopt;
    return out;
}

std::string fromWindows1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else if (b < 0xA0) {
            const char32_t cp = kHighTable[b - 0x80];
            appendUtf8(out, cp != 0 ? cp : 0xFFFD);
        } else {
            appendUtf8(out, b);
        }
    }
    return out;
}

} // namespace quorvin
