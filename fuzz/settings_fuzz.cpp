// The settings reader on arbitrary bytes: it never fails, every value it returns is one the
// game can take, and both written forms of any settings read back to the same settings.
#include "fuzz_check.h"

#include "model/names.h"
#include "settings/settings_file.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

using namespace quorvin;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const ParsedSettings parsed =
        parseSettings(std::string_view(reinterpret_cast<const char*>(data), size));
    const Settings& s = parsed.settings;
    FUZZ_CHECK(s.boardSize >= kMinBoardSize && s.boardSize <= kMaxBoardSize);
    FUZZ_CHECK(s.colorCount >= 2 && s.colorCount <= 4);
    FUZZ_CHECK(s.startPattern >= 0 && s.startPattern < kPatternCount);

    for (const bool quoted : {true, false}) {
        const ParsedSettings again = parseSettings(formatSettings(s, quoted));
        FUZZ_CHECK(!again.damaged);
        FUZZ_CHECK(again.settings == s);
    }
    return 0;
}
