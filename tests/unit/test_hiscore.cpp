// The score file: saves read back, damaged and odd files, failed saves, games saving at once.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <csignal>
#include <cstring>
#include <filesystem>

#include "files.h"
#include "hiscore.h"

namespace {

constexpr int ENTRIES = NUM_QTYPES * NUM_SKILL_LEVELS * HISCORE_RANKS;

// Every entry as "score initials" in file order (type by type, level by level, rank by
// rank), after giving each, when `fill`, a score and up to three initials of its own.
std::vector<std::string> table(bool fill = false) {
    std::vector<std::string> lines;
    for (int n = 0; n < ENTRIES; n++) {
        t_hiscore& entry = hiscores[n / 15][n / 5 % NUM_SKILL_LEVELS][n % HISCORE_RANKS];
        if (fill) entry.score = n == 1 ? INT32_MAX : 37 * n - 500;
        if (fill) snprintf(entry.initials, sizeof entry.initials, "%.*s", n % 4, "DEF");
        lines.push_back(std::to_string(entry.score) + " " + entry.initials);
    }
    return lines;
}

// Loads `path`; what it printed.
std::string load(const std::string& path) {
    return printed([&] { hiscores_load(path.c_str()); });
}

int open_descriptors() {
    int count = 0;
    for ([[maybe_unused]] const auto& fd : std::filesystem::directory_iterator("/proc/self/fd"))
        count++;
    return count;
}

// Every load and save, failed ones too, closes what it opened.
class Hiscore : public ::testing::Test {
   protected:
    void SetUp() override {
        memset(hiscores, 0, sizeof hiscores);
        descriptors = open_descriptors();
    }
    void TearDown() override { EXPECT_EQ(open_descriptors(), descriptors) << "left open"; }
    int descriptors = 0;
    ScratchFolder dir;
    const std::string file = dir.file("hiscores.dat");
};

// Another copy's half-written file stands at the first temporary name this save tries and
// a link to a file of the player's at the next: neither is written through. A new file
// gets the umask's permission bits.
TEST_F(Hiscore, SaveThenLoadGivesBackEveryEntryAndLeavesFilesAtTheTemporaryNamesAlone) {
    const std::vector<std::string> saved = table(true);
    const std::string temp = "hiscores.dat." + std::to_string(getpid());
    dir.write(temp + ".0.tmp", "1 HALF");
    ASSERT_EQ(symlink(dir.write("victim", "mine").c_str(), dir.file(temp + ".1.tmp").c_str()), 0);
    EXPECT_EQ(hiscores_save(file.c_str()), 1);
    EXPECT_EQ(read_file(dir.file(temp + ".0.tmp")) + read_file(dir.file("victim")), "1 HALFmine");
    const mode_t mask = umask(022);
    struct stat info {};
    EXPECT_EQ(stat(file.c_str(), &info) == 0 ? info.st_mode & 0777 : 0,
              0666 & ~mask);  // a new file's
    umask(mask);
    memset(hiscores, 0, sizeof hiscores);
    EXPECT_EQ(load(file), "");
    EXPECT_EQ(table(), saved);
}

// A line fills one entry in file order, however long; one whose score is not a 32-bit
// number standing alone keeps its entry; lines after the sixtieth are ignored. A missing,
// empty or 1 GiB file is silent, a pipe, /dev/zero or a folder one "ERROR: " line; none
// of them waits or changes anything.
TEST_F(Hiscore, LoadFillsEntriesLineByLineUpToTheSixtiethAndIgnoresOddFiles) {
    std::string sixty_one;
    std::vector<std::string> sixty;
    for (int n = 1; n <= ENTRIES + 1; n++) sixty_one += std::to_string(n) + " N\n";
    for (int n = 1; n <= ENTRIES; n++) sixty.push_back(std::to_string(n) + " N");
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {"100 AB\n200\n300 XYZ", {"100 AB", "200 ", "300 XYZ"}},  // the last line unended
        {"1234 ABCDEFG\nabc XYZ\n\n2147483648 B\n  55  QR\r\n12abc\n-2147483648 MIN\n88 \r\n77 L" +
             std::string(100, 'x') + "\n99 OK\n",
         {"1234 ABC", "", "", "", "55 QR", "", "-2147483648 MIN", "88 ", "77 Lxx", "99 OK"}},
        {sixty_one, sixty},
        {"", {}},
    };
    for (const auto& [text, lines] : cases) {
        std::vector<std::string> expected = table(true);
        for (size_t n = 0; n < lines.size(); n++)
            if (!lines[n].empty()) expected[n] = lines[n];
        EXPECT_EQ(load(dir.write("hiscores.dat", text)), "");
        EXPECT_EQ(table(), expected) << text;
    }
    const std::vector<std::string> before = table(true);
    EXPECT_EQ(load(dir.file("absent")) + load(huge_file(dir, "huge")), "");
    for (const std::string& odd : odd_files(dir)) EXPECT_TRUE(one_error(load(odd), odd));
    EXPECT_EQ(table(), before);
    EXPECT_LT(heap_kept(50, [&] { load(dir.write("hiscores.dat", sixty_one)); }), 64u << 10)
        << "loads keep memory";
}

