// The score file: saves read back, damaged and odd files, failed saves, games saving at once.
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>

#include <chrono>
#include <cstring>

#include "datafile.h"
#include "files.h"
#include "hiscore.h"

namespace {

constexpr int ENTRIES = NUM_QTYPES * NUM_SKILL_LEVELS * HISCORE_RANKS;

// Entry n in file order: type outermost, then level, then rank.
t_hiscore& entry_at(int n) {
    const int table = n / HISCORE_RANKS;
    return hiscores[table / NUM_SKILL_LEVELS][table % NUM_SKILL_LEVELS][n % HISCORE_RANKS];
}

// Entries from..to-1 in file order as "score initials"; all of them by default.
std::vector<std::string> table(int from = 0, int to = ENTRIES) {
    std::vector<std::string> lines;
    for (int n = from; n < to; n++)
        lines.push_back(std::to_string(entry_at(n).score) + " " + entry_at(n).initials);
    return lines;
}

std::vector<std::string> table_of(int qtype, int skill) {
    const int first = (qtype * NUM_SKILL_LEVELS + skill) * HISCORE_RANKS;
    return table(first, first + HISCORE_RANKS);
}

// Gives every entry a score of its own (negative ones and the largest too) and zero to three
// initials; the table then.
std::vector<std::string> fill_table() {
    for (int n = 0; n < ENTRIES; n++) {
        entry_at(n).score = n == 1 ? INT32_MAX : 37 * n - 500;
        snprintf(entry_at(n).initials, sizeof entry_at(n).initials, "%.*s", n % 4, "DEF");
    }
    return table();
}

std::string load(const std::string& path) {  // what loading printed
    return printed([&] { hiscores_load(path.c_str()); });
}

// What saving an entry printed; what the save gave goes to `saved`.
std::string save_entry(const std::string& path, t_question_type qtype, int32_t score,
                       const char* initials, int& saved) {
    return printed(
        [&] { saved = hiscores_save_entry(path.c_str(), qtype, EASY, score, initials); });
}

// The name this process's save of `name` tries for its temporary file at `attempt`.
std::string temp_name(const std::string& name, int attempt) {
    return name + "." + std::to_string(getpid()) + "." + std::to_string(attempt) + ".tmp";
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

// Neither another copy's half-written file at the first temporary name a save tries nor a link
// to a file of the player's at the next is written through. A new file gets the umask's bits.
TEST_F(Hiscore, SaveThenLoadGivesBackEveryEntryAndLeavesFilesAtTheTemporaryNamesAlone) {
    const std::vector<std::string> saved = fill_table();
    const std::string half_written = dir.write(temp_name("hiscores.dat", 0), "1 HALF");
    const std::string victim = dir.write("victim", "mine");
    ASSERT_EQ(symlink(victim.c_str(), dir.file(temp_name("hiscores.dat", 1)).c_str()), 0);
    const mode_t umask_before = umask(027);
    EXPECT_EQ(hiscores_save(file.c_str()), 1);
    umask(umask_before);
    EXPECT_EQ(read_file(half_written), "1 HALF") << "another copy's temporary file";
    EXPECT_EQ(read_file(victim), "mine") << "the file a temporary name links to";
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640))
        << "a new file: 0666 less the umask";
    std::string lines;
    for (const std::string& line : saved) lines += line + "\n";
    EXPECT_EQ(read_file(file), lines) << "one line per entry, in file order";
    memset(hiscores, 0, sizeof hiscores);
    EXPECT_EQ(load(file), "") << "a saved file loads silently";
    EXPECT_EQ(table(), saved) << "loading gives every entry back";
    for (int k = 1; k < DATAFILE_TEMP_ATTEMPTS; k++) dir.write(temp_name("other", k), "");
    EXPECT_EQ(hiscores_save(dir.file("other").c_str()), 1) << "the first temporary name is tried";
}

