// The game's clock across a wrap of SDL's tick counter (its start at a state change and its
// measuring of real time are tested through the playing screen in test_screens.cpp).
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "game.h"
#include "pixels.h"

TEST(Game, ClockStaysRightWhenTheTickCounterWraps) {
    headless_start();
    // A last reading just below the wrap point: the next reading is small again.
    game.time_total = static_cast<int32_t>(0xFFFFFF00u);
    game.time_in_state = INT32_MAX - 10;
    // The tick counter may move on while the clock is read (slow machines, emulation).
    const uint32_t before = SDL_GetTicks();
    game_update_time(&game);
    const uint32_t after = SDL_GetTicks();
    EXPECT_GE(game.time_change, static_cast<int32_t>(before - 0xFFFFFF00u));
    EXPECT_LE(game.time_change, static_cast<int32_t>(after - 0xFFFFFF00u));
}
