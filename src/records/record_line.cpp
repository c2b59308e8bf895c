// The category, the record texts and the field reader of the records file.
#include "records/record_line.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

#include "model/names.h"
#include "storage/windows1252.h"

namespace quorvin {

namespace {

constexpr int kColourCount = 3; // 2, 3 or 4 colours
constexpr std::size_t kSizeNameWidth = 5;
constexpr std::size_t kTimeWidth = 4;
constexpr std::size_t kDateAndNameWidth = kDateWidth + 1 + kNameWidth;
// Colour digit, two blanks, size name, two blanks and the shortest pattern name ("Ekis").
constexpr std::size_t kShortestCategory = 1 + 2 + kSizeNameWidth + 2 + 4;

constexpr std::size_t kLongestPattern = 15;

struct Tables {
    std::array<std::string, kPatternCount> patternBytes;
    std::array<std::string, kCategoryCount> categoryBytes;
    // The pattern whose name has this length and last byte, plus one (0: none). The length
    // and the last byte tell the nine names apart.
    std::array<std::array<std::int8_t, 256>, kLongestPattern + 1> patternByShape{};
};

const Tables& tables() {
    static const Tables t = [] {
        Tables made;
        for (int p = 0; p < kPatternCount; ++p) {
            const std::string name = toWindows1252(patternName(p));
            auto& shape =
                made.patternByShape.at(name.size())[static_cast<unsigned char>(name.back())];
            if (shape != 0) throw std::logic_error("two start patterns of one shape");
            shape = static_cast<std::int8_t>(p + 1);
            made.patternBytes[static_cast<std::size_t>(p)] = name;
        }
        for (int i = 0; i < kCategoryCount; ++i) {
            const Category c = categoryAt(i);
            std::string text(1, static_cast<char>('0' + c.colours));
            text += "  ";
            text += sizeName(c.side);
            text += "  ";
            text += made.patternBytes[static_cast<std::size_t>(c.pattern)];
            made.categoryBytes[static_cast<std::size_t>(i)] = std::move(text);
        }
        return made;
    }();
    return t;
}

// The tenths in a four-byte time field, or -1 when the field is not blanks followed by digits
// without a leading zero ("   0" is the one field that may start with 0).
int tenthsOfField(const char* field) {
    std::size_t i = 0;
    while (i < kTimeWidth && field[i] == ' ')
        ++i;
    if (i == kTimeWidth || (field[i] == '0' && i + 1 < kTimeWidth)) return -1;
    int tenths = 0;
    for (; i < kTimeWidth; ++i) {
        if (field[i] < '0' || field[i] > '9') return -1;
        tenths = tenths * 10 + (field[i] - '0');
    }
    return tenths;
}

// The blanks between the fields of a file text (4, 5, 16 and 27), `shift` bytes further on in
// a memory line.
bool hasSeparators(std::string_view text, std::size_t shift) {
    for (const std::size_t at : {4, 5, 16, 27})
        if (text[at + shift] != ' ') return false;
    return true;
}

// The date and the name may hold any byte but the three that one quoted line cannot carry.
bool fitsAQuotedLine(std::string_view dateAndName) {
    for (const char c : dateAndName)
        if (c == '"' || c == '\r' || c == '\n') return false;
    return true;
}

std::optional<RecordFacts> facts(const char* timeField, std::string_view categoryPart) {
    const int tenths = tenthsOfField(timeField);
    if (tenths < 0) return std::nullopt;
    const int category = findCategory(categoryPart);
    if (category < 0) return std::nullopt;
    return RecordFacts{category, tenths};
}

} // namespace

std::string categoryText(int index) {
    return fromWindows1252(categoryBytes(index));
}

std::string_view categoryBytes(int index) {
    if (index < 0 || index >= kCategoryCount) return {};
    return tables().categoryBytes[static_cast<std::size_t>(index)];
}

int findCategory(std::string_view bytes) {
    static_assert(kColourCount * kSizeCount * kPatternCount == kCategoryCount);
    if (bytes.size() < kShortestCategory || bytes[0] < '2' || bytes[0] > '4') return -1;
    // A candidate from the colour digit, the side and the pattern name's shape, then the whole
    // text compared once.
    int side = -1;
    if (bytes[4] == 'x')
        side = bytes[3] - '0'; // "7x7  "
    else if (bytes[5] == 'x' && bytes[3] == '1')
        side = 10 + bytes[4] - '0'; // "12x12"
    const std::size_t length = bytes.size() - (5 + kSizeNameWidth);
    if (side < kMinBoardSize || side > kMaxBoardSize || length > kLongestPattern) return -1;
    const Tables& t = tables();
    const int pattern = t.patternByShape[length][static_cast<unsigned char>(bytes.back())] - 1;
    if (pattern < 0) return -1;
    const int index = categoryIndex({bytes[0] - '0', side, pattern});
    return t.categoryBytes[static_cast<std::size_t>(index)] == bytes ? index : -1;
}

RecordDate localDate(std::time_t when) {
    std::tm parts{};
    localtime_r(&when, &parts);
    return {parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday};
}

std::string storedName(std::string_view utf8Name) {
    // C1 controls (U+0080-U+009F) and the Unicode line and paragraph separators are line
    // breaks or controls too; they would otherwise turn into '?'.
    std::string plain;
    plain.reserve(utf8Name.size());
    for (std::size_t i = 0; i < utf8Name.size(); ++i) {
        const std::string_view rest = utf8Name.substr(i);
        if (rest.size() >= 2 && rest[0] == '\xC2' && static_cast<unsigned char>(rest[1]) < 0xA0 &&
            static_cast<unsigned char>(rest[1]) >= 0x80) {
            plain += ' ';
            i += 1;
        } else if (rest.starts_with("\xE2\x80\xA8") || rest.starts_with("\xE2\x80\xA9")) {
            plain += ' ';
            i += 2;
        } else {
            plain += rest[0];
        }
    }
    std::string name = toWindows1252(plain);
    for (char& c : name) {
        if (c == '"')
            c = '\'';
        else if (static_cast<unsigned char>(c) < 0x20 || c == '\x7F')
            c = ' ';
    }
    name.resize(kNameWidth, ' ');
    return name;
}

std::string recordText(int tenths, const RecordDate& date, std::string_view utf8Name,
                       int category) {
    if (category < 0 || category >= kCategoryCount) return {};
    tenths = tenths < 0 ? 0 : (tenths > kClockLimitTenths ? kClockLimitTenths : tenths);
    char head[64];
    std::snprintf(head, sizeof head, "%4d  %04d/%02d/%02d ", tenths, date.year, date.month,
                  date.day);
    std::string text = head;
    text += storedName(utf8Name);
    text += ' ';
    text += categoryBytes(category);
    return text;
}

std::string memoryLineFromFileText(std::string_view fileText) {
    std::string line(fileText.substr(0, 3));
    line += '.';
    if (fileText.size() > 3) line += fileText.substr(3);
    return line;
}

std::string fileTextFromMemoryLine(std::string_view memoryLine) {
    std::string text(memoryLine.substr(0, 3));
    if (memoryLine.size() > 4) text += memoryLine.substr(4);
    return text;
}

std::string fileLine(std::string_view fileText) {
    std::string line;
    line.reserve(fileText.size() + 4);
    line += '"';
    line += fileText;
    line += "\"\r\n";
    return line;
}

std::optional<std::string_view> readField(std::string_view line) {
    std::size_t start = 0;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t'))
        ++start;
    if (start < line.size() && line[start] == '"') {
        const std::size_t close = line.find('"', start + 1);
        if (close == std::string_view::npos) return std::nullopt;
        return line.substr(start + 1, close - start - 1);
    }
    std::string_view field = line.substr(start, line.find(',', start) - start);
    while (!field.empty() && (field.back() == ' ' || field.back() == '\t'))
        field.remove_suffix(1);
    return field;
}

std::optional<RecordFacts> examineFileText(std::string_view text) {
    if (text.size() < kFileCategoryOffset + kShortestCategory || !hasSeparators(text, 0) ||
        !fitsAQuotedLine(text.substr(kFileDateOffset, kDateAndNameWidth)))
        return std::nullopt;
    return facts(text.data(), text.substr(kFileCategoryOffset));
}

std::optional<RecordFacts> examineMemoryLine(std::string_view line) {
    if (line.size() < kMemoryCategoryOffset + kShortestCategory || line[3] != '.' ||
        !hasSeparators(line, 1) ||
        !fitsAQuotedLine(line.substr(kFileDateOffset + 1, kDateAndNameWidth)))
        return std::nullopt;
    const char field[kTimeWidth] = {line[0], line[1], line[2], line[4]};
    return facts(field, line.substr(kMemoryCategoryOffset));
}

} // namespace quorvin
