// Input: presses turned into controls one per poll, window resizes, window-to-game mapping.
#include <gtest/gtest.h>

#include <utility>

#include "graphics.h"
#include "input.h"
#include "pixels.h"
#include "screen_helpers.h"

// A key holds its control until released; releases, right clicks and resizes are passed
// over to the press behind them; left presses select, one per call, each leaving its
// position in `event`. A window resized to nothing keeps its size.
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
    EXPECT_EQ(resize_window(0, 9, 0) + resize_window(GAME_WIDTH, GAME_HEIGHT, 0), 2);
}
