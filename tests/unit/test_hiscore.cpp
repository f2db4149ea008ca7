// The high-score file: saving and loading the table, malformed files, and saves that fail.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

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
    const std::string lock = "hiscores.dat.lock";
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

// Another copy of the game is writing its temporary file, at the name this save would try
// first, and a link to a file of the player's stands at the next: neither is touched.
TEST_F(Hiscore, SaveThenLoadGivesBackTheTableAndLeavesOtherFilesAlone) {
    const char* const initials[] = {"", "A", "BC", "DEF"};
    for (int n = 0; n < ENTRIES; n++) set_entry(&entry(n), 37 * n - 500, initials[n % 4]);
    set_entry(&entry(1), INT32_MAX, "MAX");
    set_entry(&entry(2), INT32_MIN, "");
    const t_table saved = snapshot();
    write_file(file, "1 OLD\n");
    const std::string first = file + "." + std::to_string(getpid()) + ".0.tmp";
    FILE* other = fopen(first.c_str(), "w");
    ASSERT_NE(other, nullptr);
    fputs("1 HALF", other);
    const std::string victim = dir.write("victim", "mine\n");
    fs::create_symlink(victim, file + "." + std::to_string(getpid()) + ".1.tmp");

    ASSERT_EQ(hiscores_save(file.c_str()), 1);
    fputs("\n", other);
    fclose(other);
    EXPECT_EQ(read_file(first), "1 HALF\n");
    EXPECT_EQ(read_file(victim), "mine\n");
    fill_old();
    hiscores_load(file.c_str());
    EXPECT_EQ(snapshot(), saved);
    EXPECT_EQ(names().size(), 5u);  // the file, its lock, the other two and the victim
}

// Two copies of the game, each with the table it read at start-up, save an entry each:
// the second reads what the first saved, so both scores stay. The file stays private.
TEST_F(Hiscore, TwoGamesSavingKeepBothEntriesAndTheFilesPermissions) {
    write_file(file, "900 OLD\n");
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    hiscores_load(file.c_str());
    const t_table at_start = snapshot();
    decltype(hiscores) second_game;
    memcpy(second_game, hiscores, sizeof hiscores);
    EXPECT_EQ(hiscores_save_entry(file.c_str(), ADDITION, EASY, 500, "ONE"), 1);
    memcpy(hiscores, second_game, sizeof hiscores);
    EXPECT_EQ(hiscores_save_entry(file.c_str(), ADDITION, EASY, 700, "TWO"), 1);
    t_table expected = at_start;
    expected[1] = {700, "TWO"};
    expected[2] = {500, "ONE"};
    EXPECT_EQ(snapshot(), expected);
    fill_old();
    hiscores_load(file.c_str());
    EXPECT_EQ(snapshot(), expected);
    struct stat info {};
    ASSERT_EQ(stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

// A file the player cannot read (root reads anything, so a child gives up root's rights)
// is reported, and its save fails with its own line: the new entry stays in memory only.
TEST_F(Hiscore, UnreadableFileIsReportedAndNeverReplaced) {
    write_file(file, "1520 ABC\n");
    ASSERT_EQ(chmod(file.c_str(), 0), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const pid_t child = fork();
    if (child == 0) {
        if (geteuid() == 0 && setuid(65534) != 0) _exit(77);
        testing::internal::CaptureStdout();
        hiscores_load(file.c_str());
        const bool kept = entry(0).score == 0;
        const bool saved = hiscores_save_entry(file.c_str(), ADDITION, EASY, 700, "NEW");
        const std::string out = testing::internal::GetCapturedStdout();
        const bool two_errors = out.rfind("ERROR: ", 0) == 0 && out.find("\nERROR: ") != out.npos &&
                                std::count(out.begin(), out.end(), '\n') == 2;
        _exit(kept && !saved && entry(0).score == 700 && two_errors ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot give up root's rights";
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(read_file(file), "1520 ABC\n");
    EXPECT_EQ(names(), (std::vector<std::string>{"hiscores.dat", lock}));
}

// A missing or empty file, or 1 GiB of zeros (read no further than 60 lines can hold), is
// silent; a pipe, a device or a folder is one "ERROR: " line. None of them waits.
TEST_F(Hiscore, ShortFileFillsOnlyItsLinesAndMissingEmptyOrOddFileChangesNothing) {
    t_table expected = fill_old();
    const Deadline deadline(5);
    for (const std::string& quiet :
         {dir.file("absent.dat"), dir.write("empty", ""), huge_file(dir, "huge")}) {
        testing::internal::CaptureStdout();
        hiscores_load(quiet.c_str());
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << quiet;
    }
    for (const std::string& odd : odd_files(dir)) {
        testing::internal::CaptureStdout();
        hiscores_load(odd.c_str());
        const std::string out = testing::internal::GetCapturedStdout();
        EXPECT_EQ(out.rfind("ERROR: ", 0), 0u) << out;
        EXPECT_NE(out.find(odd), std::string::npos) << out;
    }
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
    const std::string over_long = "77 LNG" + std::string(100, 'x') + "\n";  // one line
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
    EXPECT_EQ(names(), (std::vector<std::string>{"hiscores.dat", lock}));
    fs::remove_all(file);

    // No temporary file can be made: its name would be too long. The old file stays whole.
    const std::string longest = dir.write(std::string(250, 'h'), "1520 ABC\n0 \n");
    expect_failed_save(longest);
    EXPECT_EQ(read_file(longest), "1520 ABC\n0 \n");

    // Nor is anything saved over what is not a regular file.
    for (const std::string& odd : odd_files(dir)) expect_failed_save(odd);
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
    EXPECT_EQ(names(), (std::vector<std::string>{"hiscores.dat", lock}));
}

}  // namespace
