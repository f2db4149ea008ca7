// Headless start-up and pixel read-back for tests that draw.
#include "pixels.h"

#include <gtest/gtest.h>

#include "graphics.h"
#include "input.h"

void headless_start() {
    static bool started = false;
    if (started) return;
    ASSERT_STREQ(getenv("SDL_VIDEODRIVER"), "dummy") << "tests draw off-screen only";
    ASSERT_EQ(init_graphics(), 1);
    ASSERT_EQ(init_input(), 1);
    started = true;
}

std::array<GLubyte, 4> pixel_at(int x, int y) {
    std::array<GLubyte, 4> rgba{};
    // GL rows count from the bottom; game rows from the top.
    glReadPixels(x, real_screen_h - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return rgba;
}

t_frame::t_frame() {
    glReadPixels(0, 0, GAME_WIDTH, GAME_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
}

t_ink ink_in(const t_frame& frame, int x, int y, int w, int h) {
    auto dark = [&](int i, int j) { return frame.sum(i, j) < 150; };  // clear of any frame line
    t_ink ink{x + w, y + h, x - 1, y - 1, {}};
    for (int j = y; j < y + h; j++) {
        for (int i = x; i < x + w; i++) {
            if (!dark(i, j)) continue;
            ink.left = std::min(ink.left, i), ink.right = std::max(ink.right, i);
            ink.top = std::min(ink.top, j), ink.bottom = std::max(ink.bottom, j);
        }
    }
    for (int j = ink.top; j <= ink.bottom; j++)
        for (int i = ink.left; i <= ink.right; i++) ink.mask.push_back(dark(i, j));
    return ink;
}

t_ink ink_of(const char* text) {
    put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 1, 1, 1, 1);
    font_write(large_font, text, 0, 0, 0);
    return ink_in(t_frame(), 0, 0, font_strlen(large_font, text), large_font->height);
}

void expect_text(const t_frame& frame, const char* text, float cx, float cy, int x, int y, int w,
                 int h) {
    const t_ink shown = ink_in(frame, x, y, w, h), want = ink_of(text);
    ASSERT_TRUE(shown == want) << "the ink is not " << text;
    // Where the pen started: the text's width centred on cx, the font's height on cy.
    EXPECT_NEAR(shown.left - want.left, cx - font_strlen(large_font, text) / 2.0, 1.0) << text;
    EXPECT_NEAR(shown.top - want.top, cy - large_font->height / 2.0, 1.0) << text;
}

void expect_blank_outside(const t_frame& frame, const t_layout_item& item, int margin) {
    int drawn = 0;
    for (int y = 0; y < GAME_HEIGHT; y++)
        for (int x = 0; x < GAME_WIDTH; x++)
            drawn += frame.sum(x, y) > 0 && (x < item.x - margin || x >= item.x + item.w + margin ||
                                             y < item.y - margin || y >= item.y + item.h + margin);
    EXPECT_EQ(drawn, 0) << "pixels drawn outside " << item.tag;
}
