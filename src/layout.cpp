// Screen layouts: reading the named rectangles of a layout file and looking them up by tag.
#include "layout.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "datafile.h"

namespace {

// A valid file is a name and 32 items of five words. Reading stops there, so a huge file
// costs no more than a valid one.
constexpr size_t FILE_LIMIT = (1 + LAYOUT_MAX_ITEMS * 5) * DATAFILE_WORD_BYTES;

// Reads the next blank-separated word into buf (size bytes). 0 at end of file; 1 for a
// whole word; 2 when the word was longer than size - 1 and its tail was dropped.
int read_word(FILE* file, char* buf, int size) {
    int c = fgetc(file);
    while (c != EOF && isspace(c)) c = fgetc(file);
    if (c == EOF) return 0;
    int len = 0;
    bool cut = false;
    for (; c != EOF && !isspace(c); c = fgetc(file)) {
        if (len < size - 1)
            buf[len++] = static_cast<char>(c);
        else
            cut = true;
    }
    buf[len] = '\0';
    return cut ? 2 : 1;
}

// Reads one number word. 0 for end of file, a cut word, a word strtof does not read whole
// (it reads hexadecimal, fractions and exponents), or a number beyond LAYOUT_MAX_COORDINATE
// of 0: drawing turns positions into ints, and a huge, infinite or NaN one would overflow them.
int read_number(FILE* file, float* value) {
    char word[LAYOUT_TAG_SIZE];
    if (read_word(file, word, sizeof word) != 1) return 0;
    char* end = nullptr;
    *value = strtof(word, &end);
    return end != word && *end == '\0' && std::fabs(*value) <= LAYOUT_MAX_COORDINATE;
}

// Reads one item: a tag (cut to 31 characters) and four numbers. Null when the file ends
// or a number is missing or malformed.
t_layout_item* read_item(FILE* file) {
    t_layout_item item{};
    if (!read_word(file, item.tag, sizeof item.tag)) return nullptr;
    if (!read_number(file, &item.x) || !read_number(file, &item.y) || !read_number(file, &item.w) ||
        !read_number(file, &item.h))
        return nullptr;
    return new t_layout_item(item);
}

}  // namespace

t_screen_layout* layout_new() { return new t_screen_layout{}; }

t_screen_layout* layout_load(const char* filename) {
    FILE* file = nullptr;
    const int error = datafile_open(filename, FILE_LIMIT, &file);
    if (error != 0) {
        if (error != ENOENT)
            printf("ERROR: Unable to read the layout file %s: %s\n", filename,
                   datafile_reason(error));
        return nullptr;
    }
    t_screen_layout* layout = layout_new();
    if (read_word(file, layout->name, sizeof layout->name)) {
        for (t_layout_item*& place : layout->items) {
            place = read_item(file);
            if (!place) break;
        }
    }
    fclose(file);
    return layout;
}

t_layout_item* layout_get_item(t_screen_layout* layout, const char* tag) {
    if (!layout || !tag) return nullptr;
    for (t_layout_item* item : layout->items)
        if (item && strcmp(item->tag, tag) == 0) return item;
    return nullptr;
}

void layout_save(t_screen_layout*, const char*) {}

void layout_free(t_screen_layout* layout) {
    if (!layout) return;
    for (t_layout_item*& item : layout->items) {
        delete item;
        item = nullptr;
    }
    delete layout;
}
