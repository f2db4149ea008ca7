// Bitmap fonts: glyphs cut from a BMP strip into immortal sprites, measured and drawn.
#include "fonts.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>

#include "datafile.h"
#include "graphics.h"
#include "sprites.h"

t_font* small_font = nullptr;
t_font* large_font = nullptr;

namespace {

constexpr int FIRST_CHAR = 33;         // glyph 0 is '!'
constexpr int HEIGHT_GLYPH = 54;       // 'W': every glyph is as high as the strip
constexpr int SPACE_WIDTH_GLYPH = 77;  // 'n': a space advances by its width
constexpr int MIN_GLYPHS = HEIGHT_GLYPH + 1;

// Four words; a valid description holds no more.
constexpr size_t DESCRIPTION_LIMIT = size_t{4} * DATAFILE_WORD_BYTES;

// The bounded reads below keep 31 characters of a word and skip the rest of it.
static_assert(FONT_NAME_SIZE == 32, "read_word's conversion holds 31 characters");

// The next blank-separated word into `word`; false at the end of the file.
bool read_word(FILE* file, char* word) { return fscanf(file, " %31s%*[^ \t\r\n\v\f]", word) == 1; }

// The next word as a decimal int; a word that is not one (letters, digits beyond an int)
// is consumed and leaves *value as it was. Unlike "%d", never reads half a word.
void read_int(FILE* file, int* value) {
    char word[FONT_NAME_SIZE];
    if (!read_word(file, word)) return;
    char* end = nullptr;
    errno = 0;
    const long number = strtol(word, &end, 10);
    if (end == word || *end != '\0' || errno == ERANGE || number < INT_MIN || number > INT_MAX)
        return;
    *value = static_cast<int>(number);
}

// Reads the font name, the space glyph, the glyph count (the strip is counted instead) and
// the strip's file name, one word each; fields that are missing keep their values. False,
// after an "ERROR: " line, when the file cannot be read.
bool read_description(t_font* font, const char* filename, char* strip) {
    FILE* file = nullptr;
    const int error = datafile_open(filename, DESCRIPTION_LIMIT, &file);
    if (error != 0) {
        printf("ERROR: Unable to open the font file: %s: %s\n", filename, datafile_reason(error));
        return false;
    }
    int unused_count = 0;
    read_word(file, font->name);
    read_int(file, &font->space_char);
    read_int(file, &unused_count);
    read_word(file, strip);
    fclose(file);
    return true;
}

bool column_has_ink(SDL_Surface* image, int x, Uint32 mask) {
    for (int y = 0; y < image->h; y++)
        if (get_pixel(image, x, y) != mask) return true;
    return false;
}

// Makes columns left..right-1 into glyph `index`, an immortal sprite; false when the
// texture cannot be made.
bool cut_glyph(t_font* font, SDL_Surface* image, int left, int right, int index) {
    SDL_Rect rect = {static_cast<Sint16>(left), 0, static_cast<Uint16>(right - left),
                     static_cast<Uint16>(image->h)};
    const int sprite = ogl_load_sprite_from_surface(image, rect);
    if (sprite < 0) return false;
    sprites[sprite].immortal = 1;
    font->chars[index] = sprite;
    return true;
}

// Cuts glyphs left to right: a glyph starts one column before its first inked column and
// ends before the next all-background column; ink that reaches the last column is not
// cut. Returns the number of glyphs found (only the first FONT_MAX_GLYPHS are kept), or
// -1 when a glyph could not be made.
int cut_glyphs(t_font* font, SDL_Surface* image) {
    const Uint32 mask = SDL_MapRGB(image->format, 255, 0, 255);
    bool onchar = false;
    int left = 0;
    int count = 0;
    for (int x = 0; x < image->w; x++) {
        if (!onchar && column_has_ink(image, x, mask)) {
            if (x > 0) left = x - 1;
            onchar = true;
        }
        if (!onchar || column_has_ink(image, x, mask)) continue;
        onchar = false;
        if (count < FONT_MAX_GLYPHS && !cut_glyph(font, image, left, x, count)) return -1;
        count++;
    }
    return count;
}

// A font that cannot be completed gives its glyph slots back to the cache for eviction.
t_font* discard(t_font* font) {
    for (int sprite : font->chars) {
        if (sprite < 0) continue;
        sprites[sprite].immortal = 0;
        free_sprite(sprite);
    }
    delete font;
    return nullptr;
}

// The glyph index that stands for character c; negative or beyond the glyphs for
// characters the font has no glyph for.
int glyph_of(const t_font* font, unsigned char c) {
    if (c == ' ') return font->space_char > 0 ? font->space_char : SPACE_WIDTH_GLYPH;
    return c - FIRST_CHAR;
}

bool has_glyph(const t_font* font, int g) {
    return g >= 0 && g < FONT_MAX_GLYPHS && font->chars[g] >= 0;
}

// The last glyph cut is held back: it is neither drawn nor measured.
bool is_drawable(const t_font* font, int g) { return g >= 0 && g < font->num_chars; }

}  // namespace

t_font* new_font() {
    t_font* font = new t_font{};
    for (int& sprite : font->chars) sprite = -1;
    font->space_char = -1;
    return font;
}

t_font* font_load(const char* filename) {
    t_font* font = new_font();
    snprintf(font->filename, sizeof font->filename, "%s", filename);
    char strip[FONT_NAME_SIZE] = "";
    if (!read_description(font, filename, strip)) return discard(font);
    SDL_Surface* image = load_image(strip);
    if (!image) return discard(font);
    const int cut = cut_glyphs(font, image);
    SDL_FreeSurface(image);
    if (cut < 0) return discard(font);
    if (cut < MIN_GLYPHS || cut > FONT_MAX_GLYPHS) {
        printf("ERROR: The glyph strip %s of %s holds %d glyphs; a font needs %d to %d\n", strip,
               filename, cut, MIN_GLYPHS, FONT_MAX_GLYPHS);
        return discard(font);
    }
    font->num_chars = cut - 1;
    font->height = font_height(font);
    return font;
}

void font_free(t_font* font) {
    if (!font) return;
    for (int i = 0; i < font->num_chars && i < FONT_MAX_GLYPHS; i++) free_sprite(font->chars[i]);
    delete font;
}

int font_strlen(t_font* font, const char* message) {
    if (!font || !message) return 0;
    int width = 0;
    for (const char* c = message; *c; c++) {
        const int g = glyph_of(font, static_cast<unsigned char>(*c));
        if (is_drawable(font, g)) width += get_sprite_width(font->chars[g]);
    }
    return width;
}

int font_height(t_font* font) {
    if (!font || font->chars[HEIGHT_GLYPH] < 0) return 0;
    return get_sprite_height(font->chars[HEIGHT_GLYPH]);
}

void font_write(t_font* font, const char* message, int x, int y, int effect) {
    if (!font || !message) return;
    int pen = (effect & FONT_CENTRED) ? x - font_strlen(font, message) / 2 : x;
    for (const char* c = message; *c; c++) {
        const int g = glyph_of(font, static_cast<unsigned char>(*c));
        if (!has_glyph(font, g)) continue;
        // A space with a negative space glyph is a gap as wide as 'n'.
        const bool shown = *c != ' ' || font->space_char >= 0;
        if (shown && is_drawable(font, g)) put_sprite(font->chars[g], pen, y);
        pen += get_sprite_width(font->chars[g]);
    }
}
