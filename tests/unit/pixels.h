// Tests that draw off-screen, once started: pixels and text ink read back, and frames
// compared with the pictures kept of them.
#pragma once

#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "fonts.h"
#include "graphics.h"
#include "input.h"
#include "layout.h"
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
    ASSERT_TRUE(small_font && large_font);
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

// RGBA at game coordinates of the last frame.
inline std::array<GLubyte, 4> pixel_at(int x, int y) {
    std::array<GLubyte, 4> rgba{};  // GL rows count from the bottom, game rows from the top
    glReadPixels(x, real_screen_h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

struct t_frame {  // the whole last frame, read at once: later drawing leaves it as it was
    std::vector<GLubyte> rgba = std::vector<GLubyte>(GAME_WIDTH * GAME_HEIGHT * 4);
    t_frame() { glReadPixels(0, 0, GAME_WIDTH, GAME_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, &rgba[0]); }
    const GLubyte* at(float x, float y) const {
        return &rgba[((GAME_HEIGHT - 1 - int(y)) * GAME_WIDTH + int(x)) * 4];
    }
    int sum(float x, float y) const { return at(x, y)[0] + at(x, y)[1] + at(x, y)[2]; }
};

// The near-black ink of (x, y, w, h) cropped to its box, as rows of '#' and '.', and the
// box's corner.
inline std::string ink_in(const t_frame& frame, int x, int y, int w, int h, int* left, int* top) {
    auto ink = [&](int i, int j) { return frame.sum(i, j) < 150; };  // clear of frame lines
    int right = x - 1, bottom = y - 1;
    *left = x + w, *top = y + h;
    for (int j = y; j < y + h; j++)
        for (int i = x; i < x + w; i++)
            if (ink(i, j)) {
                *left = std::min(*left, i), right = std::max(right, i);
                *top = std::min(*top, j), bottom = j;
            }
    std::string rows;
    for (int j = *top; j <= bottom; j++, rows += '\n')
        for (int i = *left; i <= right; i++) rows += ink(i, j) ? '#' : '.';
    return rows;
}

// Expects the ink of (x, y, w, h) to be `text` in the large font centred on (cx, cy), as the
// font draws it on a white frame at (0, 0). Draws over the frame.
inline void expect_text(const t_frame& f, const char* text, float cx, float cy, int x, int y, int w,
                        int h) {
    int left = 0, top = 0, at_left = 0, at_top = 0;
    const std::string ink = ink_in(f, x, y, w, h, &left, &top);
    put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 1, 1, 1, 1);
    font_write(large_font, text, 0, 0, 0);
    ASSERT_EQ(ink, ink_in(t_frame(), 0, 0, font_strlen(large_font, text), large_font->height,
                          &at_left, &at_top));
    EXPECT_NEAR(left - at_left, cx - font_strlen(large_font, text) / 2.0, 1.0) << text;
    EXPECT_NEAR(top - at_top, cy - large_font->height / 2.0, 1.0) << text;
}

// The count of pixels unlike the one at (0, 0) outside `item` grown by `margin` on every side.
inline int drawn_outside(const t_frame& frame, const t_layout_item& item, int margin) {
    int drawn = 0;
    for (int y = 0; y < GAME_HEIGHT; y++)
        for (int x = 0; x < GAME_WIDTH; x++)
            drawn += memcmp(frame.at(x, y), frame.at(0, 0), 3) &&
                     (x < item.x - margin || x >= item.x + item.w + margin || y < item.y - margin ||
                      y >= item.y + item.h + margin);
    return drawn;
}

// Expects the frame on screen to look as the picture `name` kept in tests/looks, each colour
// within 8 levels. When it does not, or no picture is kept, the frame is written to the
// build's looks/ folder: look at it, and copy it over the old one if it is right.
inline void expect_look(const char* name) {
    const t_frame now;
    SDL_Surface* frame = SDL_CreateRGBSurface(0, GAME_WIDTH, GAME_HEIGHT, 24, 0xFF, 0xFF00,
                                              0xFF0000, 0);  // as the pictures are kept
    SDL_Surface* kept = SDL_LoadBMP((std::string(TESTS_DIR "/looks/") + name + ".bmp").c_str());
    SDL_Surface* want = kept ? SDL_ConvertSurface(kept, frame->format, 0) : nullptr;
    int unlike = want ? 0 : GAME_WIDTH * GAME_HEIGHT;
    for (int y = 0; y < GAME_HEIGHT; y++)
        for (int x = 0; x < GAME_WIDTH; x++) {
            const int at = y * frame->pitch + x * 3;
            Uint8* p = static_cast<Uint8*>(frame->pixels) + at;
            std::copy(now.at(x, y), now.at(x, y) + 3, p);
            const Uint8* q = want ? static_cast<const Uint8*>(want->pixels) + at : p;
            unlike +=
                std::abs(p[0] - q[0]) > 8 || std::abs(p[1] - q[1]) > 8 || std::abs(p[2] - q[2]) > 8;
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
