// The settings file Quorvin.inf: its two written forms, its field reading rules, the fallback
// for a damaged file, and the load and save at the edge.
#include "settings/settings_file.h"

#include "model/names.h"

#include <array>
#include <charconv>
#include <cmath>
#include <optional>

namespace quorvin {
namespace {

inline constexpr int kMinColours = 2;
inline constexpr int kMaxColours = 4;
inline constexpr int kFieldCount = 8;

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::string quoted(std::string_view text) {
    return '"' + std::string(text) + '"';
}

// Reads the file item by item. A field that begins with a double quote runs to the next double
// quote (so a label may hold commas); any other field runs to the next comma or line end. Since
// each line holds one item, field k is line k; two items on one line separated by a comma read
// the same as two lines.
class FieldReader {
  public:
    explicit FieldReader(std::string_view bytes) : m_bytes(bytes) {}

    std::optional<std::string_view> next() {
        while (m_pos < m_bytes.size() && isBlank(m_bytes[m_pos]))
            ++m_pos;
        if (m_pos >= m_bytes.size()) return std::nullopt;

        std::string_view text;
        if (m_bytes[m_pos] == '"') {
            const std::size_t start = m_pos + 1;
            std::size_t close = m_bytes.find('"', start);
            if (close == std::string_view::npos) close = m_bytes.size();
            text = m_bytes.substr(start, close - start);
            m_pos = close + 1;
            // Whatever follows the closing quote on its line is not part of the field.
            while (m_pos < m_bytes.size() && !isDelimiter(m_bytes[m_pos]))
                ++m_pos;
        } else {
            const std::size_t start = m_pos;
            while (m_pos < m_bytes.size() && !isDelimiter(m_bytes[m_pos]))
                ++m_pos;
            text = m_bytes.substr(start, m_pos - start);
            // A blank typed after a bare value cannot be seen in an editor; it does not count.
            while (!text.empty() && isBlank(text.back()))
                text.remove_suffix(1);
        }
        skipDelimiter();
        return text;
    }

  private:
    static bool isDelimiter(char c) { return c == ',' || c == '\r' || c == '\n'; }

    void skipDelimiter() {
        if (m_pos >= m_bytes.size()) return;
        const char c = m_bytes[m_pos++];
        if (c == '\r' && m_pos < m_bytes.size() && m_bytes[m_pos] == '\n') ++m_pos;
    }

    std::string_view m_bytes;
    std::size_t m_pos = 0;
};

// The number at the start of a text: blanks anywhere are ignored, reading stops at the first
// character that cannot continue a number, and a text without one gives 0.
double leadingNumber(std::string_view text) {
    std::string number;
    std::size_t i = 0;
    auto skipBlanks = [&] {
        while (i < text.size() && isBlank(text[i]))
            ++i;
    };
    auto takeDigits = [&] {
        for (skipBlanks(); i < text.size() && isDigit(text[i]); skipBlanks())
            number += text[i++];
    };
    skipBlanks();
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        if (text[i] == '-') number += '-';
        ++i;
    }
    takeDigits();
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        takeDigits();
    }
    if (number.find_first_of("0123456789") == std::string::npos) return 0.0;
    if (number.back() == '.') number.pop_back();
    // An exponent counts only when at least one digit follows it.
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) exponent += text[j++];
        const std::size_t digitsStart = j;
        while (j < text.size() && isDigit(text[j]))
            exponent += text[j++];
        if (j > digitsStart) number += exponent;
    }
    double value = 0.0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

// The whole text as a number, blanks around it allowed; anything else is no number.
std::optional<double> wholeNumber(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    if (!text.empty() && text.front() == '+') {
        text.remove_prefix(1);
        if (!text.empty() && (text.front() == '+' || text.front() == '-')) return std::nullopt;
    }
    if (text.empty() || text.find_first_of("0123456789") == std::string_view::npos) {
        return std::nullopt;
    }
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

// Rounded to the nearest whole number, halves to even (the default rounding mode), and kept only
// when it lies in [low, high].
std::optional<int> roundedInRange(double value, int low, int high) {
    const double rounded = std::nearbyint(value);
    if (!(rounded >= low && rounded <= high)) return std::nullopt;
    return static_cast<int>(rounded);
}

} // namespace

