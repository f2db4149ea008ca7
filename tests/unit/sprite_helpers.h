// Tests of the sprite table and of what is drawn from it: a scratch table and small surfaces.
#pragma once

#include <SDL/SDL.h>

#include <algorithm>
#include <vector>

#include "sprites.h"

// An empty sprite table for its life; then the old one back, so other tests' fonts keep glyphs.
struct ScratchSpriteTable {
    const std::vector<sprite_t> saved = std::vector<sprite_t>(sprites, sprites + MAX_SPRITES);
    ScratchSpriteTable() {
        reset_sprites();
        for (sprite_t& slot : sprites) slot.immortal = 0;
    }
    ~ScratchSpriteTable() {
        for (sprite_t& slot : sprites)
            if (slot.texture) glDeleteTextures(1, &slot.texture);
        std::copy(saved.begin(), saved.end(), sprites);
    }
};

inline SDL_Rect rect_of(int w, int h, int x = 0, int y = 0) {  // w x h at (x, y)
    return {Sint16(x), Sint16(y), Uint16(w), Uint16(h)};
}

inline void paint(SDL_Surface* surface, int x, int y, int w, int h, Uint8 r, Uint8 g, Uint8 b) {
    SDL_Rect rect = rect_of(w, h, x, y);
    SDL_FillRect(surface, &rect, SDL_MapRGB(surface->format, r, g, b));
}

inline SDL_Surface* magenta_surface(int w, int h, int bits_per_pixel = 24) {  // caller frees
    SDL_Surface* surface = SDL_CreateRGBSurface(0, w, h, bits_per_pixel, 0, 0, 0, 0);
    paint(surface, 0, 0, w, h, 255, 0, 255);
    return surface;
}
