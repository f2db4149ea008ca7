// The high-score file: saving and loading the table, malformed files, and saves that fail.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "files.h"
#include "hiscore.h"

namespace {

namespace fs = std::filesystem;

constexpr int ENTRIES = NUM_QTYPES * NUM_SKILL_LEVELS * HISCORE_RANKS;

// Entry n in the order of the file's lines.
t_hiscore& entry(int n) { return hiscores[n / 15][n / 5 % NUM_SKILL_LEVELS][n % HISCORE_RANKS]; }

void set_entry(t_hiscore* e, int32_t score, const char* initials) {
    e->score = score;
    snprintf(e->initials, sizeof e->initials, "%s", initials);
}

using t_table = std::vector<std::pair<int32_t, std::string>>;

t_table snapshot() {
    t_table table;
    for (int n = 0; n < ENTRIES; n++) table.emplace_back(entry(n).score, entry(n).initials);
    return table;
}

// Each test works in a fresh folder with a zeroed table.
class Hiscore : public ::testing::Test {
   protected:
    void SetUp() override { memset(hiscores, 0, sizeof hiscores); }

    // Fills every entry with "OLD" and a score of its own, to see what a load leaves.
    t_table fill_old() {
        for (int n = 0; n < ENTRIES; n++) set_entry(&entry(n), 5000 + n, "OLD");
        return snapshot();
    }

    // A save expected to fail: 0, exactly one ERROR line naming the file, table unchanged.
    void expect_failed_save(const std::string& target) {
        const t_table before = snapshot();
        testing::internal::CaptureStdout();
        EXPECT_EQ(hiscores_save(target.c_str()), 0);
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind("ERROR: ", 0), 0u) << out;
        EXPECT_NE(out.find(target), std::string::npos) << out;
        EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 1) << out;
        EXPECT_EQ(snapshot(), before);
    }

    // The names in the scratch folder, in order.
    std::vector<std::string> names() {
        std::vector<std::string> found;
        for (const auto& item : fs::directory_iterator(dir.path()))
            found.push_back(item.path().filename().string());
        std::sort(found.begin(), found.end());
        return found;
    }

    ScratchFolder dir;
    const std::string file = dir.file("hiscores.dat");
    const std::string temp = dir.file("hiscores.dat.tmp");
};

