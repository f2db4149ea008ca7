// The window: the GL ES context and the game's 800 x 480 space, the signature that decides
// whether a frame is drawn again, and presses turned into controls. (What shapes and screens
// look like is judged by the kept pictures.)
#include <gtest/gtest.h>

#include <array>
#include <functional>
#include <string>
#include <utility>

#include "button.h"
#include "frame.h"
#include "pixels.h"
#include "screen_helpers.h"
#include "sprites.h"

namespace {

// A sprite of two texels, a white one and a black one to its right.
int white_then_black_sprite() {
    SDL_Surface* image = SDL_CreateRGBSurface(0, 2, 1, 24, 0, 0, 0, 0);
    SDL_Rect left = {0, 0, 1, 1};
    SDL_FillRect(image, &left, SDL_MapRGB(image->format, 255, 255, 255));
    const int id = ogl_load_sprite_from_surface(image, {0, 0, 2, 1});
    SDL_FreeSurface(image);
    return id;
}

}  // namespace

// The game's space fills the window whatever its size; a finger needs no pointer. A window
// larger than the game blurs no texel.
TEST(Graphics, StartUpGivesEs11AndTheGameSpaceFillsTheWindow) {
    constexpr int HALF_WIDTH = GAME_WIDTH / 2, X = 5, Y = 400;
    start_frame();
    EXPECT_EQ(std::pair(screen->w, screen->h), std::pair(GAME_WIDTH, GAME_HEIGHT))
        << "the off-screen video mode is the game's size";
    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    EXPECT_EQ(version.rfind("OpenGL ES-CM 1.1", 0), 0u) << version;
    EXPECT_EQ(SDL_ShowCursor(SDL_QUERY), SDL_DISABLE);
    EXPECT_EQ(resize_window(1, 1, 0), 1);
    EXPECT_EQ(std::pair(real_screen_w, real_screen_h), std::pair(1, 1));
    resize_window(HALF_WIDTH, GAME_HEIGHT / 2, 0);
    put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 1, 1, 1, 1);
    EXPECT_EQ(pixel_at(HALF_WIDTH - 1, 0)[0], 255) << "the window's last column";
    EXPECT_EQ(pixel_at(HALF_WIDTH + 1, 0)[0], 0) << "beyond the window";
    start_frame();
    const int sprite = white_then_black_sprite();
    resize_window(2 * GAME_WIDTH, 2 * GAME_HEIGHT, 0);
    put_sprite(sprite, X, Y);  // each texel two window pixels wide
    EXPECT_EQ(pixel_at(2 * X + 1, 2 * Y)[0], 255) << "the white texel's last pixel";
    EXPECT_EQ(pixel_at(2 * X + 2, 2 * Y)[0], 0) << "the black texel's first pixel";
}

// A shape or a sprite leaves no client array on for the next draw to read, and a shape leaves
// the colour white for the sprite after it.
TEST(Graphics, AShapeLeavesNoArrayOnAndNoColourForTheSpriteAfterIt) {
    const GLenum arrays[] = {GL_VERTEX_ARRAY, GL_COLOR_ARRAY, GL_TEXTURE_COORD_ARRAY};
    start_frame();
    const int sprite = white_then_black_sprite();
    glColor4f(0, 1, 0, 1);  // whatever colour was current before the shape
    put_triangle(0, 0, 50, 0, 0, 50, 0, 1, 0, 0.5f);
    for (GLenum array : arrays) EXPECT_FALSE(glIsEnabled(array)) << "after a shape: " << array;
    put_sprite(sprite, 5, 5);
    for (GLenum array : arrays) EXPECT_FALSE(glIsEnabled(array)) << "after a sprite: " << array;
    for (int colour : {0, 1, 2}) EXPECT_EQ(pixel_at(5, 5)[colour], 255) << "a white sprite";
}

