// The sprite table: every texture the game draws lives in one of 1024 slots, referred to by index.
#pragma once

#include <GLES/gl.h>
#include <SDL/SDL.h>

constexpr int MAX_SPRITES = 1024;

struct sprite_s {
    char filename[32];   // "surface" for slots filled from a surface
    SDL_Surface* image;  // owned; no loader stores one
    int timestamp;       // SDL_GetTicks when last filled
    int immortal;        // nonzero: never evicted
    GLuint texture;      // 0 = free slot
    int w, h;            // power-of-two texture size, drawn at this size
    int tw, th;          // the image's own size
    GLfloat s, t, s2, t2;
    int in_spriteset;
    int id_in_spriteset;
};
using sprite_t = sprite_s;

extern sprite_t sprites[MAX_SPRITES];

// Uploads `rect` of `surface` into a free slot (evicting the oldest mortal one when the
// table is full) and returns its index. The caller keeps the surface. -1 (after an
// "ERROR: " line) when the texture cannot be made; no slot is changed then.
int ogl_load_sprite_from_surface(SDL_Surface* surface, SDL_Rect rect);
// Uploads `src_rect` of `surface` into slot `sprite_index`, deleting the texture the slot
// held; on failure (after an "ERROR: " line) the slot is unchanged. The name and time
// stamp are the caller's.
void ogl_load_graphic_from_surface(SDL_Surface* surface, SDL_Rect src_rect, int sprite_index);
// Loads a whole BMP file into slot `sprite_index`; on failure the slot is unchanged.
void ogl_load_graphic(const char* filename, int sprite_index);
// Releases the slot's name; the slot stays occupied and is reused only by eviction.
void free_sprite(int index);
// Frees every slot's surface and texture.
void free_sprites();
// The raw pixel value at (x, y), comparable with SDL_MapRGB for the surface's format;
// the surface is read unlocked and the position is not checked.
Uint32 get_pixel(SDL_Surface* surface, int x, int y);
int get_sprite_width(int id);   // the image width
int get_sprite_height(int id);  // the image height

// Loads a BMP file; null (after an "ERROR: " line) when it is not a regular file, its
// header claims more pixels than the file holds or a texture can be (8192 on a side),
// it cannot be read, or its pixels are not whole bytes in rows as wide as the image.
// Nothing is allocated for a refused header. The caller frees the surface.
SDL_Surface* load_image(const char* filename);

// Empties every slot; start-up does this before anything is loaded.
void reset_sprites();
