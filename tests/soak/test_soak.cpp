// Rounds played in-process through all six screens, over and over, in a window on an X server
// of the test's own, as the game runs: neither the game's own objects, nor its open files,
// nor the memory of the process may grow.
#include <gtest/gtest.h>

#include <array>
#include <fstream>

#include "bingo_card.h"
#include "game.h"
#include "main.h"
#include "object_count.h"
#include "round.h"
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

// Twelve taps on a square of the round about to be dealt (from a seed of its own) that holds
// neither the answer at its cursor nor the next: after a skip, the minute goes in wrong taps.
void push_wrong_taps() {
    srand(7);
    round_init(&bingo_round, bingo_round.question_type, bingo_round.skill_level, ROUND_TIME_MS);
    bc_init(&bingo_card, &bingo_round);
    const t_question& now = bingo_round.questions[bingo_round.curr_q_idx];
    const t_question& next = bingo_round.questions[(bingo_round.curr_q_idx + 1) % NUM_QUESTIONS];
    int i = 0;
    for (auto at = [&] { return bingo_card.squares[i / 5][i % 5].answer_value; };
         at() == now.answer || at() == next.answer;)
        i++;
    const t_layout_item card = layout_item_of("play.layout", "bingo_card");
    for (int tap = 0; tap < 12; tap++)
        push_tap(bc_cell_centre(card.x, card.w, i % 5), bc_cell_centre(card.y, card.h, i / 5));
    srand(7);
}

// A round that runs out of time in wrong taps, through the review, round score, initials entry
// (a score of 0 ties the empty table) and table, each left by a button.
void play_round() {
    const struct {
        void (*screen)();
        const char* layout;
        std::vector<const char*> taps;
        t_game_state next;
    } screens[] = {{do_main_menu, "main_menu", {"qtype_button", "start_button"}, PLAYING},
                   {do_playing, "play", {"skip_button"}, GAME_OVER},
                   {do_game_over, "game_over", {"next_button", "continue_button"}, ROUND_SCORE},
                   {do_round_score, "round_score", {"continue_button"}, GET_INITIALS},
                   {do_get_initials, "get_initials", {"s_button", "enter_button"}, HISCORES},
                   {do_hiscores, "hiscores", {"done_button"}, MAIN_MENU}};
    for (const auto& s : screens) {
        for (const char* tag : s.taps)
            push_tap_on((std::string(s.layout) + ".layout").c_str(), tag);
        if (s.next == GAME_OVER) push_wrong_taps();
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