// A save that cannot finish gives 0 after one "ERROR: " line naming the file: over what is
// not a regular file, into a missing folder, where no temporary file can be made, or
// when the disk fills up part-way (a file size limit stands in for it). The old file stays
// whole, no temporary file is left beside those planted, and the table stays in memory.
TEST_F(Hiscore, FailedSaveKeepsTheOldFileAndTheTable) {
    const std::vector<std::string> before = table(true);
    for (int k = 0; k < 16; k++)  // every temporary name a save of "taken" may try is taken
        dir.write("taken." + std::to_string(getpid()) + "." + std::to_string(k) + ".tmp", "");
    std::vector<std::string> targets = odd_files(dir);
    targets.insert(targets.end(),
                   {dir.file("missing/hiscores.dat"), dir.file("taken"),
                    dir.write(std::string(250, 'h'), ""), dir.write("hiscores.dat", "1 A\n")});
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    struct rlimit small = {100, saved.rlim_max};  // about ten of the sixty lines
    void (*previous)(int) = signal(SIGXFSZ, SIG_IGN);
    for (const std::string& target : targets) {
        if (target == file) setrlimit(RLIMIT_FSIZE, &small);
        EXPECT_TRUE(
            one_error(printed([&] { EXPECT_EQ(hiscores_save(target.c_str()), 0); }), target));
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    signal(SIGXFSZ, previous);
    EXPECT_EQ(read_file(file), "1 A\n");
    EXPECT_EQ(table(), before);
    int temps = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(dir.path()))
        temps += item.path().extension() == ".tmp";
    EXPECT_EQ(temps, 16);
}

// A file the player cannot read is reported and never replaced; the new entry stays in
// memory only. Root reads anything, so a child gives up root's rights first.
TEST_F(Hiscore, UnreadableFileIsReportedAndNeverReplaced) {
    ASSERT_EQ(chmod(dir.write("hiscores.dat", "1 A\n").c_str(), 0), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const pid_t child = fork_child();
    if (child == 0) {
        if (geteuid() == 0 && setuid(65534) != 0) _exit(77);
        int saved = 1;
        const std::string out =
            load(file) +
            printed([&] { saved = hiscores_save_entry(file.c_str(), ADDITION, EASY, 7, "NEW"); });
        const bool reported = one_error(out.substr(0, out.find('\n') + 1), file) &&
                              one_error(out.substr(out.find('\n') + 1), file);
        _exit(reported && saved == 0 && table()[0] == "7 NEW" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot give up root's rights";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(read_file(file), "1 A\n");
}

// Two copies of the game, each with its own table in memory, save entries at once: under
// the lock each save reads what the other saved, so none is lost. A score goes in above
// those it equals. The file keeps its permission bits.
TEST_F(Hiscore, TwoGamesSavingAtOnceKeepEveryEntryAndTheFilesPermissions) {
    ASSERT_EQ(chmod(dir.write("hiscores.dat", "").c_str(), 0600), 0);
    pid_t games[2];
    for (int game = 0; game < 2; game++) {
        if ((games[game] = fork_child()) != 0) continue;
        bool saved = true;
        for (int score = HISCORE_RANKS; score > 0; score--)
            for (int t = 6 * game; t < 6 * game + 6; t++)
                saved &= hiscores_save_entry(file.c_str(), t_question_type(t / 3),
                                             t_skill_level(t % 3), score, "AB") == 1;
        _exit(saved ? 0 : 1);
    }
    for (pid_t game : games) {
        int status = 1;
        EXPECT_EQ(waitpid(game, &status, 0), game);
        EXPECT_EQ(status, 0);
    }
    EXPECT_EQ(hiscores_save_entry(file.c_str(), ADDITION, EASY, 3, "EQ"), 1);
    std::vector<std::string> expected;
    for (int n = 0; n < ENTRIES; n++) expected.push_back(std::to_string(5 - n % 5) + " AB");
    expected.insert(expected.begin() + 2, "3 EQ");
    expected.erase(expected.begin() + 5);
    memset(hiscores, 0, sizeof hiscores);
    EXPECT_EQ(load(file), "");
    EXPECT_EQ(table(), expected);
    struct stat info {};
    EXPECT_EQ(stat(file.c_str(), &info) == 0 ? info.st_mode & 0777 : 0, 0600u);
}

}  // namespace
