// The twelve high-score tables and their text file: one "score initials" line per entry.
#include "hiscore.h"

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "datafile.h"
#include "text.h"

t_hiscore hiscores[NUM_QTYPES][NUM_SKILL_LEVELS][HISCORE_RANKS];

namespace {

constexpr int TABLE_SIZE = NUM_SKILL_LEVELS * HISCORE_RANKS;
constexpr int NUM_ENTRIES = NUM_QTYPES * TABLE_SIZE;
static_assert(NUM_ENTRIES == 60, "the file holds exactly 60 lines");

// Longer lines are cut; a valid line needs at most 11 + 1 + 3 characters.
constexpr size_t LINE_SIZE = DATAFILE_WORD_BYTES;
// Sixty lines of what a line keeps; no valid file is longer, so reading stops there.
constexpr size_t FILE_LIMIT = NUM_ENTRIES * LINE_SIZE;

// Whether each entry is one of this run's that no save has written yet (its save failed).
bool unsaved[NUM_QTYPES][NUM_SKILL_LEVELS][HISCORE_RANKS];

// An entry of this run that a line read from the file took the place of.
struct Displaced {
    t_question_type qtype;
    t_skill_level skill;
    t_hiscore entry;
};

// Entry n in file order: type outermost, then level, then rank.
t_question_type qtype_at(int n) { return static_cast<t_question_type>(n / TABLE_SIZE); }
t_skill_level skill_at(int n) { return static_cast<t_skill_level>(n % TABLE_SIZE / HISCORE_RANKS); }
t_hiscore* entry_at(int n) { return &hiscores[qtype_at(n)][skill_at(n)][n % HISCORE_RANKS]; }
bool* unsaved_at(int n) { return &unsaved[qtype_at(n)][skill_at(n)][n % HISCORE_RANKS]; }

// One whole line, cut to fit `line`, the rest consumed so it still counts as one; 0 at the end
// of the file. Reads byte by byte so a NUL inside a line cannot shift the line count.
int read_line(FILE* file, char* line, size_t size) {
    int c = getc(file);
    if (c == EOF) return 0;
    size_t len = 0;
    for (; c != EOF && c != '\n'; c = getc(file)) {
        if (len + 1 < size) line[len++] = static_cast<char>(c);
    }
    line[len] = '\0';
    return 1;
}

bool is_blank(char c) { return isspace(static_cast<unsigned char>(c)) != 0; }

// Fills `entry` with the score and up to three initials of one line; false, leaving it
// untouched, when the score is not a 32-bit number standing on its own ("12abc" is not one).
bool parse_entry(const char* line, t_hiscore* entry) {
    char* end = nullptr;
    errno = 0;
    const long long score = strtoll(line, &end, 10);
    if (end == line || errno == ERANGE || score < INT32_MIN || score > INT32_MAX) return false;
    if (*end != '\0' && !is_blank(*end)) return false;
    while (is_blank(*end)) end++;
    size_t len = 0;
    while (len < sizeof entry->initials - 1 && end[len] != '\0' && !is_blank(end[len])) {
        entry->initials[len] = end[len];
        len++;
    }
    entry->initials[len] = '\0';
    entry->score = static_cast<int32_t>(score);
    return true;
}

// All 60 lines; 0, or the errno value of the write that failed.
int write_entries(FILE* file) {
    for (int n = 0; n < NUM_ENTRIES; n++) {
        const t_hiscore* entry = entry_at(n);
        if (fprintf(file, "%d %.3s\n", entry->score, entry->initials) < 0) return errno;
    }
    return 0;
}

// Puts a new entry of this run into its table above every entry it equals or beats, the
// entries below moving down one and the last dropping out. One that ranks below all five
// changes nothing, after a line saying so.
void put_entry(const char* filename, t_question_type qtype, t_skill_level skill,
               const t_hiscore& entry) {
    t_hiscore* table = hiscores[qtype][skill];
    bool* table_unsaved = unsaved[qtype][skill];
    int rank = 0;
    while (rank < HISCORE_RANKS && entry.score < table[rank].score) rank++;
    if (rank == HISCORE_RANKS) {
        printf("The score %d of %s no longer ranks among the %s - %s high scores in \"%s\"\n",
               entry.score, entry.initials, qtype_str[qtype], skill_level_str[skill], filename);
        return;
    }
    for (int i = HISCORE_RANKS - 1; i > rank; i--) {
        table[i] = table[i - 1];
        table_unsaved[i] = table_unsaved[i - 1];
    }
    table[rank] = entry;
    table_unsaved[rank] = true;
}

// Fills the table from the file as it is now; an entry of this run that a line read takes the
// place of goes back in afterwards. 0, or why the file cannot be read (ENOENT: there is none).
int read_table(const char* filename) {
    FILE* file = nullptr;
    const int error = datafile_open(filename, FILE_LIMIT, &file);
    if (error != 0) return error;
    Displaced displaced[NUM_ENTRIES];
    int num_displaced = 0;
    char line[LINE_SIZE];
    for (int n = 0; n < NUM_ENTRIES && read_line(file, line, sizeof line); n++) {
        t_hiscore read{};
        if (!parse_entry(line, &read)) continue;
        if (*unsaved_at(n)) displaced[num_displaced++] = {qtype_at(n), skill_at(n), *entry_at(n)};
        *entry_at(n) = read;
        *unsaved_at(n) = false;
    }
    fclose(file);
    // From the lowest up: each goes in above its equals, so entries of this run that tie keep
    // the order they had.
    for (int k = num_displaced - 1; k >= 0; k--)
        put_entry(filename, displaced[k].qtype, displaced[k].skill, displaced[k].entry);
    return 0;
}

int report_unreadable(const char* filename, int error) {
    printf("ERROR: could not save the high scores to \"%s\": it cannot be read (%s)\n", filename,
           datafile_reason(error));
    return 0;
}

// Replaces the file with the table: every entry is saved then.
int replace_table(const char* filename) {
    const t_datafile_replaced replaced = datafile_replace(filename, write_entries);
    if (replaced.unreadable) return report_unreadable(filename, replaced.error);
    if (replaced.error != 0) {
        printf("ERROR: could not save the high scores to \"%s\": %s\n", filename,
               datafile_reason(replaced.error));
        return 0;
    }
    memset(unsaved, 0, sizeof unsaved);
    return 1;
}

// The lock for a save, or -1 to save without one.
int lock_for_save(const char* filename) {
    int lock = -1;
    if (datafile_lock(filename, &lock) == EWOULDBLOCK)
        printf(
            "Saving the high scores to \"%s\" without the lock: \"%s.lock\" stayed locked "
            "for %d ms\n",
            filename, filename, DATAFILE_LOCK_WAIT_MS);
    return lock;
}

}  // namespace

void hiscores_load(const char* filename) {
    const int error = read_table(filename);
    if (error != 0 && error != ENOENT)
        printf("ERROR: could not read the high scores from \"%s\": %s\n", filename,
               datafile_reason(error));
}

int hiscores_save(const char* filename) {
    const int lock = lock_for_save(filename);
    const int saved = replace_table(filename);
    datafile_unlock(lock);
    return saved;
}

int hiscores_save_entry(const char* filename, t_question_type qtype, t_skill_level skill,
                        int32_t score, const char* initials) {
    const int lock = lock_for_save(filename);
    const int error = read_table(filename);
    t_hiscore entry = {score, ""};
    text_copy(entry.initials, initials);
    put_entry(filename, qtype, skill, entry);
    const int saved = error == 0 || error == ENOENT ? replace_table(filename)
                                                    : report_unreadable(filename, error);
    datafile_unlock(lock);
    return saved;
}
