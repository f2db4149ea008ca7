// Frames compared with the pictures kept of them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "pixels.h"

namespace {

// The frame as a 24-bit surface, top row first. The caller frees it.
SDL_Surface* frame_surface(const t_frame& frame) {
    SDL_Surface* image = SDL_CreateRGBSurface(0, GAME_WIDTH, GAME_HEIGHT, 24, 0xFF, 0xFF00,
                                              0xFF0000, 0);
    for (int y = 0; y < GAME_HEIGHT; y++)
        for (int x = 0; x < GAME_WIDTH; x++)
            memcpy(static_cast<Uint8*>(image->pixels) + y * image->pitch + x * 3, frame.at(x, y), 3);
    return image;
}

// Pixels of `a` and `b`, both 24-bit, that differ by more than rounding in any colour.
int pixels_unlike(const SDL_Surface* a, const SDL_Surface* b) {
    int unlike = 0;
    for (int y = 0; y < GAME_HEIGHT; y++)
        for (int x = 0; x < GAME_WIDTH * 3; x += 3) {
            const Uint8* p = static_cast<const Uint8*>(a->pixels) + y * a->pitch + x;
            const Uint8* q = static_cast<const Uint8*>(b->pixels) + y * b->pitch + x;
            unlike += std::abs(p[0] - q[0]) > 8 || std::abs(p[1] - q[1]) > 8 ||
                      std::abs(p[2] - q[2]) > 8;
        }
    return unlike;
}

}  // namespace

void expect_look(const char* name) {
    SDL_Surface* now = frame_surface(t_frame());
    SDL_Surface* kept = SDL_LoadBMP((std::string(LOOKS_DIR "/") + name + ".bmp").c_str());
    SDL_Surface* want = kept ? SDL_ConvertSurface(kept, now->format, 0) : nullptr;
    const int unlike = want ? pixels_unlike(now, want) : GAME_WIDTH * GAME_HEIGHT;
    if (unlike) {
        const std::string out = std::string(LOOKS_OUT "/") + name + ".bmp";
        SDL_SaveBMP(now, out.c_str());
        ADD_FAILURE() << name << ": " << unlike << " pixels unlike the kept picture; now "
                      << out;
    }
    SDL_FreeSurface(want);
    SDL_FreeSurface(kept);
    SDL_FreeSurface(now);
}
