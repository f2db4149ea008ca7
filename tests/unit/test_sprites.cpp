// The sprite table: first-free slots, power-of-two textures, eviction, failed loads, and
// reading pixels of surfaces.
#include <gtest/gtest.h>

#include <string>

#include "pixels.h"
#include "sprite_helpers.h"

// Slots go first-free, each texture the smallest power of two that holds its image, which
// keeps its own size; a freed slot is not handed out again. A full table gives up its oldest
// mortal slot (the lowest index among equals), deleting its texture; with none older than
// now, slot 0. Each failure says so in one line and changes no slot.
TEST(Sprite, SlotsGoFirstFreeThenToTheOldestMortal) {
    headless_start();
    ScratchSpriteTable table;
    SDL_Surface* image = magenta_surface(70, 40);
    auto load = [&](int w, int h) { return ogl_load_sprite_from_surface(image, rect_of(w, h)); };
    const int sizes[][4] = {{12, 40, 16, 64}, {65, 16, 128, 16}, {1, 1, 1, 1}, {64, 33, 64, 64}};
    for (int i = 0; i < 4; i++)
        EXPECT_TRUE(load(sizes[i][0], sizes[i][1]) == i && get_sprite_width(i) == sizes[i][0] &&
                    get_sprite_height(i) == sizes[i][1] && sprites[i].w == sizes[i][2] &&
                    sprites[i].h == sizes[i][3] && sprites[i].filename == std::string("surface"))
            << i;
    free_sprite(3);  // forgets the name only
    const GLuint kept = sprites[0].texture;
    testing::internal::CaptureStdout();
    free_sprite(-1);
    free_sprite(MAX_SPRITES);
    ogl_load_graphic("no_such_image.bmp", 0);
    EXPECT_EQ(load(9000, 1), -1);  // too wide
    ogl_load_graphic_from_surface(image, rect_of(1, 9000), 0);
    const std::string out = testing::internal::GetCapturedStdout();
    EXPECT_EQ(std::count(out.begin(), out.end(), '\n'), 5) << out;
    EXPECT_TRUE(sprites[3].filename[0] == 0 && sprites[0].texture == kept && sprites[0].tw == 12 &&
                sprites[0].th == 40 && sprites[4].texture == 0);
    while (SDL_GetTicks() <= 10) SDL_Delay(1);
    for (int i = 4; i < MAX_SPRITES; i++) ASSERT_EQ(load(1, 1), i);
    for (sprite_t& slot : sprites) slot.timestamp = 5;
    sprites[300].timestamp = sprites[700].timestamp = 3;
    sprites[100].timestamp = 1;
    sprites[100].immortal = 1;
    const GLuint old_texture = sprites[300].texture;
    EXPECT_EQ(load(12, 40), 300);
    EXPECT_TRUE(get_sprite_width(300) == 12 && !glIsTexture(old_texture) &&
                sprites[300].timestamp >= 10);
    EXPECT_EQ(load(1, 1), 700);
    for (sprite_t& slot : sprites) slot.immortal = 1;
    EXPECT_EQ(load(3, 3), 0);
    free_sprites();
    EXPECT_FALSE(glIsTexture(sprites[5].texture));
    SDL_FreeSurface(image);
}

// 0x12, 0x34, 0x56 tells the byte order of a 24-bit pixel, which magenta would not.
TEST(GetPixel, ReadsRawValuesAtEachDepth) {
    for (int bits : {8, 16, 24, 32}) {
        SDL_Surface* surface = magenta_surface(4, 3, bits);
        paint(surface, 3, 2, 1, 1, 0x12, 0x34, 0x56);
        EXPECT_EQ(get_pixel(surface, 1, 1), SDL_MapRGB(surface->format, 255, 0, 255)) << bits;
        EXPECT_EQ(get_pixel(surface, 3, 2), SDL_MapRGB(surface->format, 0x12, 0x34, 0x56)) << bits;
        SDL_FreeSurface(surface);
    }
}
