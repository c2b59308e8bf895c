// Memory lines written out by hand for the tests, field by field, in Windows-1252.
#pragma once

#include <string>
#include <string_view>

namespace quorvin::testing {

// time as the list shows it ("  9.5"), the date, the name (padded to 10) and a category text.
inline std::string memoryLine(std::string_view time, std::string_view date, std::string_view name,
                              std::string_view category) {
    std::string padded(name);
    padded.resize(10, ' ');
    return std::string(time) + "  " + std::string(date) + " " + padded + " " +
           std::string(category);
}

inline constexpr std::string_view kEkis10 = "3  10x10  Ekis";
inline constexpr std::string_view kVacio7 = "2  7x7    Vac\xEDo";
inline constexpr std::string_view kBarrotes5 = "4  5x5    Barrotes";

} // namespace quorvin::testing
