// The twelve high-score tables and their text file: one "score initials" line per entry.
#include "hiscore.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "button.h"
#include "datafile.h"
#include "fonts.h"
#include "text.h"

t_hiscore hiscores[NUM_QTYPES][NUM_SKILL_LEVELS][HISCORE_RANKS];

namespace {

constexpr int TABLE_SIZE = NUM_SKILL_LEVELS * HISCORE_RANKS;
constexpr int NUM_ENTRIES = NUM_QTYPES * TABLE_SIZE;
static_assert(NUM_ENTRIES == 60, "the file holds exactly 60 lines");

// Longer lines are cut; a valid line needs at most 11 + 1 + 3 characters.
constexpr size_t LINE_SIZE = 64;
// Sixty lines of what a line keeps; no valid file is longer, so reading stops there.
constexpr size_t FILE_LIMIT = NUM_ENTRIES * LINE_SIZE;
constexpr size_t PATH_SIZE = 4096;
// Names a save tries for its temporary file before giving up (see create_temp).
constexpr int TEMP_ATTEMPTS = 16;

// What reading the file found.
enum class Found { READ, ABSENT, UNREADABLE };

// Entry n in file order: type outermost, then level, then rank.
t_hiscore* entry_at(int n) {
    return &hiscores[n / TABLE_SIZE][n % TABLE_SIZE / HISCORE_RANKS][n % HISCORE_RANKS];
}

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

// Fills `entry` with the score and up to three initials of one line; leaves it untouched
// when the score is not a 32-bit number standing on its own ("12abc" is not a score).
void parse_entry(const char* line, t_hiscore* entry) {
    char* end = nullptr;
    errno = 0;
    const long long score = strtoll(line, &end, 10);
    if (end == line || errno == ERANGE || score < INT32_MIN || score > INT32_MAX) return;
    if (*end != '\0' && !is_blank(*end)) return;
    while (is_blank(*end)) end++;
    size_t len = 0;
    while (len < sizeof entry->initials - 1 && end[len] != '\0' && !is_blank(end[len])) {
        entry->initials[len] = end[len];
        len++;
    }
    entry->initials[len] = '\0';
    entry->score = static_cast<int32_t>(score);
}

// All 60 lines, every write checked, then forced to disk; 1 on success.
int write_entries(FILE* file) {
    for (int n = 0; n < NUM_ENTRIES; n++) {
        const t_hiscore* entry = entry_at(n);
        if (fprintf(file, "%d %.3s\n", entry->score, entry->initials) < 0) return 0;
    }
    return fflush(file) == 0 && fsync(fileno(file)) == 0;
}

// Removes a temporary file after a failed step, keeping that step's errno; always 0.
int discard_temp(const char* path, int error) {
    unlink(path);
    errno = error;
    return 0;
}

// Creates this save's own temporary file beside `filename`, its name in `temp`. O_EXCL
// refuses any name that exists, a link too, so another copy's file or a planted link is
// never written through; the pid keeps copies of the game apart and the counter steps past
// files a crashed save left. -1 (errno set) when none can be made.
int create_temp(const char* filename, char* temp, size_t size) {
    for (int attempt = 0; attempt < TEMP_ATTEMPTS; attempt++) {
        const long pid = getpid();
        if (snprintf(temp, size, "%s.%ld.%d.tmp", filename, pid, attempt) >=
            static_cast<int>(size)) {
            errno = ENAMETOOLONG;
            return -1;
        }
        const int fd = open(temp, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

// Writes the table into a new temporary file with permission bits `mode`; its name goes to
// `temp`. 1 on success; on failure the file is removed and errno tells why.
int write_temp(const char* filename, mode_t mode, char* temp, size_t size) {
    const int fd = create_temp(filename, temp, size);
    if (fd < 0) return 0;
    FILE* file = fchmod(fd, mode) == 0 ? fdopen(fd, "w") : nullptr;
    if (file == nullptr) {
        const int error = errno;
        close(fd);
        return discard_temp(temp, error);
    }
    const int written = write_entries(file);
    const int write_error = errno;
    const bool closed = fclose(file) == 0;
    if (written && closed) return 1;
    return discard_temp(temp, written ? errno : write_error);
}

// Makes the rename itself durable; a failure here cannot undo it, so it is not reported.
void sync_folder(const char* filename) {
    char folder[PATH_SIZE] = ".";
    const char* slash = strrchr(filename, '/');
    if (slash != nullptr) {
        const size_t len = slash == filename ? 1 : static_cast<size_t>(slash - filename);
        if (len >= sizeof folder) return;
        memcpy(folder, filename, len);
        folder[len] = '\0';
    }
    const int fd = open(folder, O_RDONLY | O_DIRECTORY);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

int report_failure(const char* filename) {
    printf("ERROR: could not save the high scores to \"%s\": %s\n", filename, strerror(errno));
    return 0;
}

int report_unreadable(const char* filename, const char* why) {
    printf("ERROR: could not save the high scores to \"%s\": it cannot be read (%s)\n", filename,
           why);
    return 0;
}

// Fills the table from the file as it is now; *why says why an existing file cannot be read.
Found read_table(const char* filename, const char** why) {
    FILE* file = datafile_open(filename, FILE_LIMIT, why);
    if (file == nullptr) return errno == ENOENT ? Found::ABSENT : Found::UNREADABLE;
    char line[LINE_SIZE];
    for (int n = 0; n < NUM_ENTRIES && read_line(file, line, sizeof line); n++) {
        parse_entry(line, entry_at(n));
    }
    fclose(file);
    return Found::READ;
}

// The permission bits the saved file gets: those of the file there now, or what a new file
// gets under the umask. Found::UNREADABLE (*why set) for a file that cannot be read.
Found file_mode(const char* filename, mode_t* mode, const char** why) {
    struct stat info {};
    const int fd = datafile_open_fd(filename, &info, why);
    if (fd < 0) {
        const bool absent = errno == ENOENT;
        const mode_t mask = umask(0);
        umask(mask);
        *mode = 0666 & ~mask;
        return absent ? Found::ABSENT : Found::UNREADABLE;
    }
    close(fd);
    *mode = info.st_mode & 07777;
    return Found::READ;
}

// Serialises saves of one file among copies of the game: an flock on "<file>.lock" beside
// it. The score file itself cannot carry the lock, since each save replaces it and a copy
// opening the new file would not see a lock held on the old one. flock rather than fcntl:
// an fcntl lock would vanish when any descriptor of the file in this process closes. -1
// when no lock can be had (a read-only folder, a file system without locks): the save then
// goes on without it. O_NONBLOCK: a pipe planted at the name cannot hold the save up.
int take_lock(const char* filename) {
    char path[PATH_SIZE];
    if (snprintf(path, sizeof path, "%s.lock", filename) >= static_cast<int>(sizeof path))
        return -1;
    const int fd = open(path, O_RDONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    int locked = flock(fd, LOCK_EX);
    while (locked != 0 && errno == EINTR) locked = flock(fd, LOCK_EX);
    if (locked == 0) return fd;
    close(fd);
    return -1;
}

void release_lock(int lock) {
    if (lock >= 0) close(lock);
}

// Replaces the file with the table: never one that exists but cannot be read, and only by
// a complete, synced copy, so a crash or a full disk midway never loses the old one.
int replace_file(const char* filename) {
    mode_t mode = 0;
    const char* why = "";
    if (file_mode(filename, &mode, &why) == Found::UNREADABLE)
        return report_unreadable(filename, why);
    char temp[PATH_SIZE];
    if (!write_temp(filename, mode, temp, sizeof temp)) return report_failure(filename);
    if (rename(temp, filename) != 0) {
        discard_temp(temp, errno);
        return report_failure(filename);
    }
    sync_folder(filename);
    return 1;
}

// The rank a score takes: above every entry it equals or beats, the entries below moving
// down one and the last dropping out. A score below all five changes nothing.
void insert_entry(t_hiscore* table, int32_t score, const char* initials) {
    int rank = 0;
    while (rank < HISCORE_RANKS && score < table[rank].score) rank++;
    if (rank == HISCORE_RANKS) return;
    for (int i = HISCORE_RANKS - 1; i > rank; i--) table[i] = table[i - 1];
    table[rank].score = score;
    text_copy(table[rank].initials, initials);
}

}  // namespace

void hiscores_load(const char* filename) {
    const char* why = "";
    if (read_table(filename, &why) == Found::UNREADABLE)
        printf("ERROR: could not read the high scores from \"%s\": %s\n", filename, why);
}

int hiscores_save(const char* filename) {
    const int lock = take_lock(filename);
    const int saved = replace_file(filename);
    release_lock(lock);
    return saved;
}

int hiscores_save_entry(const char* filename, t_question_type qtype, t_skill_level skill,
                        int32_t score, const char* initials) {
    const int lock = take_lock(filename);
    const char* why = "";
    const Found found = read_table(filename, &why);
    insert_entry(hiscores[qtype][skill], score, initials);
    const int saved =
        found == Found::UNREADABLE ? report_unreadable(filename, why) : replace_file(filename);
    release_lock(lock);
    return saved;
}

// A heading and the five entries, one line each, spaced a sixth of the panel apart.
void hiscores_render(t_question_type qtype, t_skill_level skill, t_layout_item* layout) {
    if (layout == nullptr) return;
    const double spacing = layout->h / 6.0;
    const int first_line_gap = font_height(large_font) / 4;  // whole units, as the font's height
    double y = layout->y + static_cast<double>(first_line_gap);
    const int x = static_cast<int>(layout->x + layout->w / 2);
    render_panel(layout);
    char text[32];
    snprintf(text, sizeof text, "%s - %s", qtype_str[qtype], skill_level_str[skill]);
    font_write(large_font, text, x, static_cast<int>(y), FONT_CENTRED);
    for (const t_hiscore& entry : hiscores[qtype][skill]) {
        y += spacing;
        snprintf(text, sizeof text, "%-10d %.3s", entry.score, entry.initials);
        font_write(large_font, text, x, static_cast<int>(y), FONT_CENTRED);
    }
}
