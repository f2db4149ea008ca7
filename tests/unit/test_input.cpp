#include <gtest/gtest.h>

#include "graphics.h"
#include "headless.h"
#include "input.h"

namespace {

void push_key(Uint8 type, SDLKey sym) {
    SDL_Event e{};
    e.type = type;
    e.key.type = type;
    e.key.keysym.sym = sym;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

void push_button(Uint8 type, Uint8 button, Uint16 x, Uint16 y) {
    SDL_Event e{};
    e.type = type;
    e.button.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
}

class Input : public ::testing::Test {
   protected:
    void SetUp() override {
        headless_start();
        SDL_Event drain;
        while (SDL_PollEvent(&drain)) {
        }
        init_key_states();
    }
};

}  // namespace

TEST_F(Input, ReturnPressSelectsAndReleaseClears) {
    push_key(SDL_KEYDOWN, SDLK_RETURN);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 1);
    push_key(SDL_KEYUP, SDLK_RETURN);
    EXPECT_EQ(poll_input(), 0);
    EXPECT_EQ(p1_controls_state[P_SELECT], 0);
}

TEST_F(Input, EscapeSetsTheExitControl) {
    push_key(SDL_KEYDOWN, SDLK_ESCAPE);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_EXIT], 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 0);
}

TEST_F(Input, LeftClickSelectsAndKeepsThePress) {
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 123, 45);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 1);
    EXPECT_EQ(event.type, SDL_MOUSEBUTTONDOWN);
    EXPECT_EQ(event.button.x, 123);
    EXPECT_EQ(event.button.y, 45);
}

TEST_F(Input, RightClickIsDroppedAndPollingGoesOn) {
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 10, 10);
    push_key(SDL_KEYDOWN, SDLK_UP);
    EXPECT_EQ(poll_input(), 1);  // the Up press behind it, in the same call
    EXPECT_EQ(p1_controls_state[P_UP], 1);
    EXPECT_EQ(p1_controls_state[P_SELECT], 0);
    EXPECT_EQ(event.type, SDL_KEYDOWN);
}

TEST_F(Input, TwoQueuedPressesAreHandledOnePerCall) {
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 2);
    push_button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 3, 4);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(event.button.x, 1);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(event.button.x, 3);
    EXPECT_EQ(poll_input(), 0);
}

TEST_F(Input, ResizeResizesAndPollingGoesOn) {
    SDL_Event e{};
    e.type = SDL_VIDEORESIZE;
    e.resize.w = 400;
    e.resize.h = 240;
    ASSERT_EQ(SDL_PushEvent(&e), 0);
    push_key(SDL_KEYDOWN, SDLK_LEFT);
    EXPECT_EQ(poll_input(), 1);
    EXPECT_EQ(real_screen_w, 400);
    EXPECT_EQ(real_screen_h, 240);
    EXPECT_EQ(p1_controls_state[P_LEFT], 1);
    resize_window(800, 480, 0);
}

TEST(ControlMap, DefaultBindingsAndEventComparison) {
    headless_start();
    const SDLKey keys[] = {SDLK_UP, SDLK_DOWN, SDLK_LEFT, SDLK_RIGHT, SDLK_ESCAPE, SDLK_RETURN};
    for (int control = 0; control < NUM_CONTROLS; control++) {
        SDL_Event* slot0 = p1_control_map.mappings[control].events[0];
        ASSERT_NE(slot0, nullptr);
        EXPECT_EQ(slot0->type, SDL_KEYDOWN);
        EXPECT_EQ(slot0->key.keysym.sym, keys[control]);
    }
    EXPECT_EQ(p1_control_map.mappings[P_SELECT].events[1]->type, SDL_MOUSEBUTTONDOWN);
    EXPECT_EQ(p1_control_map.mappings[P_SELECT].events[1]->button.button, SDL_BUTTON_LEFT);
    EXPECT_EQ(p1_control_map.mappings[P_EXIT].events[1], nullptr);

    SDL_Event a{}, b{};
    a.type = b.type = SDL_KEYDOWN;
    a.key.keysym.sym = b.key.keysym.sym = SDLK_ESCAPE;
    EXPECT_EQ(compare_events(a, b), 1);
    b.key.keysym.sym = SDLK_RETURN;
    EXPECT_EQ(compare_events(a, b), 0);
    a.type = b.type = SDL_MOUSEBUTTONDOWN;
    a.button.button = b.button.button = 1;
    EXPECT_EQ(compare_events(a, b), 0);  // only key presses ever compare equal
}

TEST(ProjectWindowCoords, MapsWindowPixelsToGameUnits) {
    headless_start();
    resize_window(800, 480, 0);
    EXPECT_EQ(projectWindowCoords(100, 100).x, 100);
    // Single-precision quotients truncate a few positions one unit low.
    EXPECT_EQ(projectWindowCoords(53, 0).x, 52);
    EXPECT_EQ(projectWindowCoords(0, 63).y, 62);
    EXPECT_EQ(projectWindowCoords(799, 479).x, 799);

    resize_window(400, 240, 0);
    EXPECT_EQ(projectWindowCoords(200, 120).x, 400);
    EXPECT_EQ(projectWindowCoords(200, 120).y, 240);

    resize_window(1024, 768, 0);
    EXPECT_EQ(projectWindowCoords(512, 384).x, 400);
    EXPECT_EQ(projectWindowCoords(512, 384).y, 240);
    resize_window(800, 480, 0);
}
