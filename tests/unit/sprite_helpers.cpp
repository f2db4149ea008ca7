// Helpers for tests of the sprite table: a scratch table and hand-painted surfaces.
#include "sprite_helpers.h"

#include <algorithm>

ScratchSpriteTable::ScratchSpriteTable() : saved_(sprites, sprites + MAX_SPRITES) {
    reset_sprites();
    for (sprite_t& slot : sprites) slot.immortal = 0;
}

ScratchSpriteTable::~ScratchSpriteTable() {
    for (sprite_t& slot : sprites)
        if (slot.texture) glDeleteTextures(1, &slot.texture);
    std::copy(saved_.begin(), saved_.end(), sprites);
}

SDL_Surface* magenta_surface(int w, int h, int bits_per_pixel) {
    SDL_Surface* surface = SDL_CreateRGBSurface(0, w, h, bits_per_pixel, 0, 0, 0, 0);
    paint(surface, 0, 0, w, h, 255, 0, 255);
    return surface;
}

void paint(SDL_Surface* surface, int x, int y, int w, int h, Uint8 r, Uint8 g, Uint8 b) {
    SDL_Rect rect = rect_of(w, h, x, y);
    SDL_FillRect(surface, &rect, SDL_MapRGB(surface->format, r, g, b));
}

SDL_Rect rect_of(int w, int h, int x, int y) {
    return {static_cast<Sint16>(x), static_cast<Sint16>(y), static_cast<Uint16>(w),
            static_cast<Uint16>(h)};
}
