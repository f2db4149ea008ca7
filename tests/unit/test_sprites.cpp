#include <gtest/gtest.h>

#include <string>

#include "headless.h"
#include "main.h"
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

    // Fills every slot with a 1 x 1 sprite, all stamped `stamp`.
    void fill_table(int stamp) {
        for (int i = 0; i < MAX_SPRITES; i++) ASSERT_EQ(load(1, 1), i);
        for (sprite_t& slot : sprites) slot.timestamp = stamp;
    }

    ScratchSpriteTable table_;
    SDL_Surface* image_ = nullptr;
};

// Eviction only takes slots stamped before now; make sure the small stamps used are.
void wait_for_ticks(Uint32 ticks) {
    while (SDL_GetTicks() <= ticks) SDL_Delay(1);
}

}  // namespace

TEST_F(Sprite, TexturesArePowerOfTwoWithTheImageSizeKept) {
    const int id = load(12, 40);
    const sprite_t& slot = sprites[id];
    EXPECT_EQ(slot.w, 16);
    EXPECT_EQ(slot.h, 64);
    EXPECT_EQ(slot.tw, 12);
    EXPECT_EQ(slot.th, 40);
    EXPECT_EQ(get_sprite_width(id), 12);
    EXPECT_EQ(get_sprite_height(id), 40);
    EXPECT_EQ(slot.s, 0.0f);
    EXPECT_EQ(slot.t, 0.0f);
    EXPECT_EQ(slot.s2, 1.0f);
    EXPECT_EQ(slot.t2, 1.0f);
    EXPECT_STREQ(slot.filename, "surface");
    EXPECT_NE(slot.texture, 0u);
    EXPECT_LE(static_cast<Uint32>(slot.timestamp), SDL_GetTicks());

    EXPECT_EQ(sprites[load(64, 1)].w, 64);
    EXPECT_EQ(sprites[load(65, 17)].w, 128);
    EXPECT_EQ(sprites[load(1, 17)].h, 32);
    EXPECT_EQ(sprites[load(1, 16)].h, 16);
    EXPECT_EQ(sprites[load(1, 1)].w, 1);
}

TEST_F(Sprite, SlotsAreHandedOutFirstFreeFromZero) {
    EXPECT_EQ(load(1, 1), 0);
    EXPECT_EQ(load(1, 1), 1);
    free_sprite(0);  // clears the name only: the slot stays taken
    EXPECT_STREQ(sprites[0].filename, "");
    EXPECT_EQ(load(1, 1), 2);
}

TEST_F(Sprite, FullTableEvictsTheOldestMortalSlotAndDeletesItsTexture) {
    wait_for_ticks(10);
    fill_table(5);
    sprites[300].timestamp = 3;
    sprites[700].timestamp = 3;
    sprites[100].timestamp = 1;
    sprites[100].immortal = 1;  // older still, but exempt
    const GLuint old_texture = sprites[300].texture;

    EXPECT_EQ(load(12, 40), 300);  // the lowest index of the oldest mortal ones
    EXPECT_EQ(sprites[300].tw, 12);
    EXPECT_NE(sprites[300].texture, old_texture);
    EXPECT_FALSE(glIsTexture(old_texture));
    EXPECT_GE(sprites[300].timestamp, 10);
    EXPECT_EQ(load(1, 1), 700);
}

TEST_F(Sprite, AllImmortalTableOverwritesSlotZero) {
    wait_for_ticks(10);
    fill_table(5);
    for (sprite_t& slot : sprites) slot.immortal = 1;
    EXPECT_EQ(load(3, 3), 0);
    EXPECT_EQ(get_sprite_width(0), 3);
}

TEST_F(Sprite, EvictionIsReportedOnlyInDebugMode) {
    wait_for_ticks(10);
    fill_table(5);
    testing::internal::CaptureStdout();
    load(1, 1);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    debug = 1;
    sprites[9].timestamp = 2;
    testing::internal::CaptureStdout();
    load(1, 1);
    debug = 0;
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "MAX_SPRITES exceeded... Overwriting oldest cached sprite: surface; 9.\n");
}

