// Set-up and read-back for tests that draw: SDL's dummy video driver with the off-screen
// GL ES context, started once per test process, and pixels and text ink read back from it.
#pragma once

#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "fonts.h"
#include "graphics.h"
#include "layout.h"

// Starts graphics and input once; later calls do nothing.
void headless_start();

// The RGBA colour of the pixel at game coordinates (x, y) of the last frame drawn.
std::array<GLubyte, 4> pixel_at(int x, int y);

// A fresh black 800 x 480 frame to draw into (other tests may have resized the window).
inline void start_frame() {
    headless_start();
    resize_window(GAME_WIDTH, GAME_HEIGHT, 0);
    clear_screen();
}

// The game's two fonts, loaded once from the working directory and kept for the process,
// as the game keeps them for its run.
inline void load_game_fonts() {
    if (!small_font) small_font = font_load("small_font.fnt");
    if (!large_font) large_font = font_load("large_font.fnt");
    ASSERT_NE(small_font, nullptr);
    ASSERT_NE(large_font, nullptr);
}

struct t_rgb {
    int r, g, b;
};

// Expects the pixel at game coordinates (x, y) to be `want`, give or take `tolerance`.
inline void expect_pixel(int x, int y, t_rgb want, int tolerance = 3) {
    const auto got = pixel_at(x, y);
    EXPECT_TRUE(std::abs(got[0] - want.r) <= tolerance && std::abs(got[1] - want.g) <= tolerance &&
                std::abs(got[2] - want.b) <= tolerance)
        << "pixel (" << x << ", " << y << ") is " << int(got[0]) << ", " << int(got[1]) << ", "
        << int(got[2]) << "; expected " << want.r << ", " << want.g << ", " << want.b;
}

constexpr t_rgb BLACK = {0, 0, 0};
constexpr t_rgb WHITE = {255, 255, 255};

// The whole last frame, read once, so that references drawn later do not disturb it.
struct t_frame {
    std::vector<GLubyte> rgba = std::vector<GLubyte>(GAME_WIDTH * GAME_HEIGHT * 4);
    t_frame();
    const GLubyte* at(int x, int y) const {
        return &rgba[((GAME_HEIGHT - 1 - y) * GAME_WIDTH + x) * 4];
    }
    int sum(int x, int y) const { return at(x, y)[0] + at(x, y)[1] + at(x, y)[2]; }
};

// Text ink (the near-black pixels) found in a rectangle, cropped to its bounding box.
struct t_ink {
    int left, top, right, bottom;  // inclusive; right < left when there is none
    std::vector<bool> mask;
    bool operator==(const t_ink& o) const {
        return right - left == o.right - o.left && bottom - top == o.bottom - o.top &&
               mask == o.mask;
    }
};
t_ink ink_in(const t_frame& frame, int x, int y, int w, int h);

// The ink of `text` written alone in the large font from (0, 0). Draws over the frame.
t_ink ink_of(const char* text);
// Expects the ink of the rectangle (x, y, w, h) of `frame` to be `text` in the large font,
// centred across on `cx` and within the font's line centred on `cy`. Draws over the frame.
void expect_text(const t_frame& frame, const char* text, float cx, float cy, int x, int y, int w,
                 int h);
// Expects nothing but black outside `item` grown by `margin` on every side.
void expect_blank_outside(const t_frame& frame, const t_layout_item& item, int margin);
