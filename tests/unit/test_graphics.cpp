// The GL ES context, the game's 800 x 480 space and the drawing primitives read back pixel by
// pixel, and the signature that decides whether a frame is drawn again.
#include <gtest/gtest.h>

#include <functional>

#include "frame.h"
#include "pixels.h"
#include "sprites.h"

// A 2 x 1 sprite: a red texel, then a transparent magenta one.
int red_then_clear() {
    Uint8 rgb[] = {255, 0, 0, 255, 0, 255};
    SDL_Surface* image = SDL_CreateRGBSurfaceFrom(rgb, 2, 1, 24, 6, 0xFF, 0xFF00, 0xFF0000, 0);
    const int id = ogl_load_sprite_from_surface(image, {0, 0, 2, 1});
    SDL_FreeSurface(image);
    return id;
}

// The game's space fills the window; each shape lands where asked, over what came before,
// and leaves the line width, texturing and colour the next one needs.
TEST(Graphics, StartUpGivesEs11AndShapesLandWhereAskedInOrder) {
    start_frame();
    EXPECT_EQ(std::string((const char*)glGetString(GL_VERSION)).rfind("OpenGL ES-CM 1.1", 0), 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);  // a finger needs no pointer
    resize_window(400, 240, 0);
    put_quad(0, 0, 800, 480, 1, 1, 1, 1);
    expect_pixel(399, 0, WHITE);
    expect_pixel(401, 0, BLACK);
    start_frame();
    const int id = red_then_clear();
    draw_line(200, 50, 300, 50, 0, 0, 1, 1, 5);
    put_quad(100, 50, 20, 10, 1, 1, 1, 1);
    put_triangle(100, 50, 120, 50, 100, 60, 0, 1, 0, 0.5f);
    put_sprite(id, 110, 58);
    draw_line(200, 200, 300, 200, 1, 1, 1, 1, 1);
    const struct {
        int x, y;
        t_rgb rgb;
    } pixels[] = {{250, 52, {0, 0, 255}}, {250, 55, BLACK}, {102, 51, {128, 255, 128}},
                  {118, 58, WHITE},       {121, 52, BLACK}, {105, 61, BLACK},
                  {110, 58, {255, 0, 0}}, {111, 58, WHITE}};
    for (const auto& p : pixels) expect_pixel(p.x, p.y, p.rgb);
    int lit = 0;
    for (int y = 195; y <= 205; y++) lit += pixel_at(250, y)[0] > 128;
    EXPECT_EQ(lit, 1);
    for (GLenum array : {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY})
        EXPECT_FALSE(glIsEnabled(array)) << array;  // a stray array would be read by the next draw
}

// Every argument of a shape, a line or a sprite, the clear and the window size decide
// whether a frame changed; signing draws nothing.
TEST(Graphics, EveryArgumentDecidesWhetherAFrameChanged) {
    start_frame();
    const int id = red_then_clear();
    const std::function<void(const float*)> draws[] = {
        [](const float* a) {
            put_triangle(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
        },
        [](const float* a) { draw_line(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]); },
        [&](const float* a) { put_sprite(id, int(a[0]), int(a[1])); }};
    const int counts[] = {10, 9, 2};
    for (int d = 0; d < 3; d++) {
        float args[10] = {1, 2, 30, 40, 5, 60, 0.5f, 0.5f, 0.5f, 0.5f};
        frame_changed([&] { draws[d](args); });
        EXPECT_FALSE(frame_changed([&] { draws[d](args); })) << d;
        for (int k = 0; k < counts[d]; k++)  // each time one argument more than the last frame
            EXPECT_TRUE(frame_changed([&] { draws[d]((args[k] += 1, args)); })) << d << k;
    }
    const auto sprite = [&] { put_sprite(id, 10, 10); };
    frame_changed(sprite);
    EXPECT_TRUE(frame_changed([&] { clear_screen(), sprite(); }));
    resize_window(GAME_WIDTH, GAME_HEIGHT + 1, 0);
    EXPECT_TRUE(frame_changed([&] { clear_screen(), sprite(); }));
    start_frame();
    frame_changed([] { put_quad(0, 0, 800, 480, 1, 1, 1, 1); });
    expect_pixel(10, 10, BLACK);
}
