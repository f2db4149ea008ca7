// The sprite table's slots, and BMP images loaded only when their header fits the file.
#include <gtest/gtest.h>

#include <filesystem>

#include "files.h"
#include "pixels.h"

// Slots go first-free, each texture a power of two just holding its image, up to 8192 on a side.
// A full table gives up its oldest mortal slot (the lowest among equals), deleting its texture.
// Pixels are read back in every format.
TEST(Sprite, SlotsGoFirstFreeThenToTheOldestMortal) {
    headless_start();
    ScratchSpriteTable table;
    SDL_Surface* image = SDL_CreateRGBSurface(0, 70, 40, 24, 0, 0, 0, 0);
    auto rect = [](int w, int h) { return SDL_Rect{0, 0, Uint16(w), Uint16(h)}; };
    auto load = [&](int w, int h) { return ogl_load_sprite_from_surface(image, rect(w, h)); };
    EXPECT_TRUE(load(65, 33) == 0 && get_sprite_width(0) == 65 && get_sprite_height(0) == 33 &&
                sprites[0].w == 128 && sprites[0].h == 64 && load(64, 1) == 1 &&
                sprites[1].w == 64 && sprites[1].h == 1);
    while (SDL_GetTicks() <= 10) SDL_Delay(1);
    for (int i = 2; i < MAX_SPRITES; i++) ASSERT_EQ(load(1, 1), i);
    for (sprite_t& slot : sprites) slot.timestamp = 5;
    sprites[300].timestamp = sprites[700].timestamp = 3;
    sprites[100].timestamp = sprites[100].immortal = 1;
    const GLuint evicted = sprites[300].texture;
    EXPECT_TRUE(load(12, 40) == 300 && get_sprite_width(300) == 12 && !glIsTexture(evicted) &&
                sprites[300].timestamp >= 10 && load(1, 1) == 700);
    for (sprite_t& slot : sprites) slot.timestamp = INT32_MAX;  // none older than now: slot 0
    EXPECT_EQ(load(1, 1), 0);
    for (auto [w, h] : {std::pair{8193, 1}, {1, 8193}}) {  // a texture is at most 8192 on a side
        SDL_Surface* big = SDL_CreateRGBSurface(0, w, h, 24, 0, 0, 0, 0);
        EXPECT_GE(ogl_load_sprite_from_surface(big, rect(std::min(w, 8192), std::min(h, 8192))), 0);
        const std::string out =
            printed([&] { EXPECT_EQ(ogl_load_sprite_from_surface(big, rect(w, h)), -1); });
        EXPECT_TRUE(one_error(out, "texture"));
        SDL_FreeSurface(big);
    }
    for (int bits : {8, 16, 24, 32}) {  // a pixel read back as SDL maps its colour
        SDL_Surface* dot = SDL_CreateRGBSurface(0, 2, 2, bits, 0, 0, 0, 0);
        SDL_Rect at = {1, 1, 1, 1};
        SDL_FillRect(dot, &at, SDL_MapRGB(dot->format, 12, 200, 34));
        EXPECT_EQ(get_pixel(dot, 1, 1), SDL_MapRGB(dot->format, 12, 200, 34)) << bits;
        SDL_FreeSurface(dot);
    }
    // Each upload frees what it made on the way.
    EXPECT_LT(heap_kept(1000, [&] { load(1, 1); }), 64u << 10);
    SDL_FreeSurface(image);
}

// A BMP's header is checked against the file before SDL allocates what it claims: sizes up
// to a texture's 8192 on a side and 32 bits a pixel, palettes of up to 256 colours, and rows,
// each padded to 4 bytes, that the file holds to its last byte; the old 12-byte header too.
// Each image kept in tests/images/headers says by its name whether it loads; a refused one
// is one "ERROR: " line naming it.
TEST(Sprite, ImagesLoadOnlyWhenTheirHeaderFitsTheFileAndATexture) {
    headless_start();
    const int files = open_files();
    int images = 0;
    for (const auto& entry : std::filesystem::directory_iterator(TESTS_DIR "/images/headers")) {
        const std::string path = entry.path().string();
        const bool loads = entry.path().filename().string().rfind("loads_", 0) == 0;
        SDL_Surface* image = nullptr;
        const std::string out = printed([&] { image = load_image(path.c_str()); });
        EXPECT_TRUE(loads ? image && out.empty() : !image && one_error(out, path)) << path << out;
        SDL_FreeSurface(image);
        images++;
    }
    EXPECT_EQ(images, 23);
    EXPECT_EQ(open_files(), files) << "an image left open";
}
