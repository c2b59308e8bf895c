// The records list, the ranking, the category times, the listing and the trim.
#include "records/records_list.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstring>

#include "model/names.h"
#include "storage/text_file.h"
#include "storage/windows1252.h"

namespace quorvin {

namespace {

constexpr int kTenthsLimit = 10000; // a four-digit time field holds 0 to 9999
// Times sort by counting from this many records on: below it, walking the 10,000 possible
// times costs more than a plain sort of the few records (a new game's category times, most
// listings of one category).
constexpr std::size_t kCountFrom = 1000;

// Windows-1252 lower case: A-Z, the accented capitals 0xC0-0xDE (but 0xD7, the multiplication
// sign) and the four capitals of the 0x80 row (Š, Œ, Ž, Ÿ).
constexpr std::array<unsigned char, 256> kFold = [] {
    std::array<unsigned char, 256> fold{};
    for (int b = 0; b < 256; ++b)
        fold[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b);
    for (int b = 'A'; b <= 'Z'; ++b)
        fold[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b + 0x20);
    for (int b = 0xC0; b <= 0xDE; ++b)
        if (b != 0xD7) fold[static_cast<std::size_t>(b)] = static_cast<unsigned char>(b + 0x20);
    fold[0x8A] = 0x9A;
    fold[0x8C] = 0x9C;
    fold[0x8E] = 0x9E;
    fold[0x9F] = 0xFF;
    return fold;
}();

struct RankLess {
    const RecordsList& records;
    bool operator()(std::uint32_t a, std::uint32_t b) const { return records.ranksBefore(a, b); }
};

int foldedCompare(const char* a, const char* b, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char fa = kFold[static_cast<unsigned char>(a[i])];
        const unsigned char fb = kFold[static_cast<unsigned char>(b[i])];
        if (fa != fb) return fa < fb ? -1 : 1;
    }
    return 0;
}

// Where each category's text stands in the ranking order of texts.
const std::array<int, kCategoryCount>& categoryOrder() {
    static const std::array<int, kCategoryCount> order = [] {
        std::array<int, kCategoryCount> byText{};
        for (int c = 0; c < kCategoryCount; ++c)
            byText[static_cast<std::size_t>(c)] = c;
        std::sort(byText.begin(), byText.end(),
                  [](int a, int b) { return ranksBefore(categoryBytes(a), categoryBytes(b)); });
        std::array<int, kCategoryCount> rank{};
        for (int r = 0; r < kCategoryCount; ++r)
            rank[static_cast<std::size_t>(byText[static_cast<std::size_t>(r)])] = r;
        return rank;
    }();
    return order;
}

std::string withRank(std::size_t rank, std::string_view utf8Line) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, rank).ptr;
    const auto width = static_cast<std::size_t>(end - digits);
    std::string out(width < 4 ? 4 - width : 0, ' ');
    out.reserve(width + 8 + utf8Line.size());
    out.append(digits, end);
    out += "º ";
    out += utf8Line;
    return out;
}

template <typename Items> int indexOf(const Items& items, std::string_view text) {
    const auto it = std::find(items.begin(), items.end(), text);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

} // namespace

void RecordsList::clear() {
    m_records.clear();
    for (auto& lines : m_byCategory)
        lines.clear();
    m_indexed = 0;
}

void RecordsList::reserve(std::size_t records) {
    // Grows geometrically, so a loader that reserves block by block copies little.
    if (records <= m_records.capacity()) return;
    m_records.reserve(std::max(records, 2 * m_records.capacity()));
    // Pages not yet written: a large list takes few page faults as it fills.
    const std::size_t filled = m_records.size() * sizeof(Record);
    adviseLargeBuffer(reinterpret_cast<char*>(m_records.data()) + filled,
                      m_records.capacity() * sizeof(Record) - filled);
}

void RecordsList::addFields(std::string_view fileText, const RecordFacts& facts) {
    Record record;
    std::memcpy(record.date.data(), fileText.data() + kFileDateOffset, kDateWidth);
    std::memcpy(record.name.data(), fileText.data() + kFileNameOffset, kNameWidth);
    record.tenths = static_cast<std::uint16_t>(facts.tenths);
    record.category = static_cast<std::int16_t>(facts.category);
    m_records.push_back(record);
}

bool RecordsList::add(std::string_view memoryLine) {
    const auto facts = examineMemoryLine(memoryLine);
    if (!facts) return false;
    addFields(fileTextFromMemoryLine(memoryLine), *facts);
    return true;
}

