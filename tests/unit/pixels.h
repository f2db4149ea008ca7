// Tests that draw off-screen, once started, and read back pixels and text ink.
#pragma once

#include <GLES/gl.h>

#include <array>
#include <string>
#include <vector>

#include "fonts.h"
#include "graphics.h"
#include "layout.h"

void headless_start();   // graphics and input, once; later calls do nothing
void start_frame();      // a fresh black 800 x 480 frame, whatever size other tests left
void load_game_fonts();  // the game's two fonts, loaded once and kept for the process

using t_rgb = std::array<int, 3>;
constexpr t_rgb BLACK = {0, 0, 0}, WHITE = {255, 255, 255};
std::array<GLubyte, 4> pixel_at(int x, int y);  // RGBA at game coordinates of the last frame
void expect_pixel(int x, int y, t_rgb want, int tolerance = 3);

struct t_frame {  // the whole last frame, read at once: later drawing leaves it as it was
    std::vector<GLubyte> rgba = std::vector<GLubyte>(GAME_WIDTH * GAME_HEIGHT * 4);
    t_frame() { glReadPixels(0, 0, GAME_WIDTH, GAME_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, &rgba[0]); }
    const GLubyte* at(float x, float y) const {
        return &rgba[((GAME_HEIGHT - 1 - int(y)) * GAME_WIDTH + int(x)) * 4];
    }
    int sum(float x, float y) const { return at(x, y)[0] + at(x, y)[1] + at(x, y)[2]; }
};

// The near-black ink of a rectangle cropped to its box, as rows of '#' and '.'; the box's corner.
std::string ink_in(const t_frame& frame, int x, int y, int w, int h, int* left, int* top);
// The ink of `text` in the large font written at (0, 0). Draws over the frame.
std::string ink_of(const char* text, int* left, int* top);
// Expects the ink of (x, y, w, h) to be `text` in the large font centred on (cx, cy). Draws over.
void expect_text(const t_frame& f, const char* text, float cx, float cy, int x, int y, int w,
                 int h);
// The count of pixels unlike the one at (0, 0) outside `item` grown by `margin` on every side.
int drawn_outside(const t_frame& frame, const t_layout_item& item, int margin);
// Expects the frame on screen to look as the picture `name` kept in tests/looks, each colour
// within a few levels. When it does not, or no picture is kept, the frame is written to
// the build's looks/ folder: look at it, and copy it over the old one if it is right.
void expect_look(const char* name);