// A line fills one entry in file order, however long; one whose score is not a 32-bit number
// standing alone keeps its entry; lines after the sixtieth are ignored. A missing, empty or 1 GiB
// file is silent, a pipe, /dev/zero or a folder one "ERROR: " line; none waits or changes a thing.
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
        std::vector<std::string> expected = fill_table();  // "": the entry keeps this
        for (size_t n = 0; n < lines.size(); n++)
            if (!lines[n].empty()) expected[n] = lines[n];
        EXPECT_EQ(load(dir.write("hiscores.dat", text)), "") << text;
        EXPECT_EQ(table(), expected) << text;
    }
    const std::vector<std::string> before = fill_table();
    EXPECT_EQ(load(dir.file("absent")), "") << "a missing file";
    EXPECT_EQ(load(huge_file(dir, "huge")), "") << "a 1 GiB file";
    for (const std::string& odd : odd_files(dir)) EXPECT_TRUE(one_error(load(odd), odd));
    EXPECT_EQ(table(), before) << "files that fill nothing";
    EXPECT_LT(heap_kept(50, [&] { load(dir.write("hiscores.dat", sixty_one)); }), 64u << 10)
        << "loads keep memory";
}

// A save that cannot finish gives 0 after one "ERROR: " line naming the file and why; the old
// file stays whole, no temporary file is left, and the table stays in memory, a new entry too.
// A file the player cannot read is never replaced. Root reads anything, so the saves run in a
// child that gives up root's rights first.
TEST_F(Hiscore, FailedSaveKeepsTheOldFileAndTheTable) {
    const std::vector<std::string> odd = odd_files(dir);
    const std::string full = dir.write("full", "1 A\n");
    const std::pair<std::string, const char*> saves[] = {
        {odd[0], "(Permission denied)"},
        {odd[1], "(not a regular file)"},
        {odd[2], "(Permission denied)"},
        {dir.file("missing/hiscores.dat"), "No such file or directory"},
        {dir.file("taken"), "File exists"},  // every temporary name
        {dir.write(std::string(250, 'h'), ""), "File name too long"},
        {dir.write("hiscores.dat", "1 A\n"), "(Permission denied)"},
        {full, "File too large"}};  // the size limit last
    ASSERT_EQ(chmod(file.c_str(), 0), 0);
    ASSERT_EQ(chmod(dir.path().c_str(), 0777), 0);
    const pid_t child = fork_child();
    if (child == 0) {
        for (int k = 0; k < DATAFILE_TEMP_ATTEMPTS; k++) dir.write(temp_name("taken", k), "");
        if (geteuid() == 0 && setuid(65534) != 0) _exit(77);
        fill_table();
        int saved = 1;
        EXPECT_TRUE(one_error(save_entry(file, DIVISION, INT32_MAX, "NEW", saved), file));
        EXPECT_EQ(saved, 0) << "a new entry over an unreadable file";
        EXPECT_EQ(table_of(DIVISION, EASY)[0], "2147483647 NEW") << "kept in memory";
        EXPECT_TRUE(one_error(load(file), file)) << "an unreadable file is not loaded";
        const std::vector<std::string> before = table();
        signal(SIGXFSZ, SIG_IGN);
        for (const auto& [target, why] : saves) {
            const struct rlimit ten_lines = {100, RLIM_INFINITY};
            if (target == full) setrlimit(RLIMIT_FSIZE, &ten_lines);
            const std::string out = printed([&] { saved = hiscores_save(target.c_str()); });
            EXPECT_TRUE(one_error(out, target)) << why;
            EXPECT_NE(out.find(why), out.npos) << "the reason: " << out;
            EXPECT_EQ(saved, 0) << out;
        }
        EXPECT_EQ(table(), before) << "the table in memory";
        _exit(testing::Test::HasFailure());
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    if (WEXITSTATUS(status) == 77) GTEST_SKIP() << "cannot give up root's rights";
    EXPECT_EQ(status, 0) << "the saves' checks above";
    ASSERT_EQ(chmod(file.c_str(), 0600), 0);
    EXPECT_EQ(read_file(full), "1 A\n") << "a save that filled the disk";
    EXPECT_EQ(read_file(file), "1 A\n") << "a file that could not be read";
    int temps = 0;
    for (const auto& item : std::filesystem::recursive_directory_iterator(dir.path()))
        temps += item.path().extension() == ".tmp";
    EXPECT_EQ(temps, DATAFILE_TEMP_ATTEMPTS) << "only the planted temporary files";
}

// The next save reads the file again: entries whose saves failed go back in beside another
// copy's, in their order, the newer above its equals; one the file outranks is only reported.
TEST_F(Hiscore, ASaveReadsTheFileAgainAndPutsBackThisRunsUnsavedEntries) {
    const std::string later = dir.file("later/hiscores.dat");  // no folder yet: failed saves
    int saved = 1;
    EXPECT_TRUE(one_error(save_entry(later, ADDITION, 300, "ONE", saved), later));
    EXPECT_TRUE(one_error(save_entry(later, ADDITION, 300, "TWO", saved), later));
    ASSERT_EQ(mkdir(dir.file("later").c_str(), 0700), 0);
    dir.write("later/hiscores.dat", "500 OTH\n100 LOW\n");  // read over both unsaved entries
    EXPECT_EQ(save_entry(later, ADDITION, 200, "THR", saved), "");
    const std::string merged = "500 OTH\n300 TWO\n300 ONE\n200 THR\n100 LOW\n";
    EXPECT_EQ(read_file(later).substr(0, merged.size()), merged) << "the unsaved entries back in";
    const std::string raised = "900 A\n800 B\n700 C\n600 D\n500 E\n";
    dir.write("later/hiscores.dat", raised);
    EXPECT_EQ(save_entry(later, ADDITION, 400, "LOW", saved),
              "The score 400 of LOW no longer ranks among the ADDITION - EASY high scores in \"" +
                  later + "\"\n");
    EXPECT_EQ(read_file(later).substr(0, raised.size()), raised) << "the table read, saved";
}

// A holder that never lets go of the lock (a copy stopped while saving) holds a save up a
// second at most; the save then goes on without it, after a line saying so.
TEST_F(Hiscore, AHeldLockHoldsASaveUpASecondAtMost) {
    const int holder = open((file + ".lock").c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(flock(holder, LOCK_EX), 0);
    const auto start = std::chrono::steady_clock::now();
    int saved = 0;
    const std::string said = save_entry(file, ADDITION, 100, "WAI", saved);
    const auto waited = std::chrono::steady_clock::now() - start;
    close(holder);
    const std::chrono::milliseconds wait{DATAFILE_LOCK_WAIT_MS};
    EXPECT_GE(waited, wait) << "the holder is waited for";
    EXPECT_LT(waited, 5 * wait) << "but not for ever";
    EXPECT_EQ(said, "Saving the high scores to \"" + file + "\" without the lock: \"" + file +
                        ".lock\" stayed locked for 1000 ms\n");
    EXPECT_EQ(read_file(file).substr(0, 7), "100 WAI") << "saved all the same";
}

// Two copies of the game, each with its own table in memory, save entries at once: under the
// lock each save reads what the other saved, so none is lost. The file keeps its mode bits.
TEST_F(Hiscore, TwoGamesSavingAtOnceKeepEveryEntryAndTheFilesPermissions) {
    ASSERT_EQ(chmod(dir.write("hiscores.dat", "").c_str(), 0600), 0);
    pid_t games[2];
    for (int game = 0; game < 2; game++) {
        if ((games[game] = fork_child()) != 0) continue;
        int failed = 0;
        for (int score = HISCORE_RANKS; score > 0; score--)
            for (int skill = 0; skill < NUM_SKILL_LEVELS; skill++)
                failed += hiscores_save_entry(file.c_str(), t_question_type(game),
                                              t_skill_level(skill), score, "AB") != 1;
        _exit(failed);
    }
    for (pid_t game : games) {
        int status = 1;
        EXPECT_EQ(waitpid(game, &status, 0), game);
        EXPECT_EQ(status, 0) << "every save of a game succeeded";
    }
    memset(hiscores, 0, sizeof hiscores);
    EXPECT_EQ(load(file), "");
    const std::vector<std::string> full = {"5 AB", "4 AB", "3 AB", "2 AB", "1 AB"};
    for (int qtype : {0, 1})  // a type each, every level
        for (int skill = 0; skill < NUM_SKILL_LEVELS; skill++)
            EXPECT_EQ(table_of(qtype, skill), full) << qtype_str[qtype] << " " << skill;
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0600));
}

}  // namespace
