// A game's category: the number of colours, the board side and the start pattern, numbered as
// the records number them; and the clock's limit, which bounds every time a category ranks.
#pragma once

#include "model/names.h"

namespace quorvin {

inline constexpr int kCategoryCount = 297; // 3 colour counts x 11 sides x 9 start patterns

struct Category {
    int colours = 2; // 2 to 4
    int side = 5;    // 5 to 15
    int pattern = 0; // 0 to 8
};

// Categories are numbered in the order the deletion walks them: colours outermost, then the
// board side, then the start pattern innermost. -1 when a setting is out of range.
constexpr int categoryIndex(const Category& c) {
    if (c.colours < 2 || c.colours > 4 || c.side < kMinBoardSize || c.side > kMaxBoardSize ||
        c.pattern < 0 || c.pattern >= kPatternCount)
        return -1;
    return ((c.colours - 2) * kSizeCount + (c.side - kMinBoardSize)) * kPatternCount + c.pattern;
}

constexpr Category categoryAt(int index) {
    return {2 + index / (kSizeCount * kPatternCount),
            kMinBoardSize + index / kPatternCount % kSizeCount, index % kPatternCount};
}

// The clock stops at 999 s. In tenths of a second: the longest time a record is stored with,
// and the last time to beat in every category.
inline constexpr int kClockLimitTenths = 9990;

} // namespace quorvin