std::string formatSettings(const Settings& settings, bool quotedValues) {
    auto value = [quotedValues](int number) {
        const std::string text = std::to_string(number);
        return quotedValues ? quoted(text) : text;
    };
    const std::array<std::string, kFieldCount> lines = {
        quoted("NIVEL (5-" + std::to_string(kMaxBoardSize) + "):"),
        value(settings.boardSize),
        quoted("COLORES (2-4):"),
        value(settings.colorCount),
        quoted("INICIO (0-" + std::to_string(kPatternCount - 1) + "):"),
        value(settings.startPattern),
        quoted("CONTINUADO (0/1):"),
        value(settings.continuedGame ? 1 : 0),
    };
    std::string bytes;
    for (const std::string& line : lines)
        bytes += line + "\r\n";
    return bytes; // plain ASCII, so already Windows-1252
}

// A damaged file is read setting by setting: each value that is missing (the file has fewer
// than eight fields), that is no number where a number is required, or that lies outside its
// range falls back to the default of that one setting, and the others keep what the file says.
// This way a player who mistypes one line by hand, or whose file was cut short, keeps the rest
// of their choices and still gets a game that starts, and no value the board cannot take ever
// reaches it. The file itself is left as it is until the configuration dialog rewrites it.
ParsedSettings parseSettings(std::string_view bytes) {
    std::array<std::optional<std::string_view>, kFieldCount> fields;
    FieldReader reader(bytes);
    for (auto& field : fields)
        field = reader.next();

    ParsedSettings parsed;
    Settings& settings = parsed.settings;
    auto take = [&parsed](std::optional<int> value, int& setting) {
        if (value)
            setting = *value;
        else
            parsed.damaged = true;
    };

    // Fields 1, 3, 5 and 7 are labels; any text will do.
    take(fields[1] ? roundedInRange(leadingNumber(*fields[1]), kMinBoardSize, kMaxBoardSize)
                   : std::nullopt,
         settings.boardSize);
    const std::optional<double> colours = fields[3] ? wholeNumber(*fields[3]) : std::nullopt;
    take(colours ? roundedInRange(*colours, kMinColours, kMaxColours) : std::nullopt,
         settings.colorCount);
    take(fields[5] ? roundedInRange(leadingNumber(*fields[5]), 0, kPatternCount - 1) : std::nullopt,
         settings.startPattern);
    // Only exactly "1" is on: "0", "2", "1 " in quotes and an empty field are all off.
    if (fields[7])
        settings.continuedGame = *fields[7] == "1";
    else
        parsed.damaged = true;
    return parsed;
}

namespace {

std::string settingsPath(const std::string& dataPath) {
    return dataPath + std::string(kSettingsFileName);
}

FileRead readSafely(const std::string& path) {
    try {
        return readWholeFile(path);
    } catch (...) {
        return {FileStatus::Failed, {}};
    }
}

FileStatus writeSafely(const std::string& path, std::string_view bytes) {
    try {
        return writeFileAtomically(path, bytes);
    } catch (...) {
        return FileStatus::Failed;
    }
}

} // namespace

LoadedSettings loadSettings(const std::string& dataPath) {
    LoadedSettings loaded;
    try {
        const std::string path = settingsPath(dataPath);
        removeLeftovers(path);
        FileRead read = readSafely(path);
        if (read.status == FileStatus::Missing) {
            loaded.writeStatus = writeSafely(path, formatSettings(Settings{}, true));
            if (loaded.writeStatus != FileStatus::Ok) return loaded;
            read = readSafely(path);
        }
        if (read.status != FileStatus::Ok) {
            loaded.readStatus = read.status;
            return loaded;
        }
        const ParsedSettings parsed = parseSettings(read.bytes);
        loaded.settings = parsed.settings;
        loaded.damaged = parsed.damaged;
    } catch (...) {
        // Only an allocation can fail here; the defaults still give a playable game.
        loaded.settings = Settings{};
        loaded.readStatus = FileStatus::Failed;
    }
    return loaded;
}

FileStatus saveSettings(const std::string& dataPath, const Settings& settings) {
    try {
        return writeSafely(settingsPath(dataPath), formatSettings(settings, false));
    } catch (...) {
        return FileStatus::Failed;
    }
}

std::string settingsWriteFailedMessage(const std::string& dataPath) {
    return "No se pudo guardar la configuración en la carpeta \"" + dataPath +
           "\".\nEl juego sigue con los valores elegidos, pero no se conservarán la próxima vez.";
}

} // namespace quorvin
