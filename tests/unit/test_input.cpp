// Input: presses turned into controls one per poll, window resizes, window-to-game mapping.
#include <gtest/gtest.h>

#include <utility>

#include "graphics.h"
#include "input.h"
#include "pixels.h"
#include "screen_helpers.h"

namespace {

void push_resize(int w, int h) {
    SDL_Event e{};
    e.type = SDL_VIDEORESIZE;
    e.resize.w = w;
    e.resize.h = h;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

}  // namespace

// A key holds its control until released; a release or a right click is passed over to the
// press behind it; left presses select, one per call, each leaving its position in `event`.
TEST(Input, KeysAndLeftPressesSetControlsOnePerPoll) {
    headless_start();
    reset_input();
    push_key(SDLK_RETURN);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 1);
    push_key(SDLK_RETURN, SDL_KEYUP);
    push_tap(10, 10, SDL_BUTTON_RIGHT);
    push_key(SDLK_ESCAPE);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_TRUE(!p1_controls_state[P_SELECT] && p1_controls_state[P_EXIT]);
    push_tap(123, 45);
    push_tap(3, 4);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_TRUE(p1_controls_state[P_SELECT] && event.button.x == 123);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(event.button.x, 3);
    EXPECT_EQ(poll_input(), 0);
}

// A resize takes effect and polling goes on behind it; a window shrunk to nothing keeps
// its size; window pixels map to game units at any size.
TEST(Input, ResizesTakeEffectAndWindowPixelsMapToGameUnits) {
    headless_start();
    reset_input();
    push_resize(1024, 768);
    push_resize(0, 768);
    push_resize(1024, 0);
    push_key(SDLK_LEFT);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_LEFT], 1);
    const t_intcoords centre = projectWindowCoords(512, 384), end = projectWindowCoords(1023, 767);
    EXPECT_EQ(std::make_pair(centre.x, centre.y), std::make_pair(400, 240));
    EXPECT_EQ(std::make_pair(end.x, end.y), std::make_pair(799, 479));
    resize_window(GAME_WIDTH, GAME_HEIGHT, 0);
}
