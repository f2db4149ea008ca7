// Set-up and colour checks for tests that draw: SDL's dummy video driver with the off-screen
// GL ES context, started once per test process, and pixels read back from it.
#pragma once

#include <GLES/gl.h>
#include <gtest/gtest.h>

#include <array>

#include "fonts.h"
#include "graphics.h"

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

// The colour `top` with opacity `alpha` blended over `under`, as GL rounds it.
inline t_rgb blend(t_rgb top, float alpha, t_rgb under) {
    auto mix = [alpha](int t, int u) {
        return static_cast<int>(t * alpha + u * (1 - alpha) + 0.5f);
    };
    return {mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b)};
}

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
constexpr t_rgb BUTTON_YELLOW = {204, 204, 77};
constexpr t_rgb PANEL_BLUE = {204, 204, 255};
constexpr t_rgb FRAME_BLUE = {0, 0, 204};
