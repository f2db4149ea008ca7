// The twelve high-score tables and their text file: one "score initials" line per entry.
#include "hiscore.h"

#include <fcntl.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "button.h"
#include "fonts.h"

t_hiscore hiscores[NUM_QTYPES][NUM_SKILL_LEVELS][HISCORE_RANKS];

namespace {

constexpr int TABLE_SIZE = NUM_SKILL_LEVELS * HISCORE_RANKS;
constexpr int NUM_ENTRIES = NUM_QTYPES * TABLE_SIZE;
static_assert(NUM_ENTRIES == 60, "the file holds exactly 60 lines");

// Longer lines are cut; a valid line needs at most 11 + 1 + 3 characters.
constexpr size_t LINE_SIZE = 64;
constexpr size_t PATH_SIZE = 4096;

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

// The score and up to three initials of one line; 0 when the score is not a 32-bit number
// standing on its own ("12abc" is not a score), leaving `entry` untouched.
int parse_entry(const char* line, t_hiscore* entry) {
    char* end = nullptr;
    errno = 0;
    const long long score = strtoll(line, &end, 10);
    if (end == line || errno == ERANGE || score < INT32_MIN || score > INT32_MAX) return 0;
    if (*end != '\0' && !is_blank(*end)) return 0;
    while (is_blank(*end)) end++;
    size_t len = 0;
    while (len < sizeof entry->initials - 1 && end[len] != '\0' && !is_blank(end[len])) {
        entry->initials[len] = end[len];
        len++;
    }
    entry->initials[len] = '\0';
    entry->score = static_cast<int32_t>(score);
    return 1;
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

// Writes the table into the temporary file `path` (a stale one from a crash is overwritten);
// 1 on success. On failure a file opened here is removed, and errno tells why.
int write_temp(const char* path) {
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0) return 0;
    FILE* file = fdopen(fd, "w");
    if (file == nullptr) {
        const int error = errno;
        close(fd);
        return discard_temp(path, error);
    }
    const int written = write_entries(file);
    const int write_error = errno;
    const bool closed = fclose(file) == 0;
    if (written && closed) return 1;
    return discard_temp(path, written ? errno : write_error);
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

}  // namespace

void hiscores_load(const char* filename) {
    FILE* file = fopen(filename, "r");
    if (file == nullptr) return;
    char line[LINE_SIZE];
    for (int n = 0; n < NUM_ENTRIES && read_line(file, line, sizeof line); n++) {
        parse_entry(line, entry_at(n));
    }
    fclose(file);
}

// The old file is replaced only by a complete, synced copy, so a crash or a full disk
// midway never loses it.
int hiscores_save(const char* filename) {
    char temp[PATH_SIZE];
    if (snprintf(temp, sizeof temp, "%s.tmp", filename) >= static_cast<int>(sizeof temp)) {
        errno = ENAMETOOLONG;
        return report_failure(filename);
    }
    if (!write_temp(temp)) return report_failure(filename);
    if (rename(temp, filename) != 0) {
        discard_temp(temp, errno);
        return report_failure(filename);
    }
    sync_folder(filename);
    return 1;
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
