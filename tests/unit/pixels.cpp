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
