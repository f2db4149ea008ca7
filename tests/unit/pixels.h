// Tests that draw off-screen, once started: pixels read back, and frames compared with the
// pictures kept of them.
#pragma once

#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <vector>

#include "fonts.h"
#include "graphics.h"
#include "input.h"
#include "sprites.h"

// Graphics and input, once; later calls do nothing.
inline void headless_start() {
    ASSERT_STREQ(getenv("SDL_VIDEODRIVER"), "dummy") << "tests draw off-screen only";
    static const bool started = init_graphics() == 1 && init_input() == 1;
    ASSERT_TRUE(started);
}

// A fresh black 800 x 480 frame, whatever size other tests left.
inline void start_frame() {
    headless_start();
    resize_window(GAME_WIDTH, GAME_HEIGHT, 0);
    clear_screen();
}

// The game's two fonts, loaded once and kept for the process.
inline void load_game_fonts() {
    headless_start();
    if (!small_font) small_font = font_load("small_font.fnt");
    if (!large_font) large_font = font_load("large_font.fnt");
    ASSERT_NE(small_font, nullptr);
    ASSERT_NE(large_font, nullptr);
}

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

// RGBA at (x, y) of the window, rows counted from the top: game coordinates at the game's size.
inline std::array<GLubyte, 4> pixel_at(int x, int y) {
    std::array<GLubyte, 4> rgba{};  // GL rows count from the bottom
    glReadPixels(x, real_screen_h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

// Expects the frame on screen to look as the picture `name` kept in tests/looks, each colour
// within 8 levels. When it does not, or no picture is kept, the frame is written to the
// build's looks/ folder: look at it, and copy it over the old one if it is right.
inline void expect_look(const char* name) {
    constexpr int LEVELS = 8, BYTES = GAME_WIDTH * GAME_HEIGHT * 4;
    SDL_Surface* frame =  // the bytes of GL's RGBA, as SDL reads them on this machine
        SDL_CreateRGBSurface(0, GAME_WIDTH, GAME_HEIGHT, 32, 0xFF, 0xFF00, 0xFF0000, 0);
    auto* now = static_cast<Uint8*>(frame->pixels);
    for (int y = 0; y < GAME_HEIGHT; y++)  // GL rows count from the bottom
        glReadPixels(0, GAME_HEIGHT - 1 - y, GAME_WIDTH, 1, GL_RGBA, GL_UNSIGNED_BYTE,
                     now + y * frame->pitch);
    SDL_Surface* kept = SDL_LoadBMP((std::string(TESTS_DIR "/looks/") + name + ".bmp").c_str());
    SDL_Surface* want = kept ? SDL_ConvertSurface(kept, frame->format, 0) : nullptr;
    int unlike = want ? 0 : GAME_WIDTH * GAME_HEIGHT;
    for (int i = 0; want && i < BYTES; i += 4) {
        const Uint8* was = static_cast<const Uint8*>(want->pixels) + i;
        unlike += std::abs(now[i] - was[0]) > LEVELS || std::abs(now[i + 1] - was[1]) > LEVELS ||
                  std::abs(now[i + 2] - was[2]) > LEVELS;
    }
    if (unlike) {
        const std::string out = std::string(LOOKS_OUT "/") + name + ".bmp";
        SDL_SaveBMP(frame, out.c_str());
        ADD_FAILURE() << name << ": " << unlike << " pixels unlike the kept picture; now " << out;
    }
    SDL_FreeSurface(want);
    SDL_FreeSurface(kept);
    SDL_FreeSurface(frame);
}