// Every argument of a shape, a line or a sprite, the clear and the window size decide
// whether a frame changed; signing draws nothing.
TEST(Graphics, EveryArgumentDecidesWhetherAFrameChanged) {
    start_frame();
    const int sprite = white_then_black_sprite(), other = white_then_black_sprite();
    const std::array<float, 10> FIRST = {1, 2, 30, 40, 5, 60, 0.5f, 0.5f, 0.5f, 0.5f};
    std::array<float, 10> a{};  // the arguments of the call drawn
    const std::pair<std::function<void()>, int> draws[] = {
        // each call, and its argument count
        {[&] { put_triangle(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]); }, 10},
        {[&] { draw_line(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]); }, 9},
        {[&] { put_sprite(sprite, int(a[0]), int(a[1])); }, 2}};
    for (const auto& [draw, arguments] : draws) {
        a = FIRST;
        frame_record_changed(draw);
        EXPECT_FALSE(frame_record_changed(draw))
            << "the same call of " << arguments << " arguments";
        for (int k = 0; k < arguments; k++) {  // each time one argument more than the last frame
            a[k] += 1;
            EXPECT_TRUE(frame_record_changed(draw)) << "argument " << k << " of " << arguments;
        }
    }
    const auto drawn = [&] { put_sprite(sprite, 10, 10); };
    frame_record_changed(drawn);
    EXPECT_TRUE(frame_record_changed([&] { put_sprite(other, 10, 10); })) << "another texture";
    frame_record_changed(drawn);
    EXPECT_TRUE(frame_record_changed([&] { clear_screen(), drawn(); })) << "a clear";
    resize_window(GAME_WIDTH, GAME_HEIGHT + 1, 0);
    EXPECT_TRUE(frame_record_changed([&] { clear_screen(), drawn(); })) << "a window size";
    start_frame();
    frame_record_changed([] { put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 1, 1, 1, 1); });
    EXPECT_EQ(pixel_at(10, 10)[0], 0) << "a signed quad drawn";
}

// A key holds its control until released; releases, right clicks and resizes are passed
// over to the press behind them; left presses select, one per call, each leaving its
// position in `event`. A window resized to nothing either way keeps its size.
TEST(Input, PressesSetControlsOnePerPollAndWindowPixelsMapToTheGame) {
    constexpr int WIDE_W = 1024, WIDE_H = 768;
    headless_start();
    reset_input();
    int delay = -1, interval = -1;
    SDL_GetKeyRepeat(&delay, &interval);
    EXPECT_EQ(delay, 0) << "a held key is one press";
    EXPECT_EQ(interval, 0) << "a held key is one press";
    push_key(SDLK_RETURN);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 1);
    SDL_Event resize{};
    resize.resize = {SDL_VIDEORESIZE, WIDE_W, WIDE_H};
    push_key(SDLK_RETURN, SDL_KEYUP);
    push_tap(10, 10, SDL_BUTTON_RIGHT);
    ASSERT_EQ(SDL_PushEvent(&resize), 0);
    resize.resize.w = 0;
    ASSERT_EQ(SDL_PushEvent(&resize), 0);
    push_key(SDLK_ESCAPE);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 0) << "Enter released";
    EXPECT_EQ(p1_controls_state[P_EXIT], 1) << "Escape pressed";
    EXPECT_EQ(std::pair(real_screen_w, real_screen_h), std::pair(WIDE_W, WIDE_H));
    push_tap(WIDE_W - 1, WIDE_H / 2);
    push_tap(3, 4);
    SDL_Event release{};  // as SDL sends after each tap
    release.button = {SDL_MOUSEBUTTONUP, 0, SDL_BUTTON_LEFT, SDL_RELEASED, 3, 4};
    ASSERT_EQ(SDL_PushEvent(&release), 0);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 1);
    const t_intcoords at = projectWindowCoords(event.button.x, event.button.y);
    EXPECT_EQ(std::pair(at.x, at.y), std::pair(GAME_WIDTH - 1, GAME_HEIGHT / 2));
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(event.button.x, 3);
    EXPECT_EQ(poll_input(), 0);  // the release is no press, and lets go of the control
    EXPECT_EQ(p1_controls_state[P_SELECT], 0);
    EXPECT_EQ(resize_window(0, 9, 0), 1) << "no width";
    EXPECT_EQ(resize_window(9, 0, 0), 1) << "no height";
    EXPECT_EQ(std::pair(real_screen_w, real_screen_h), std::pair(WIDE_W, WIDE_H));
}

// A tap on a button's edge is not on it.
TEST(Button, ATapIsOnAButtonInsideItsEdgesOnly) {
    t_button button{};
    t_layout_item item = {"from (10, 20) to (40, 60)", 10, 20, 30, 40};
    EXPECT_EQ(button_is_clicked(&button, &item, 11, 21), 1) << "just inside";
    EXPECT_EQ(button_is_clicked(&button, &item, 10, 30), 0) << "on the left edge";
    EXPECT_EQ(button_is_clicked(&button, &item, 40, 30), 0) << "on the right edge";
    EXPECT_EQ(button_is_clicked(&button, &item, 20, 20), 0) << "on the top edge";
    EXPECT_EQ(button_is_clicked(&button, &item, 20, 60), 0) << "on the bottom edge";
}
