// Headless start-up and pixel read-back for tests that draw.
#include "pixels.h"

#include <gtest/gtest.h>

#include <cstring>

#include "input.h"

void headless_start() {
    ASSERT_STREQ(getenv("SDL_VIDEODRIVER"), "dummy") << "tests draw off-screen only";
    static const bool started = init_graphics() == 1 && init_input() == 1;
    ASSERT_TRUE(started);
}

void start_frame() {
    headless_start();
    resize_window(GAME_WIDTH, GAME_HEIGHT, 0);
    clear_screen();
}

void load_game_fonts() {
    headless_start();
    if (!small_font) small_font = font_load("small_font.fnt");
    if (!large_font) large_font = font_load("large_font.fnt");
    ASSERT_TRUE(small_font && large_font);
}

std::array<GLubyte, 4> pixel_at(int x, int y) {
    std::array<GLubyte, 4> rgba{};  // GL rows count from the bottom, game rows from the top
    glReadPixels(x, real_screen_h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

void expect_pixel(int x, int y, t_rgb want, int tolerance) {
    const auto got = pixel_at(x, y);
    for (int c = 0; c < 3; c++) EXPECT_NEAR(got[c], want[c], tolerance) << x << ", " << y;
}

std::string ink_in(const t_frame& frame, int x, int y, int w, int h, int* left, int* top) {
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

std::string ink_of(const char* text, int* left, int* top) {
    put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 1, 1, 1, 1);
    font_write(large_font, text, 0, 0, 0);
    return ink_in(t_frame(), 0, 0, font_strlen(large_font, text), large_font->height, left, top);
}

void expect_text(const t_frame& f, const char* text, float cx, float cy, int x, int y, int w,
                 int h) {
    int left = 0, top = 0, want_left = 0, want_top = 0;
    ASSERT_EQ(ink_in(f, x, y, w, h, &left, &top), ink_of(text, &want_left, &want_top));
    EXPECT_NEAR(left - want_left, cx - font_strlen(large_font, text) / 2.0, 1.0) << text;
    EXPECT_NEAR(top - want_top, cy - large_font->height / 2.0, 1.0) << text;
}

int drawn_outside(const t_frame& frame, const t_layout_item& item, int margin) {
    int drawn = 0;
    for (int y = 0; y < GAME_HEIGHT; y++)
        for (int x = 0; x < GAME_WIDTH; x++)
            drawn += memcmp(frame.at(x, y), frame.at(0, 0), 3) &&
                     (x < item.x - margin || x >= item.x + item.w + margin || y < item.y - margin ||
                      y >= item.y + item.h + margin);
    return drawn;
}
