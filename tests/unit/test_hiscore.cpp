// The score file: saves read back, damaged and odd files, failed saves, games saving at once.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <cstring>

#include "files.h"
#include "hiscore.h"

namespace {

constexpr int ENTRIES = NUM_QTYPES * NUM_SKILL_LEVELS * HISCORE_RANKS;

// Every entry as "score initials" in file order (type, level, rank), after giving each, when
// `fill`, a score and up to three initials of its own.
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

std::string load(const std::string& path) {  // what loading printed
    return printed([&] { hiscores_load(path.c_str()); });
}

int mode_of(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 0777 : -1;
}

// Every load and save, failed ones too, closes what it opened.
class Hiscore : public ::testing::Test {
   protected:
    void SetUp() override {
        memset(hiscores, 0, sizeof hiscores);
        open_ = open_files();
    }
    void TearDown() override { EXPECT_EQ(open_files(), open_) << "left open"; }
    int open_ = 0;
    ScratchFolder dir;
    const std::string file = dir.file("hiscores.dat");
};

// Another copy's half-written file stands at the first temporary name this save tries and a
// link to a file of the player's at the next: neither is written through. A new file gets
// the umask's permission bits.
TEST_F(Hiscore, SaveThenLoadGivesBackEveryEntryAndLeavesFilesAtTheTemporaryNamesAlone) {
    const std::vector<std::string> saved = table(true);
    const std::string temp = "hiscores.dat." + std::to_string(getpid());
    dir.write(temp + ".0.tmp", "1 HALF");
    ASSERT_EQ(symlink(dir.write("victim", "mine").c_str(), dir.file(temp + ".1.tmp").c_str()), 0);
    const mode_t mask = umask(027);
    EXPECT_EQ(hiscores_save(file.c_str()), 1);
    umask(mask);
    EXPECT_EQ(read_file(dir.file(temp + ".0.tmp")) + read_file(dir.file("victim")), "1 HALFmine");
    for (int k = 1; k < 16; k++)  // the first name is tried too
        dir.write("other." + std::to_string(getpid()) + "." + std::to_string(k) + ".tmp", "");
    EXPECT_EQ(hiscores_save(dir.file("other").c_str()), 1);
    EXPECT_EQ(mode_of(file), 0640);
    std::string lines;
    for (const std::string& line : saved) lines += line + "\n";
    EXPECT_EQ(read_file(file), lines);
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
             std::string(100, 'x') + "\n99 OK\n-2147483649 LOW\n",
         {"1234 ABC", "", "", "", "55 QR", "", "-2147483648 MIN", "88 ", "77 Lxx", "99 OK", ""}},
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

// A save that cannot finish gives 0 after one "ERROR: " line naming the file and why: over
// what is not a regular file, into a missing folder, where no temporary file can be made, when
// the disk fills up part-way (a file size limit stands in for it), or over a file the player
// cannot read, which is never replaced (a new entry then stays in memory only). The old file
// stays whole, no temporary file is left beside those planted, and the table stays in memory.
// Root reads anything, so the saves run in a child that gives up root's rights first.
TEST_F(Hiscore, FailedSaveKeepsTheOldFileAndTheTable) {
    const std::vector<std::string> odd = odd_files(dir);
    const std::pair<std::string, const char*> targets[] = {
        {odd[0], "(Permission denied)"},
        {odd[1], "(not a regular file)"},
        {odd[2], "(Permission denied)"},
        {dir.file("missing/hiscores.dat"), "No such file or directory"},
        {dir.file("taken"), "File exists"},
        {dir.write(std::string(250, 'h'), ""), "File name too long"},
        {dir.write("hiscores.dat", "1 A\n"), "(Permission denied)"},
        {dir.write("full", "1 A\n"), "File too large"}};  // the size limit last
    ASSERT_EQ(chmod(file.c_str(), 0), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const pid_t child = fork_child();
    if (child == 0) {
        for (int k = 0; k < 16; k++)  // every temporary name a save of "taken" may try is taken
            dir.write("taken." + std::to_string(getpid()) + "." + std::to_string(k) + ".tmp", "");
        if (geteuid() == 0 && setuid(65534) != 0) _exit(77);
        table(true);
        int kept = 1;  // a new entry stays in memory only
        const std::string out = printed(
            [&] { kept = hiscores_save_entry(file.c_str(), DIVISION, HARD, INT32_MAX, "NEW"); });
        bool failed = one_error(out, file) && !kept && table()[55] == "2147483647 NEW" &&
                      one_error(load(file), file);  // nor is it read
        const std::vector<std::string> before = table();
        signal(SIGXFSZ, SIG_IGN);
        for (const auto& [target, why] : targets) {
            struct rlimit small = {100, RLIM_INFINITY};  // about ten of the sixty lines
            if (target == dir.file("full")) setrlimit(RLIMIT_FSIZE, &small);
            int saved = 1;
            const std::string said = printed([&] { saved = hiscores_save(target.c_str()); });
            failed &= one_error(said, target) && said.find(why) != said.npos && saved == 0;
        }
        _exit(failed && table() == before ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot give up root's rights";
    EXPECT_EQ(status, 0);
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    EXPECT_EQ(read_file(dir.file("full")) + read_file(file), "1 A\n1 A\n");
    int temps = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(dir.path()))
        temps += item.path().extension() == ".tmp";
    EXPECT_EQ(temps, 16);
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
    EXPECT_EQ(mode_of(file), 0600);
}

}  // namespace
