// The game's clock: state changes restart it, and updates measure real time, also across a
// wrap of SDL's tick counter.
#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "game.h"
#include "pixels.h"

TEST(Game, StateChangeRestartsTheClockAndUpdatesMeasureRealTime) {
    headless_start();
    game.time_in_state = 1234;
    game_set_state(&game, PLAYING);
    EXPECT_EQ(game.time_in_state, 0);
    const int32_t start = game.time_total;
    EXPECT_LE(static_cast<uint32_t>(start), SDL_GetTicks());

    SDL_Delay(60);
    game_update_time(&game);
    EXPECT_GE(game.time_change, 60);
    EXPECT_LT(game.time_change, 1000);
    EXPECT_EQ(game.time_total, start + game.time_change);
    const int32_t first = game.time_change;
    SDL_Delay(20);
    game_update_time(&game);
    EXPECT_EQ(game.time_in_state, first + game.time_change);
}

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