bool RecordsList::addFileText(std::string_view fileText) {
    const auto facts = examineFileText(fileText);
    if (!facts) return false;
    addFields(fileText, *facts);
    return true;
}

std::string RecordsList::fileText(std::size_t i) const {
    const Record& r = m_records[i];
    const std::string_view category = categoryBytes(r.category);
    std::string text;
    text.reserve(kFileCategoryOffset + category.size());
    char time[8];
    std::snprintf(time, sizeof time, "%4d", static_cast<int>(r.tenths));
    text.append(time, 4);
    text += "  ";
    text.append(r.date.data(), kDateWidth);
    text += ' ';
    text.append(r.name.data(), kNameWidth);
    text += ' ';
    text += category;
    return text;
}

std::string RecordsList::line(std::size_t i) const {
    return memoryLineFromFileText(fileText(i));
}

std::string RecordsList::displayLine(std::size_t i) const {
    return fromWindows1252(line(i));
}

std::span<const std::uint32_t> RecordsList::linesOf(int category) const {
    if (category < 0 || category >= kCategoryCount) return {};
    updateIndex();
    return m_byCategory[static_cast<std::size_t>(category)];
}

void RecordsList::updateIndex() const {
    if (m_indexed == m_records.size()) return;
    std::array<std::size_t, kCategoryCount> added{};
    for (std::size_t i = m_indexed; i < m_records.size(); ++i)
        ++added[static_cast<std::size_t>(m_records[i].category)];
    for (std::size_t c = 0; c < added.size(); ++c) {
        auto& lines = m_byCategory[c];
        if (lines.size() + added[c] > lines.capacity())
            lines.reserve(std::max(lines.size() + added[c], 2 * lines.capacity()));
    }
    for (std::size_t i = m_indexed; i < m_records.size(); ++i)
        m_byCategory[static_cast<std::size_t>(m_records[i].category)].push_back(
            static_cast<std::uint32_t>(i));
    m_indexed = m_records.size();
}

// The text order of the two memory lines, field by field: equal times have equal time fields,
// the date and the name are fixed-width, and the separators are the same in every line.
bool RecordsList::ranksBefore(std::size_t a, std::size_t b) const {
    const Record& x = m_records[a];
    const Record& y = m_records[b];
    if (x.tenths != y.tenths) return x.tenths < y.tenths;
    if (const int c = foldedCompare(x.date.data(), y.date.data(), kDateWidth)) return c < 0;
    if (const int c = foldedCompare(x.name.data(), y.name.data(), kNameWidth)) return c < 0;
    if (x.category != y.category)
        return categoryOrder()[static_cast<std::size_t>(x.category)] <
               categoryOrder()[static_cast<std::size_t>(y.category)];
    // Equal but for letter case: plain bytes, as the text comparison falls back to.
    if (const int c = std::memcmp(x.date.data(), y.date.data(), kDateWidth)) return c < 0;
    return std::memcmp(x.name.data(), y.name.data(), kNameWidth) < 0;
}

bool ranksBefore(std::string_view a, std::string_view b) {
    const std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        const unsigned char fa = kFold[static_cast<unsigned char>(a[i])];
        const unsigned char fb = kFold[static_cast<unsigned char>(b[i])];
        if (fa != fb) return fa < fb;
    }
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

std::vector<int> categoryTimes(const RecordsList& records, int category) {
    const auto lines = records.linesOf(category);
    std::vector<int> times;
    times.reserve(lines.size() + 1);
    for (const std::uint32_t i : lines)
        times.push_back(records.tenths(i));
    times.push_back(kClockLimitTenths);
    if (times.size() < kCountFrom) {
        std::sort(times.begin(), times.end());
    } else {
        std::vector<std::uint32_t> count(kTenthsLimit, 0);
        for (const int t : times)
            ++count[static_cast<std::size_t>(t)];
        auto next = times.begin();
        for (int t = 0; t < kTenthsLimit; ++t)
            next = std::fill_n(next, count[static_cast<std::size_t>(t)], t);
    }
    return times;
}

std::vector<std::string> sizeFilterItems() {
    std::vector<std::string> items(kSizeNames.begin(), kSizeNames.end());
    items.emplace_back(kAllFilter);
    return items;
}

std::vector<std::string> colourFilterItems() {
    return {"2 colores", "3 colores", "4 colores", std::string(kAllFilter)};
}

std::vector<std::string> patternFilterItems() {
    std::vector<std::string> items(kPatternNames.begin(), kPatternNames.end());
    items.emplace_back(kAllFilter);
    return items;
}

