#include <SDL/SDL.h>
#include <gtest/gtest.h>

#include "game.h"
#include "headless.h"
#include "player.h"

TEST(Game, StateChangeRestartsTheClockAndUpdatesMeasureRealTime) {
    headless_start();
    game_init(&game);
    EXPECT_EQ(game.state, MAIN_MENU);
    game.time_in_state = 1234;
    game_set_state(&game, PLAYING);
    EXPECT_EQ(game.state, PLAYING);
    EXPECT_EQ(game.time_in_state, 0);
    const int32_t start = game.time_total;
    EXPECT_LE(static_cast<uint32_t>(start), SDL_GetTicks());

    SDL_Delay(60);
    game_update_time(&game);
    EXPECT_GE(game.time_change, 60);
    EXPECT_LT(game.time_change, 1000);
    EXPECT_EQ(game.time_total, start + game.time_change);
    EXPECT_EQ(game.time_in_state, game.time_change);

    SDL_Delay(20);
    const int32_t first = game.time_change;
    game_update_time(&game);
    EXPECT_GE(game.time_change, 20);
    EXPECT_EQ(game.time_in_state, first + game.time_change);

    game_end(&game);
    EXPECT_EQ(game.state, EXITING);
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

TEST(Player, InitClearsScoreAndInitials) {
    t_player player;
    player.score = 99;
    player.num_rounds_played = 3;
    snprintf(player.initials, sizeof player.initials, "ABC");
    player_init(&player);
    EXPECT_EQ(player.score, 0);
    EXPECT_EQ(player.num_rounds_played, 0);
    for (char c : player.initials) EXPECT_EQ(c, '\0');
}
