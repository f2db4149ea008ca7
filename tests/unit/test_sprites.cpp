// The sprite table's slots.
#include <gtest/gtest.h>

#include "pixels.h"
#include "sprite_helpers.h"

// Slots go first-free, each texture a power of two just holding its image. A full table gives up
// its oldest mortal slot (the lowest among equals), deleting its texture.
TEST(Sprite, SlotsGoFirstFreeThenToTheOldestMortal) {
    headless_start();
    ScratchSpriteTable table;
    SDL_Surface* image = magenta_surface(70, 40);
    auto load = [&](int w, int h) { return ogl_load_sprite_from_surface(image, rect_of(w, h)); };
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
    SDL_FreeSurface(image);
}
