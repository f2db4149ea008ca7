// Scratch files, headless graphics and contract checks shared by the fuzz targets.
#include "fuzz_support.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "fonts.h"
#include "graphics.h"
#include "sprites.h"

namespace {

std::filesystem::path scratch;

void remove_scratch() {
    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
}

// Deletes every texture and empties the sprite table, so that each input starts afresh.
void clear_sprites() {
    // Draws still queued hold their textures: finish them so that deleting frees memory.
    glFinish();
    free_sprites();
    reset_sprites();
    for (sprite_t& slot : sprites) slot.immortal = 0;
}

void check_font(const t_font* font) {
    if (!font) return;
    fuzz_check(memchr(font->name, '\0', sizeof font->name) != nullptr, "name ends in its field");
    fuzz_check(memchr(font->filename, '\0', sizeof font->filename) != nullptr,
               "filename ends in its field");
    fuzz_check(font->num_chars >= 54 && font->num_chars < FONT_MAX_GLYPHS, "55 to 128 glyphs");
    for (int g = 0; g <= font->num_chars; g++) {
        const int sprite = font->chars[g];
        fuzz_check(sprite >= 0 && sprite < MAX_SPRITES, "glyph has a sprite");
        fuzz_check(sprites[sprite].immortal && sprites[sprite].texture, "glyph is kept");
        fuzz_check(get_sprite_height(sprite) == font->height, "glyph as high as the strip");
    }
}

}  // namespace

void fuzz_enter_scratch_folder() {
    // In memory where the system offers it: a file written to disk per input is slow.
    char pattern[] = "/dev/shm/quorvel_fuzz_XXXXXX";
    char fallback[] = "/tmp/quorvel_fuzz_XXXXXX";
    char* folder = mkdtemp(pattern);
    if (!folder) folder = mkdtemp(fallback);
    fuzz_check(folder != nullptr, "mkdtemp");
    scratch = folder;
    fuzz_check(chdir(folder) == 0, "chdir");
    atexit(remove_scratch);
}

void fuzz_write_file(const char* name, const uint8_t* data, size_t size) {
    FILE* file = fopen(name, "wb");
    fuzz_check(file != nullptr, name);
    fuzz_check(size == 0 || fwrite(data, 1, size, file) == size, name);
    fuzz_check(fclose(file) == 0, name);
}

void fuzz_start_graphics() {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    fuzz_check(init_graphics() == 1, "init_graphics");
}

void fuzz_check(bool holds, const char* what) {
    if (holds) return;
    fprintf(stderr, "contract broken: %s\n", what);
    abort();
}

void fuzz_load_font(const char* description) {
    t_font* font = font_load(description);
    check_font(font);
    font_write(font, "Quorvel 10000 !~", 400, 200, FONT_CENTRED);
    font_free(font);
    clear_sprites();
}
