// Helpers for tests of the sprite table and of what is drawn from it: a scratch table
// and small SDL surfaces painted by hand.
#pragma once

#include <SDL/SDL.h>

#include <vector>

#include "sprites.h"

// Empties the sprite table for the life of the object, then deletes the textures made
// meanwhile and puts the previous table back, so that fonts loaded by other tests of the
// same process keep their glyphs.
class ScratchSpriteTable {
   public:
    ScratchSpriteTable();
    ~ScratchSpriteTable();
    ScratchSpriteTable(const ScratchSpriteTable&) = delete;
    ScratchSpriteTable& operator=(const ScratchSpriteTable&) = delete;

   private:
    std::vector<sprite_t> saved_;
};

// A w x h surface of the given depth filled with magenta; the caller frees it.
SDL_Surface* magenta_surface(int w, int h, int bits_per_pixel = 24);
// Paints a rectangle of the surface in one colour.
void paint(SDL_Surface* surface, int x, int y, int w, int h, Uint8 r, Uint8 g, Uint8 b);
// The rectangle of size w x h at (x, y).
SDL_Rect rect_of(int w, int h, int x = 0, int y = 0);