// Lines go type by type, level by level, rank by rank: SUBTRACTION HARD 4th is line 29.
TEST_F(Hiscore, SavedFileHasOneLinePerEntryInTableOrder) {
    set_entry(&hiscores[ADDITION][EASY][0], 1520, "ABC");
    set_entry(&hiscores[SUBTRACTION][HARD][3], -42, "Z");
    set_entry(&hiscores[DIVISION][HARD][4], 7, "XY");
    std::vector<std::string> lines(ENTRIES, "0 \n");
    lines[0] = "1520 ABC\n";
    lines[28] = "-42 Z\n";
    lines[59] = "7 XY\n";
    testing::internal::CaptureStdout();
    EXPECT_EQ(hiscores_save(file.c_str()), 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    std::string expected;
    for (const std::string& line : lines) expected += line;
    EXPECT_EQ(read_file(file), expected);
}

TEST_F(Hiscore, SaveThenLoadGivesBackTheTableAndLeavesNoTemporaryFile) {
    const char* const initials[] = {"", "A", "BC", "DEF"};
    for (int n = 0; n < ENTRIES; n++) set_entry(&entry(n), 37 * n - 500, initials[n % 4]);
    set_entry(&entry(1), INT32_MAX, "MAX");
    set_entry(&entry(2), INT32_MIN, "");
    const t_table saved = snapshot();
    // An older file is replaced, and a temporary file left by a crash does not block the save.
    write_file(file, "1 OLD\n");
    write_file(temp, "stale");

    ASSERT_EQ(hiscores_save(file.c_str()), 1);
    fill_old();
    hiscores_load(file.c_str());
    EXPECT_EQ(snapshot(), saved);
    EXPECT_EQ(names(), std::vector<std::string>{"hiscores.dat"});
}

TEST_F(Hiscore, ShortFileFillsOnlyItsLinesAndMissingOrEmptyFileChangesNothing) {
    t_table expected = fill_old();
    testing::internal::CaptureStdout();
    hiscores_load(dir.file("absent.dat").c_str());
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");
    EXPECT_EQ(snapshot(), expected);

    write_file(file, "");
    hiscores_load(file.c_str());
    EXPECT_EQ(snapshot(), expected);

    write_file(file, "100 AB\n200\n300 XYZ");  // no line end after the last line
    hiscores_load(file.c_str());
    expected[0] = {100, "AB"};
    expected[1] = {200, ""};
    expected[2] = {300, "XYZ"};
    EXPECT_EQ(snapshot(), expected);
}

TEST_F(Hiscore, MalformedLinesAreCutOrSkippedAndKeepLaterLinesInPlace) {
    t_table expected = fill_old();
    const std::string over_long = "77 LNG" + std::string(5000, 'x') + "\n";  // one line
    const std::string text =
        "1234 ABCDEFG\n"     // initials cut to three
        "abc XYZ\n"          // not a number: entry kept
        "\n"                 // empty line: entry kept
        "2147483648 BIG\n"   // beyond 32 bits: entry kept
        "  55  QR\r\n"       // leading blanks, CRLF
        "12abc\n"            // digits glued to letters: entry kept
        "-2147483648 MIN\n"  // the lowest 32-bit score
        "88 \r\n" +          // score alone with CRLF
        over_long +
        "99 OK\n";
    write_file(file, text);
    hiscores_load(file.c_str());
    expected[0] = {1234, "ABC"};
    expected[4] = {55, "QR"};
    expected[6] = {INT32_MIN, "MIN"};
    expected[7] = {88, ""};
    expected[8] = {77, "LNG"};
    expected[9] = {99, "OK"};
    EXPECT_EQ(snapshot(), expected);
}

TEST_F(Hiscore, LinesAfterTheSixtiethAreIgnored) {
    std::string text;
    t_table expected;
    for (int n = 0; n < ENTRIES; n++) {
        text += std::to_string(n) + " N\n";
        expected.emplace_back(n, "N");
    }
    text += "999 BAD\n1000 BAD\n";
    write_file(file, text);
    hiscores_load(file.c_str());
    EXPECT_EQ(snapshot(), expected);
}

TEST_F(Hiscore, FailedSaveKeepsTheOldFileAndTheTable) {
    fill_old();

    // The folder does not exist: nothing is created.
    expect_failed_save(dir.file("missing/hiscores.dat"));
    EXPECT_FALSE(fs::exists(dir.file("missing")));

    // The target cannot be replaced: a non-empty folder stands in its place.
    fs::create_directory(file);
    write_file(file + "/keep", "kept");
    expect_failed_save(file);
    EXPECT_EQ(read_file(file + "/keep"), "kept");
    EXPECT_EQ(names(), std::vector<std::string>{"hiscores.dat"});
    fs::remove_all(file);

    // The temporary file cannot be made: the old file stays whole and the blocker is not ours.
    write_file(file, "1520 ABC\n0 \n");
    fs::create_directory(temp);
    write_file(temp + "/keep", "kept");
    expect_failed_save(file);
    EXPECT_EQ(read_file(file), "1520 ABC\n0 \n");
    EXPECT_EQ(read_file(temp + "/keep"), "kept");
}

// The disk fills up in the middle of the temporary file (a file size limit stands in for
// it): the save fails, and the old file stays whole beside no temporary file.
TEST_F(Hiscore, SaveFailingPartWayKeepsTheOldFileWhole) {
    write_file(file, "1520 ABC\n0 \n");
    fill_old();
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = saved;
    small.rlim_cur = 100;  // about ten of the sixty lines
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    expect_failed_save(file);
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(read_file(file), "1520 ABC\n0 \n");
    EXPECT_EQ(names(), std::vector<std::string>{"hiscores.dat"});
}

}  // namespace
