// The sprite table: first-free slots, power-of-two textures, eviction, bad indices and loads,
// and reading pixels of surfaces.
#include <gtest/gtest.h>

#include "main.h"
#include "pixels.h"
#include "sprite_helpers.h"
#include "sprites.h"

namespace {

class Sprite : public ::testing::Test {
   protected:
    void SetUp() override {
        headless_start();
        image_ = magenta_surface(70, 40);
    }
    void TearDown() override { SDL_FreeSurface(image_); }

    int load(int w, int h) { return ogl_load_sprite_from_surface(image_, rect_of(w, h)); }

    // Fills every slot, all stamped 5 (before now: eviction takes only older slots).
    void fill_table() {
        while (SDL_GetTicks() <= 10) SDL_Delay(1);
        for (int i = 0; i < MAX_SPRITES; i++) ASSERT_EQ(load(1, 1), i);
        for (sprite_t& slot : sprites) slot.timestamp = 5;
    }

    ScratchSpriteTable table_;
    SDL_Surface* image_ = nullptr;
};

}  // namespace

TEST_F(Sprite, SlotsGoFirstFreeWithPowerOfTwoTextures) {
    EXPECT_EQ(load(12, 40), 0);
    const sprite_t& slot = sprites[0];
    EXPECT_EQ(slot.w, 16);
    EXPECT_EQ(slot.h, 64);
    EXPECT_EQ(get_sprite_width(0), 12);
    EXPECT_EQ(get_sprite_height(0), 40);

    EXPECT_EQ(load(65, 16), 1);
    EXPECT_EQ(sprites[1].w, 128);
    EXPECT_EQ(sprites[1].h, 16);
    free_sprite(1);  // clears the name only: the slot stays taken
    EXPECT_STREQ(sprites[1].filename, "");
    EXPECT_EQ(load(1, 1), 2);
    EXPECT_EQ(sprites[2].w, 1);
}

TEST_F(Sprite, FullTableEvictsTheOldestMortalSlotAndDeletesItsTexture) {
    fill_table();
    sprites[300].timestamp = sprites[700].timestamp = 3;
    sprites[100].timestamp = 1;
    sprites[100].immortal = 1;  // older still, but exempt
    const GLuint old_texture = sprites[300].texture;

    testing::internal::CaptureStdout();
    EXPECT_EQ(load(12, 40), 300);  // the lowest index of the oldest mortal ones
    EXPECT_EQ(sprites[300].tw, 12);
    EXPECT_FALSE(glIsTexture(old_texture));
    EXPECT_GE(sprites[300].timestamp, 10);
    debug = 1;  // only then is an eviction reported
    EXPECT_EQ(load(1, 1), 700);
    debug = 0;
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "MAX_SPRITES exceeded... Overwriting oldest cached sprite: surface; 700.\n");

    for (sprite_t& slot : sprites) slot.immortal = 1;
    EXPECT_EQ(load(3, 3), 0);  // nothing evictable: slot 0 all the same
    EXPECT_EQ(get_sprite_width(0), 3);
}

TEST_F(Sprite, BadIndicesAndFailedLoadsChangeNothing) {
    const int id = load(5, 7);
    const GLuint texture = sprites[id].texture;
    testing::internal::CaptureStdout();
    free_sprite(-1);
    free_sprite(MAX_SPRITES);
    ogl_load_graphic("no_such_image.bmp", id);
    // Too wide for a texture: no slot is handed out and none changes.
    EXPECT_EQ(ogl_load_sprite_from_surface(image_, rect_of(9000, 1)), -1);
    ogl_load_graphic_from_surface(image_, rect_of(9000, 1), id);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Tried to free sprite: -1\n"
              "Tried to free sprite: 1024\n"
              "ERROR: Unable to load image no_such_image.bmp\n"
              "ERROR: Unable to allocate sprite texture.\n"
              "ERROR: Unable to allocate sprite texture.\n");
    EXPECT_STREQ(sprites[id].filename, "surface");
    EXPECT_EQ(sprites[id].texture, texture);
    EXPECT_EQ(sprites[id].tw, 5);
    EXPECT_EQ(sprites[id + 1].texture, 0u);
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
