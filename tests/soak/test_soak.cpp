// Rounds played in-process through all six screens, over and over, in a window as the game
// runs (tests/soak/on_xvfb.py gives it a display): neither the game's own objects, nor its
// open files, nor the memory of the process may grow.
#include <dirent.h>
#include <gtest/gtest.h>
#include <malloc.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "game.h"
#include "hiscore.h"
#include "main.h"
#include "player.h"
#include "screen_helpers.h"
#include "screens.h"

// The game makes its objects (layouts and their items, buttons, fonts) with new, and the
// renderer allocates with malloc alone, so counting new apart from malloc tells the game's
// objects apart from the renderer's caches, which grow and shrink as it sees fit.
namespace {
std::atomic<long> live_objects{0};
}

void* operator new(std::size_t size) {
    void* block = malloc(size ? size : 1);
    if (!block) abort();  // no exceptions in this program
    live_objects++;
    return block;
}

void operator delete(void* block) noexcept {
    if (!block) return;
    live_objects--;
    free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }

namespace {

constexpr int WARMUP_ROUNDS = 3;  // the renderer builds its caches in the first frames
constexpr int SOAK_ROUNDS = 12;
constexpr int ROUND_LEFT_MS = 100;  // of the round clock when the playing screen starts
// Settled rounds vary by a few hundred KiB; a surface or texture kept a screen, or a
// frame's drawing, goes past this within the soak.
constexpr long MAX_GROWTH_BYTES = 2 * 1024 * 1024;

long resident_bytes() {
    FILE* statm = fopen("/proc/self/statm", "r");
    long pages = 0, resident = 0;
    if (!statm || fscanf(statm, "%ld %ld", &pages, &resident) != 2) ADD_FAILURE() << "statm";
    if (statm) fclose(statm);
    return resident * sysconf(_SC_PAGESIZE);
}

// Bytes handed out by the allocator and not yet given back, to every thread.
long heap_in_use() {
    const struct mallinfo2 info = mallinfo2();
    return static_cast<long>(info.uordblks + info.hblkhd);
}

int open_files() {
    DIR* dir = opendir("/proc/self/fd");
    int count = 0;
    while (dir && readdir(dir)) count++;
    if (dir) closedir(dir);
    return count;
}

struct Usage {
    long objects = live_objects;
    int files = open_files();
    long heap = heap_in_use();
    long resident = resident_bytes();
};

// A round that runs out of time: the menu starts it, the clock stands at 100 ms, and the
// review, round score, initials entry and table follow, each left by its own button.
void play_round() {
    push_tap_on("main_menu.layout", "qtype_button");
    push_tap_on("main_menu.layout", "start_button");
    do_main_menu();
    ASSERT_EQ(game.state, PLAYING);
    game.time_total -= 60000 - ROUND_LEFT_MS;
    push_tap_on("play.layout", "skip_button");
    do_playing();
    ASSERT_EQ(game.state, GAME_OVER);
    push_tap_on("game_over.layout", "next_button");
    push_tap_on("game_over.layout", "continue_button");
    do_game_over();
    ASSERT_EQ(game.state, ROUND_SCORE);
    push_tap_on("round_score.layout", "continue_button");
    do_round_score();
    ASSERT_EQ(game.state, GET_INITIALS);  // a score of 0 ties the empty table
    push_tap_on("get_initials.layout", "s_button");
    push_tap_on("get_initials.layout", "enter_button");
    do_get_initials();
    ASSERT_EQ(game.state, HISCORES);
    push_tap_on("hiscores.layout", "done_button");
    do_hiscores();
    ASSERT_EQ(game.state, MAIN_MENU);
}

}  // namespace

TEST(Soak, RoundsThroughEveryScreenLeaveNothingBehind) {
    ASSERT_NE(getenv("DISPLAY"), nullptr) << "run by on_xvfb.py";
    ScratchGameFolder folder;
    ASSERT_EQ(initialize(), 1);  // the game's own start-up, in its scratch folder
    for (int i = 0; i < WARMUP_ROUNDS; i++) ASSERT_NO_FATAL_FAILURE(play_round());
    const Usage before;
    for (int i = 0; i < SOAK_ROUNDS; i++) ASSERT_NO_FATAL_FAILURE(play_round());
    const Usage after;
    EXPECT_EQ(after.objects, before.objects);
    EXPECT_EQ(after.files, before.files);
    EXPECT_LE(after.heap, before.heap + MAX_GROWTH_BYTES);
    EXPECT_LE(after.resident, before.resident + MAX_GROWTH_BYTES);
}
