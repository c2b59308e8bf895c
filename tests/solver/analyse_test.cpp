// quorvin-analyse run as the player would run it: its table, its repeatability, its usage.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <vector>

namespace {

struct ToolRun {
    std::string out;
    int status = -1;
};

// Runs the tool with `arguments`, standard error into standard output.
ToolRun analyse(const std::string& arguments) {
    ToolRun run;
    const std::string command = std::string(QUORVIN_ANALYSE) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    std::array<char, 4096> buffer{};
    while (std::fgets(buffer.data(), buffer.size(), pipe))
        run.out += buffer.data();
    const int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

// The table's lines without the last field, the time, which differs from run to run.
std::vector<std::string> withoutTimes(const std::string& table) {
    std::vector<std::string> lines;
    std::istringstream in(table);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line.substr(0, line.rfind('\t')));
    return lines;
}

TEST(QuorvinAnalyse, PrintsOneLinePerCategoryTheSameForTheSameSeed) {
    const ToolRun first = analyse("--side 6 --colours 3 --deals 12 --seed 7");
    ASSERT_EQ(first.status, 0) << first.out;
    const std::vector<std::string> lines = withoutTimes(first.out);
    ASSERT_EQ(lines.size(), 10u) << first.out; // the header and the nine patterns
    EXPECT_EQ(lines[0], "side\tcolours\tpattern\tdeals\tsolvable_pct\tmean_guesses");
    EXPECT_EQ(lines[1].substr(0, 9), "6\t3\t0\t12\t");
    EXPECT_EQ(lines[9].substr(0, 9), "6\t3\t8\t12\t");
    EXPECT_EQ(withoutTimes(analyse("--seed 7 --deals 12 --colours 3 --side 6").out), lines);
    EXPECT_NE(withoutTimes(analyse("--side 6 --colours 3 --deals 12 --seed 8").out), lines);
}

// With --each: the guesses of every deal, by deal number, from lines in the order deals ended.
std::map<int, int> guessesByDeal(const std::string& table) {
    std::map<int, int> guesses;
    std::istringstream in(table);
    std::string header;
    std::getline(in, header);
    EXPECT_EQ(header, "side\tcolours\tpattern\tdeal\tguesses\tmilliseconds");
    int side = 0, colours = 0, pattern = 0, deal = 0, count = 0;
    double milliseconds = 0;
    while (in >> side >> colours >> pattern >> deal >> count >> milliseconds) {
        EXPECT_TRUE(guesses.emplace(deal, count).second) << "deal " << deal << " twice";
        EXPECT_GE(milliseconds, 0.0);
    }
    return guesses;
}

// A long run is played in pieces: the deal-by-deal lines of two pieces are those of one run,
// and they add up to the line the tool prints for the category.
TEST(QuorvinAnalyse, DealByDealLinesResumeAndAddUpToTheCategoryLine) {
    const std::string category = "--side 7 --colours 4 --pattern 8 --seed 3 ";
    const ToolRun whole = analyse(category + "--deals 10 --each");
    ASSERT_EQ(whole.status, 0) << whole.out;
    const std::map<int, int> guesses = guessesByDeal(whole.out);
    ASSERT_EQ(guesses.size(), 10u) << whole.out;
    EXPECT_EQ(guesses.begin()->first, 0);

    std::map<int, int> pieces = guessesByDeal(analyse(category + "--each --deals 6").out);
    pieces.merge(guessesByDeal(analyse(category + "--first 6 --deals 4 --each").out));
    EXPECT_EQ(pieces, guesses);

    int withoutGuess = 0;
    int total = 0;
    for (const auto& [deal, count] : guesses) {
        withoutGuess += count == 0;
        total += count;
    }
    ASSERT_GT(total, 0) << "the category should need a guess in some of these deals";
    char expected[64];
    std::snprintf(expected, sizeof expected, "7\t4\t8\t10\t%.1f\t%.2f", 10.0 * withoutGuess,
                  total / 10.0);
    EXPECT_EQ(withoutTimes(analyse(category + "--deals 10").out).at(1), expected);
}

// With --no-guess every deal printed is one the analysis played out without a guess; the cap
// ends a category where such deals are rare (four-colour "Vacío" on 15 x 15) with what it found.
TEST(QuorvinAnalyse, NoGuessDealsAllPlayOutWithoutAGuess) {
    const ToolRun run = analyse("--no-guess --side 7 --colours 4 --deals 6 --threads 1");
    ASSERT_EQ(run.status, 0) << run.out;
    const std::vector<std::string> lines = withoutTimes(run.out);
    ASSERT_EQ(lines.size(), 10u) << run.out;
    for (std::size_t k = 1; k < lines.size(); ++k)
        EXPECT_EQ(lines[k].substr(6, 13), "6\t100.0\t0.00\t") << lines[k];
    const ToolRun capped = analyse("--no-guess --side 15 --colours 4 --pattern 8 --cap 1");
    ASSERT_EQ(capped.status, 0) << capped.out;
    std::istringstream line(capped.out.substr(capped.out.find('\n') + 1));
    std::vector<std::string> fields;
    for (std::string field; std::getline(line, field, '\t');)
        fields.push_back(field);
    ASSERT_EQ(fields.size(), 12u) << capped.out;
    EXPECT_EQ(fields[9], "1") << capped.out; // the search the cap cut short
}

TEST(QuorvinAnalyse, BadOptionsGetTheUsageAndExitCode2) {
    for (const char* bad :
         {"--side 4", "--colours 5", "--pattern 9", "--deals 0", "--seed -1", "--side", "--sides 5",
          "5", "--deals many", "--first -1", "--each --first", "--each 3", "--cap 5",
          "--no-guess --cap 0", "--no-guess --each", "--threads 0"}) {
        const ToolRun run = analyse(bad);
        EXPECT_EQ(run.status, 2) << bad;
        EXPECT_NE(run.out.find("usage: quorvin-analyse"), std::string::npos) << bad;
        EXPECT_EQ(run.out.find("side\tcolours"), std::string::npos) << bad; // no table
    }
}

} // namespace
