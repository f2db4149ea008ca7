// Input: key and button presses turned into controls, one press per poll, window resizes,
// and the mapping of window pixels to game units.
#include <gtest/gtest.h>

#include "graphics.h"
#include "input.h"
#include "pixels.h"
#include "screen_helpers.h"

namespace {

class Input : public ::testing::Test {
   protected:
    void SetUp() override {
        headless_start();
        reset_input();
    }
};

void push_resize(int w, int h) {
    SDL_Event e{};
    e.type = SDL_VIDEORESIZE;
    e.resize.w = w;
    e.resize.h = h;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

}  // namespace

TEST_F(Input, KeysSetTheirControlsWhilePressed) {
    push_key(SDLK_RETURN);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 1);
    push_key(SDLK_RETURN, SDL_KEYUP);
    EXPECT_EQ(poll_input(), 0);
    EXPECT_EQ(p1_controls_state[P_SELECT], 0);
    push_key(SDLK_ESCAPE);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_EXIT], 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 0);
}

// A right click is dropped and polling goes on to the Up press behind it; left presses
// select and are handled one per call, each leaving its position in `event`.
TEST_F(Input, LeftPressesAreHandledOnePerCallAndRightClicksDropped) {
    push_tap(10, 10, SDL_BUTTON_RIGHT);
    push_key(SDLK_UP);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_UP], 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 0);
    EXPECT_EQ(event.type, SDL_KEYDOWN);

    push_tap(123, 45);
    push_tap(3, 4);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 1);
    EXPECT_EQ(event.type, SDL_MOUSEBUTTONDOWN);
    EXPECT_EQ(event.button.x, 123);
    EXPECT_EQ(event.button.y, 45);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(event.button.x, 3);
    EXPECT_EQ(poll_input(), 0);
}

// A resize takes effect and polling goes on behind it; a window shrunk to nothing keeps
// the last size, so taps still map into the game.
TEST_F(Input, ResizeResizesAndPollingGoesOnAndAnEmptySizeIsIgnored) {
    push_resize(400, 240);
    push_key(SDLK_LEFT);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(real_screen_w, 400);
    EXPECT_EQ(real_screen_h, 240);
    EXPECT_EQ(p1_controls_state[P_LEFT], 1);

    push_resize(0, 240);
    push_resize(400, 0);
    push_tap(200, 120);
    EXPECT_EQ(poll_input(), 1);
    const t_intcoords at = projectWindowCoords(event.button.x, event.button.y);
    EXPECT_EQ(at.x, 400);
    EXPECT_EQ(at.y, 240);
    resize_window(800, 480, 0);
}

TEST(ProjectWindowCoords, MapsWindowPixelsToGameUnits) {
    headless_start();
    resize_window(800, 480, 0);
    EXPECT_EQ(projectWindowCoords(100, 100).x, 100);
    // Single-precision quotients truncate a few positions one unit low.
    EXPECT_EQ(projectWindowCoords(53, 0).x, 52);
    EXPECT_EQ(projectWindowCoords(0, 63).y, 62);
    EXPECT_EQ(projectWindowCoords(799, 479).x, 799);

    resize_window(1024, 768, 0);
    EXPECT_EQ(projectWindowCoords(512, 384).x, 400);
    EXPECT_EQ(projectWindowCoords(512, 384).y, 240);
    resize_window(800, 480, 0);
}