RecordFilters checkedFilters(const RecordFilters& f) {
    const auto check = [](const std::string& text, const std::vector<std::string>& items) {
        return indexOf(items, text) >= 0 ? text : std::string(kAllFilter);
    };
    return {check(f.size, sizeFilterItems()), check(f.colours, colourFilterItems()),
            check(f.pattern, patternFilterItems())};
}

RecordFilters filtersFor(const Category& settings) {
    return {std::string(sizeName(settings.side)),
            colourFilterItems().at(static_cast<std::size_t>(settings.colours - 2)),
            std::string(patternName(settings.pattern))};
}

RecordFilters allFilters() {
    return {std::string(kAllFilter), std::string(kAllFilter), std::string(kAllFilter)};
}

std::vector<std::uint32_t> rankedLines(const RecordsList& records,
                                       std::vector<std::uint32_t> lines) {
    if (lines.size() < kCountFrom) {
        std::sort(lines.begin(), lines.end(), RankLess{records});
        return lines;
    }
    // Bucket by time (a stable counting sort), then order each run of equal times by text.
    std::vector<std::uint32_t> start(kTenthsLimit + 1, 0);
    for (const std::uint32_t i : lines)
        ++start[static_cast<std::size_t>(records.tenths(i)) + 1];
    for (std::size_t t = 1; t <= kTenthsLimit; ++t)
        start[t] += start[t - 1];
    std::vector<std::uint32_t> ranked(lines.size());
    std::vector<std::uint32_t> next(start.begin(), start.end() - 1);
    for (const std::uint32_t i : lines)
        ranked[next[static_cast<std::size_t>(records.tenths(i))]++] = i;
    for (std::size_t t = 0; t < kTenthsLimit; ++t)
        if (start[t + 1] - start[t] > 1)
            std::sort(ranked.begin() + start[t], ranked.begin() + start[t + 1], RankLess{records});
    return ranked;
}

RecordsListing listRecords(const RecordsList& records, const RecordFilters& filters) {
    const RecordFilters checked = checkedFilters(filters);
    const auto active = [](const std::string& text) { return text != kAllFilter; };
    const int side = kMinBoardSize + indexOf(kSizeNames, checked.size);
    const int colours = checked.colours.front() - '0';
    const int pattern = indexOf(kPatternNames, checked.pattern);

    std::vector<std::uint32_t> chosen;
    for (int c = 0; c < kCategoryCount; ++c) {
        const Category cat = categoryAt(c);
        if ((active(checked.size) && cat.side != side) ||
            (active(checked.colours) && cat.colours != colours) ||
            (active(checked.pattern) && cat.pattern != pattern))
            continue;
        const auto lines = records.linesOf(c);
        chosen.insert(chosen.end(), lines.begin(), lines.end());
    }
    RecordsListing listing;
    if (chosen.empty()) {
        listing.header = kNoRecordsText;
        return listing;
    }
    listing.ranked = rankedLines(records, std::move(chosen));
    listing.header = listedLine(records, listing, 1);
    return listing;
}

std::string listedLine(const RecordsList& records, const RecordsListing& listing,
                       std::size_t rank) {
    return withRank(rank, records.displayLine(listing.ranked.at(rank - 1)));
}

std::string trimItemCaption(int itemIndex) {
    return std::to_string(keptPerCategory(itemIndex)) + "º puesto";
}

std::vector<std::uint32_t> bestOfEachCategory(const RecordsList& records, int keep) {
    std::vector<std::uint32_t> kept;
    std::vector<std::uint32_t> scratch;
    const auto limit = static_cast<std::size_t>(std::max(keep, 0));
    for (int c = 0; c < kCategoryCount; ++c) {
        const auto lines = records.linesOf(c);
        if (lines.empty()) continue;
        scratch.assign(lines.begin(), lines.end());
        const auto best =
            scratch.begin() + static_cast<std::ptrdiff_t>(std::min(limit, scratch.size()));
        std::partial_sort(scratch.begin(), best, scratch.end(), RankLess{records});
        kept.insert(kept.end(), scratch.begin(), best);
    }
    return kept;
}

std::string trimQuestion(int keep) {
    return "Esta opción borrará los records de todas las categorías a partir del " +
           std::to_string(keep) + "º puesto.\nQuieres continuar?";
}

std::string trimProgress(int categoryNumber) {
    return "Borrando datos. Categoría " + std::to_string(categoryNumber) + " de " +
           std::to_string(kCategoryCount) + ".";
}

std::string trimmedMessage(std::size_t deleted) {
    return std::to_string(deleted) + " datos borrados.";
}

} // namespace quorvin
