// Rounds played in-process through all six screens, over and over, in a window on an X server
// of the test's own, as the game runs: neither the game's own objects, nor its open files,
// nor the memory of the process may grow.
#include <gtest/gtest.h>

#include <array>
#include <fstream>

#include "game.h"
#include "main.h"
#include "object_count.h"
#include "screen_helpers.h"
#include "screens.h"

namespace {

// Objects, open files, heap in use (every thread's) and resident pages.
std::array<long, 4> usage() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    const struct mallinfo2 heap = mallinfo2();
    return {live_objects, open_files(), long(heap.uordblks + heap.hblkhd), resident};
}

// A round quit at once, then the review of its questions, round score, initials entry (a score
// of 0 ties the empty table) and table, each left by a button.
void play_round() {
    const struct {
        void (*screen)();
        const char* layout;
        std::vector<const char*> taps;
        t_game_state next;
    } screens[] = {{do_main_menu, "main_menu", {"qtype_button", "start_button"}, PLAYING},
                   {do_playing, "play", {"skip_button", "quit_button"}, MAIN_MENU},
                   {do_game_over, "game_over", {"next_button", "continue_button"}, ROUND_SCORE},
                   {do_round_score, "round_score", {"continue_button"}, GET_INITIALS},
                   {do_get_initials, "get_initials", {"s_button", "enter_button"}, HISCORES},
                   {do_hiscores, "hiscores", {"done_button"}, MAIN_MENU}};
    for (const auto& s : screens) {
        for (const char* tag : s.taps)
            push_tap_on((std::string(s.layout) + ".layout").c_str(), tag);
        s.screen();
        ASSERT_EQ(game.state, s.next);
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
    EXPECT_LE(after[3] * sysconf(_SC_PAGESIZE), before[3] * sysconf(_SC_PAGESIZE) + (2 << 20))
        << "resident";
}