TEST_F(Sprite, FreeingOutsideTheTableOnlyComplains) {
    load(1, 1);
    testing::internal::CaptureStdout();
    free_sprite(-1);
    free_sprite(MAX_SPRITES);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "Tried to free sprite: -1\nTried to free sprite: 1024\n");
    EXPECT_STREQ(sprites[0].filename, "surface");
}

TEST_F(Sprite, FailedLoadsLeaveTheSlotAsItWas) {
    const int id = load(5, 7);
    const sprite_t before = sprites[id];

    testing::internal::CaptureStdout();
    ogl_load_graphic("no_such_image.bmp", id);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: Unable to load image no_such_image.bmp\n");

    // Too wide for a texture: no slot is handed out and none changes.
    testing::internal::CaptureStdout();
    EXPECT_EQ(ogl_load_sprite_from_surface(image_, rect_of(9000, 1)), -1);
    ogl_load_graphic_from_surface(image_, rect_of(9000, 1), id);
    EXPECT_EQ(testing::internal::GetCapturedStdout(),
              "ERROR: Unable to allocate sprite texture.\n"
              "ERROR: Unable to allocate sprite texture.\n");
    EXPECT_EQ(sprites[id].texture, before.texture);
    EXPECT_EQ(sprites[id].tw, 5);
    EXPECT_EQ(sprites[id + 1].texture, 0u);
    EXPECT_STREQ(sprites[id + 1].filename, "");
}

TEST_F(Sprite, LoadingABmpFileFillsTheGivenSlot) {
    paint(image_, 0, 0, 10, 10, 0, 0, 0);
    const std::string path = testing::TempDir() + "sprite_test.bmp";
    ASSERT_EQ(SDL_SaveBMP(image_, path.c_str()), 0);
    ogl_load_graphic(path.c_str(), 5);
    EXPECT_NE(sprites[5].texture, 0u);
    EXPECT_EQ(sprites[5].tw, 70);
    EXPECT_EQ(sprites[5].w, 128);
    EXPECT_STREQ(sprites[5].filename, "");  // naming and stamping are the allocator's
    remove(path.c_str());
}

TEST_F(Sprite, FreeSpritesReleasesSurfacesAndTexturesButKeepsTheSlotsTaken) {
    const int id = load(2, 2);
    const GLuint texture = sprites[id].texture;
    sprites[id].image = magenta_surface(2, 2);
    free_sprites();
    EXPECT_EQ(sprites[id].image, nullptr);
    EXPECT_FALSE(glIsTexture(texture));
    EXPECT_EQ(sprites[id].texture, texture);
    EXPECT_EQ(load(1, 1), id + 1);
}

TEST(GetPixel, ReadsRawValuesAtEachDepth) {
    SDL_Surface* rgb = magenta_surface(4, 3, 24);
    paint(rgb, 2, 1, 1, 1, 0x12, 0x34, 0x56);
    const Uint8* bytes = static_cast<const Uint8*>(rgb->pixels);
    EXPECT_EQ(bytes[0] | bytes[1] << 8 | bytes[2] << 16, 0xFF00FF);
    EXPECT_EQ(get_pixel(rgb, 0, 0), 0xFF00FFu);
    EXPECT_EQ(get_pixel(rgb, 2, 1), SDL_MapRGB(rgb->format, 0x12, 0x34, 0x56));
    SDL_FreeSurface(rgb);

    for (int bits : {8, 16, 32}) {
        SDL_Surface* surface = magenta_surface(4, 3, bits);
        paint(surface, 3, 2, 1, 1, 0, 0, 0);
        EXPECT_EQ(get_pixel(surface, 1, 1), SDL_MapRGB(surface->format, 255, 0, 255)) << bits;
        EXPECT_EQ(get_pixel(surface, 3, 2), SDL_MapRGB(surface->format, 0, 0, 0)) << bits;
        SDL_FreeSurface(surface);
    }
}
