// The window: the GL ES context and the game's 800 x 480 space, the signature that decides
// whether a frame is drawn again, and presses turned into controls. (What shapes and screens
// look like is judged by the kept pictures.)
#include <gtest/gtest.h>

#include <functional>
#include <utility>

#include "button.h"
#include "frame.h"
#include "pixels.h"
#include "screen_helpers.h"
#include "sprites.h"

// The game's space fills the window whatever its size; a finger needs no pointer; a shape or
// a sprite leaves no client array on for the next draw to read, and a shape leaves the
// colour white for the sprite after it. A window larger than the game blurs no texel.
TEST(Graphics, StartUpGivesEs11AndTheGameSpaceFillsTheWindow) {
    start_frame();
    EXPECT_EQ(std::string((const char*)glGetString(GL_VERSION)).rfind("OpenGL ES-CM 1.1", 0), 0u);
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_TRUE(resize_window(1, 1, 0) && real_screen_w == 1 && real_screen_h == 1);
    resize_window(400, 240, 0);
    put_quad(0, 0, 800, 480, 1, 1, 1, 1);
    EXPECT_TRUE(pixel_at(399, 0)[0] == 255 && pixel_at(401, 0)[0] == 0);
    start_frame();
    SDL_Surface* white = SDL_CreateRGBSurface(0, 2, 1, 24, 0, 0, 0, 0);  // and a black pixel
    SDL_Rect left = {0, 0, 1, 1};
    SDL_FillRect(white, &left, SDL_MapRGB(white->format, 255, 255, 255));
    const int id = ogl_load_sprite_from_surface(white, {0, 0, 2, 1});
    SDL_FreeSurface(white);
    const auto arrays_off = [] {
        return !glIsEnabled(GL_VERTEX_ARRAY) && !glIsEnabled(GL_COLOR_ARRAY) &&
               !glIsEnabled(GL_TEXTURE_COORD_ARRAY);
    };
    glColor4f(0, 1, 0, 1);  // whatever colour was current before the shape
    put_triangle(0, 0, 50, 0, 0, 50, 0, 1, 0, 0.5f);
    EXPECT_TRUE(arrays_off());
    put_sprite(id, 5, 5);  // white, not in the shape's colour
    EXPECT_TRUE(arrays_off());
    EXPECT_EQ(pixel_at(5, 5)[0] + pixel_at(5, 5)[1] + pixel_at(5, 5)[2], 3 * 255);
    resize_window(2 * GAME_WIDTH, 2 * GAME_HEIGHT, 0);
    put_sprite(id, 5, 400);  // on window pixels 10 to 13 of row 159 from the bottom
    GLubyte row[4 * 4];
    glReadPixels(10, 159, 4, 1, GL_RGBA, GL_UNSIGNED_BYTE, row);
    EXPECT_TRUE(row[4] == 255 && row[8] == 0) << int(row[4]) << " " << int(row[8]);
}

// Every argument of a shape, a line or a sprite, the clear and the window size decide
// whether a frame changed; signing draws nothing.
TEST(Graphics, EveryArgumentDecidesWhetherAFrameChanged) {
    start_frame();
    SDL_Surface* image = SDL_CreateRGBSurface(0, 2, 1, 24, 0, 0, 0, 0);
    const int id = ogl_load_sprite_from_surface(image, {0, 0, 2, 1}),
              other = ogl_load_sprite_from_surface(image, {0, 0, 2, 1});
    SDL_FreeSurface(image);
    const std::function<void(const float*)> draws[] = {
        [](const float* a) {
            put_triangle(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]);
        },
        [](const float* a) { draw_line(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]); },
        [&](const float* a) { put_sprite(id, int(a[0]), int(a[1])); }};
    const int counts[] = {10, 9, 2};
    for (int d = 0; d < 3; d++) {
        float args[10] = {1, 2, 30, 40, 5, 60, 0.5f, 0.5f, 0.5f, 0.5f};
        frame_record_changed([&] { draws[d](args); });
        EXPECT_FALSE(frame_record_changed([&] { draws[d](args); })) << d;
        for (int k = 0; k < counts[d]; k++)  // each time one argument more than the last frame
            EXPECT_TRUE(frame_record_changed([&] { draws[d]((args[k] += 1, args)); })) << d << k;
    }
    const auto sprite = [&] { put_sprite(id, 10, 10); };
    frame_record_changed(sprite);
    EXPECT_TRUE(frame_record_changed([&] { put_sprite(other, 10, 10); }));  // another texture
    frame_record_changed(sprite);
    EXPECT_TRUE(frame_record_changed([&] { clear_screen(), sprite(); }));
    resize_window(GAME_WIDTH, GAME_HEIGHT + 1, 0);
    EXPECT_TRUE(frame_record_changed([&] { clear_screen(), sprite(); }));
    start_frame();
    frame_record_changed([] { put_quad(0, 0, 800, 480, 1, 1, 1, 1); });
    EXPECT_EQ(pixel_at(10, 10)[0], 0);
}

// A key holds its control until released; releases, right clicks and resizes are passed
// over to the press behind them; left presses select, one per call, each leaving its
// position in `event`. A window resized to nothing either way keeps its size.
TEST(Input, PressesSetControlsOnePerPollAndWindowPixelsMapToTheGame) {
    headless_start();
    reset_input();
    int delay = -1, interval = -1;
    SDL_GetKeyRepeat(&delay, &interval);
    EXPECT_EQ(delay + interval, 0) << "a held key is one press";
    push_key(SDLK_RETURN);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 1);
    SDL_Event resize{};
    resize.resize = {SDL_VIDEORESIZE, 1024, 768};
    push_key(SDLK_RETURN, SDL_KEYUP);
    push_tap(10, 10, SDL_BUTTON_RIGHT);
    ASSERT_EQ(SDL_PushEvent(&resize), 0);
    resize.resize.w = 0;
    ASSERT_EQ(SDL_PushEvent(&resize), 0);
    push_key(SDLK_ESCAPE);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_TRUE(!p1_controls_state[P_SELECT] && p1_controls_state[P_EXIT]);
    EXPECT_EQ(std::pair(real_screen_w, real_screen_h), std::pair(1024, 768));
    t_button button{};  // a tap on a button's edge is not on it
    t_layout_item item = {"b", 10, 20, 30, 40};
    EXPECT_TRUE(
        button_is_clicked(&button, &item, 11, 21) && !button_is_clicked(&button, &item, 10, 30) &&
        !button_is_clicked(&button, &item, 40, 30) && !button_is_clicked(&button, &item, 20, 20) &&
        !button_is_clicked(&button, &item, 20, 60));
    push_tap(1023, 384);
    push_tap(3, 4);
    SDL_Event release{};  // as SDL sends after each tap
    release.button = {SDL_MOUSEBUTTONUP, 0, SDL_BUTTON_LEFT, SDL_RELEASED, 3, 4};
    ASSERT_EQ(SDL_PushEvent(&release), 0);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 1);
    const t_intcoords at = projectWindowCoords(event.button.x, event.button.y);
    EXPECT_EQ(std::pair(at.x, at.y), std::pair(799, 240));
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(event.button.x, 3);
    EXPECT_EQ(poll_input(), 0);  // the release is no press, and lets go of the control
    EXPECT_EQ(p1_controls_state[P_SELECT], 0);
    EXPECT_EQ(resize_window(0, 9, 0) + resize_window(9, 0, 0), 2);
    EXPECT_EQ(std::pair(real_screen_w, real_screen_h), std::pair(1024, 768));
}
