// The sprite table's slots, and BMP images loaded only when their header fits the file.
#include <gtest/gtest.h>

#include <filesystem>

#include "files.h"
#include "pixels.h"

// Slots go first-free, each texture a power of two just holding its image, up to 8192 on a side.
// A full table gives up its oldest mortal slot (the lowest among equals), deleting its texture.
TEST(Sprite, SlotsGoFirstFreeThenToTheOldestMortal) {
    headless_start();
    ScratchSpriteTable table;
    SDL_Surface* image = SDL_CreateRGBSurface(0, 70, 40, 24, 0, 0, 0, 0);
    auto rect = [](int w, int h) { return SDL_Rect{0, 0, Uint16(w), Uint16(h)}; };
    auto load = [&](int w, int h) { return ogl_load_sprite_from_surface(image, rect(w, h)); };
    EXPECT_EQ(load(65, 33), 0);
    EXPECT_EQ(get_sprite_width(0), 65);
    EXPECT_EQ(get_sprite_height(0), 33);
    EXPECT_EQ(sprites[0].w, 128) << "the power of two just holding 65";
    EXPECT_EQ(sprites[0].h, 64);
    EXPECT_EQ(load(64, 1), 1);
    EXPECT_EQ(sprites[1].w, 64) << "a power of two already";
    EXPECT_EQ(sprites[1].h, 1);
    while (SDL_GetTicks() <= 10) SDL_Delay(1);
    for (int i = 2; i < MAX_SPRITES; i++) ASSERT_EQ(load(1, 1), i);
    for (sprite_t& slot : sprites) slot.timestamp = 5;
    sprites[300].timestamp = sprites[700].timestamp = 3;
    sprites[100].timestamp = sprites[100].immortal = 1;
    const GLuint evicted = sprites[300].texture;
    EXPECT_EQ(load(12, 40), 300) << "the oldest mortal, the lower of two";
    EXPECT_EQ(get_sprite_width(300), 12);
    EXPECT_FALSE(glIsTexture(evicted));
    EXPECT_GE(sprites[300].timestamp, 10) << "filled now";
    EXPECT_EQ(load(1, 1), 700) << "the other oldest";
    for (sprite_t& slot : sprites) slot.timestamp = INT32_MAX;  // none older than now: slot 0
    EXPECT_EQ(load(1, 1), 0);
    const int side = 8192;  // the largest a texture has
    for (auto [w, h] : {std::pair{side + 1, 1}, {1, side + 1}}) {
        SDL_Surface* big = SDL_CreateRGBSurface(0, w, h, 24, 0, 0, 0, 0);
        EXPECT_GE(ogl_load_sprite_from_surface(big, rect(std::min(w, side), std::min(h, side))), 0);
        const std::string out =
            printed([&] { EXPECT_EQ(ogl_load_sprite_from_surface(big, rect(w, h)), -1); });
        EXPECT_TRUE(one_error(out, "texture"));
        SDL_FreeSurface(big);
    }
    EXPECT_LT(heap_kept(1000, [&] { load(1, 1); }), 64u << 10) << "an upload keeps memory";
    for (int outside : {-1, MAX_SPRITES}) {
        const std::string said = "Tried to free sprite: " + std::to_string(outside) + "\n";
        EXPECT_EQ(printed([&] { free_sprite(outside); }), said) << "no slot " << outside;
    }
    SDL_FreeSurface(image);
}

// A pixel is read back as SDL maps its colour, in every format.
TEST(Sprite, PixelsAreReadInEveryFormat) {
    headless_start();
    for (int bits : {8, 16, 24, 32}) {
        SDL_Surface* dot = SDL_CreateRGBSurface(0, 2, 2, bits, 0, 0, 0, 0);
        SDL_Rect at = {1, 1, 1, 1};
        SDL_FillRect(dot, &at, SDL_MapRGB(dot->format, 12, 200, 34));
        EXPECT_EQ(get_pixel(dot, 1, 1), SDL_MapRGB(dot->format, 12, 200, 34)) << bits << " bits";
        SDL_FreeSurface(dot);
    }
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
        EXPECT_EQ(image != nullptr, loads) << path;
        EXPECT_TRUE(loads ? testing::AssertionResult(out.empty()) : one_error(out, path)) << path;
        SDL_FreeSurface(image);
        images++;
    }
    EXPECT_EQ(images, 23);
    EXPECT_EQ(open_files(), files) << "an image left open";
}
