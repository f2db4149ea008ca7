// A libFuzzer target for one file reader, chosen when built: FUZZ_READER 0 reads layouts, 1 the
// high scores, 2 font descriptions and 3 glyph strips. scripts/test_fuzz.sh runs it in a
// scratch folder holding s.bmp (a strip of 56 glyphs) and g.fnt (naming g.bmp); each input
// becomes the file the reader opens by bare name, and a broken contract aborts.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "fonts.h"
#include "graphics.h"
#include "hiscore.h"
#include "layout.h"
#include "sprites.h"

namespace {

void check(bool holds, const char* what) {
    if (holds) return;
    fprintf(stderr, "contract broken: %s\n", what);
    abort();
}

// Items fill the first places, with tags ended in their field, numbers within the allowed
// coordinates, each found again by its tag.
void read_layout() {
    t_screen_layout* layout = layout_load("f.layout");
    check(layout && memchr(layout->name, '\0', LAYOUT_TAG_SIZE), "a layout whose name ends");
    for (int i = 0; i < LAYOUT_MAX_ITEMS && layout->items[i]; i++) {
        const t_layout_item* item = layout->items[i];
        check(memchr(item->tag, '\0', LAYOUT_TAG_SIZE) && layout_get_item(layout, item->tag),
              "tag ends in its field and finds its item");
        for (float v : {item->x, item->y, item->w, item->h})
            check(std::fabs(v) <= LAYOUT_MAX_COORDINATE, "numbers within the coordinates");
    }
    for (int i = 1; i < LAYOUT_MAX_ITEMS; i++)
        check(!layout->items[i] || layout->items[i - 1], "items fill the first places");
    layout_free(layout);
}

// Entries after the file's last line keep their values, and initials end within their field.
void read_hiscores(const uint8_t* data, size_t size) {
    t_hiscore* entries = &hiscores[0][0][0];
    const int count = NUM_QTYPES * NUM_SKILL_LEVELS * HISCORE_RANKS;
    for (int n = 0; n < count; n++) entries[n] = {-n, {'#', '#', '#', '#'}};  // no line leaves this
    hiscores_load("hiscores.dat");
    int lines = size > 0 && data[size - 1] != '\n';
    for (size_t i = 0; i < size; i++) lines += data[i] == '\n';
    for (int n = 0; n < count; n++) {
        const bool kept = entries[n].score == -n && !memcmp(entries[n].initials, "####", 4);
        check(n < lines || kept, "entries after the last line are kept");
        check(kept || strlen(entries[n].initials) <= 3, "initials end within their field");
    }
}

// A whole font of 55 to 128 glyphs, each a kept sprite of the strip's height, or none.
void read_font(const char* description) {
    t_font* font = font_load(description);
    check(!font || (memchr(font->name, '\0', sizeof font->name) &&
                    memchr(font->filename, '\0', sizeof font->filename)),
          "names end in their fields");
    for (int g = 0; font && g <= font->num_chars; g++) {
        check(font->num_chars >= 54 && font->num_chars < FONT_MAX_GLYPHS, "55 to 128 glyphs");
        const sprite_t& glyph = sprites[font->chars[g]];
        check(glyph.immortal && glyph.texture && glyph.th == font->height, "glyphs are kept");
    }
    font_write(font, "Quorvel 10000 !~", 400, 200, FONT_CENTRED);
    font_free(font);
    glFinish();  // queued draws hold their textures
    free_sprites();
    reset_sprites();
    for (sprite_t& slot : sprites) slot.immortal = 0;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    check(FUZZ_READER < 2 || init_graphics() == 1, "headless graphics");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const char* const names[] = {"f.layout", "hiscores.dat", "f.fnt", "g.bmp"};
    const char* name = names[FUZZ_READER];
    FILE* file = fopen(name, "wb");
    check(file && (size == 0 || fwrite(data, 1, size, file) == size) && fclose(file) == 0, name);
    if (FUZZ_READER == 0) read_layout();
    if (FUZZ_READER == 1) read_hiscores(data, size);
    if (FUZZ_READER >= 2) read_font(FUZZ_READER == 2 ? "f.fnt" : "g.fnt");
    return 0;
}
