// The game's fixed name tables: board-size labels and start-pattern names.
#pragma once

#include <array>
#include <string>
#include <string_view>

namespace quorvin {

inline constexpr int kMaxBoardSize = 15;
inline constexpr int kMinBoardSize = 5;
inline constexpr int kPatternCount = 9;
inline constexpr int kSizeCount = kMaxBoardSize - kMinBoardSize + 1;

// Texts are UTF-8 in memory; files convert them to Windows-1252 at the edge.
inline constexpr std::array<std::string_view, kPatternCount> kPatternNames = {
    "50-por-ciento", "Barrotes",  "Almohadilla", "Cuadrados", "Aleatorio2",
    "Difuminado",    "Ekis",      "Aleatorio1",  "Vacío"};

// The label of board side s is at index s - 5; every label is five characters wide, one-digit
// sides padded with two blanks, so record lines keep their columns.
inline constexpr std::array<std::string_view, kSizeCount> kSizeNames = {
    "5x5  ", "6x6  ", "7x7  ", "8x8  ", "9x9  ", "10x10", "11x11", "12x12", "13x13", "14x14", "15x15"};

inline std::string_view sizeName(int side) { return kSizeNames.at(static_cast<std::size_t>(side - kMinBoardSize)); }
inline std::string_view patternName(int pattern) { return kPatternNames.at(static_cast<std::size_t>(pattern)); }

} // namespace quorvin
