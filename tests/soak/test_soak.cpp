// Rounds played in-process through all six screens, over and over, in a window on an X server
// of the test's own, as the game runs: neither the game's own objects, nor its open files,
// nor the memory of the process may grow.
#include <dirent.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <utility>
#include <vector>

#include "game.h"
#include "main.h"
#include "object_count.h"
#include "screen_helpers.h"
#include "screens.h"

namespace {

// Objects, open files, heap in use (every thread's) and resident bytes.
std::array<long, 4> usage() {
    long pages = 0, resident = 0, files = 0;
    FILE* statm = fopen("/proc/self/statm", "r");
    EXPECT_TRUE(statm && fscanf(statm, "%ld %ld", &pages, &resident) == 2);
    if (statm) fclose(statm);
    DIR* dir = opendir("/proc/self/fd");
    while (dir && readdir(dir)) files++;
    if (dir) closedir(dir);
    const struct mallinfo2 heap = mallinfo2();
    return {live_objects, files, static_cast<long>(heap.uordblks + heap.hblkhd),
            resident * sysconf(_SC_PAGESIZE)};
}

// A round that runs out of time 100 ms after the menu starts it, through the review, round
// score, initials entry (a score of 0 ties the empty table) and table, each left by a button.
void play_round() {
    const std::pair<void (*)(), std::vector<std::pair<const char*, const char*>>> screens[] = {
        {do_main_menu,
         {{"main_menu.layout", "qtype_button"}, {"main_menu.layout", "start_button"}}},
        {do_playing, {{"play.layout", "skip_button"}}},
        {do_game_over,
         {{"game_over.layout", "next_button"}, {"game_over.layout", "continue_button"}}},
        {do_round_score, {{"round_score.layout", "continue_button"}}},
        {do_get_initials,
         {{"get_initials.layout", "s_button"}, {"get_initials.layout", "enter_button"}}},
        {do_hiscores, {{"hiscores.layout", "done_button"}}}};
    const t_game_state next[] = {PLAYING,      GAME_OVER, ROUND_SCORE,
                                 GET_INITIALS, HISCORES,  MAIN_MENU};
    for (int i = 0; i < 6; i++) {
        for (const auto& [file, tag] : screens[i].second) push_tap_on(file, tag);
        if (i == 1) game.time_total -= 60000 - 100;
        screens[i].first();
        ASSERT_EQ(game.state, next[i]);
    }
}

}  // namespace

TEST(Soak, RoundsThroughEveryScreenLeaveNothingBehind) {
    XServer x(24);
    ScratchGameFolder folder;
    ASSERT_EQ(initialize(), 1);  // the game's own start-up, in its scratch folder
    // The renderer builds its caches in the first rounds; settled rounds vary by a few hundred
    // KiB, and a surface or texture kept a screen, or a frame's drawing, goes past 2 MiB.
    for (int i = 0; i < 3; i++) ASSERT_NO_FATAL_FAILURE(play_round());
    const auto before = usage();
    for (int i = 0; i < 12; i++) ASSERT_NO_FATAL_FAILURE(play_round());
    const auto after = usage();
    EXPECT_EQ(after[0], before[0]) << "objects";
    EXPECT_EQ(after[1], before[1]) << "open files";
    EXPECT_LE(after[2], before[2] + (2 << 20)) << "heap";
    EXPECT_LE(after[3], before[3] + (2 << 20)) << "resident";
}
