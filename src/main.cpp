// Start-up, the screen dispatcher and shut-down.
#include "main.h"

#include <malloc.h>

#include <cstdlib>
#include <ctime>

#include "fonts.h"
#include "game.h"
#include "graphics.h"
#include "hiscore.h"
#include "input.h"
#include "player.h"
#include "round.h"
#include "screens.h"

int debug = 0;

namespace {

// The software renderer allocates and frees buffers of about a megabyte as it draws. With
// glibc's default thresholds such a buffer is mapped and unmapped, or the heap's top handed
// back, again and again, and every frame pays for its pages anew in page faults; above
// these sizes freed memory stays with the process instead. 16 MiB is the most that a 32-bit
// target accepts.
constexpr int KEPT_BLOCK_BYTES = 16 * 1024 * 1024;
constexpr int KEPT_TOP_BYTES = 32 * 1024 * 1024;

void keep_freed_memory() {
    mallopt(M_MMAP_THRESHOLD, KEPT_BLOCK_BYTES);
    mallopt(M_TRIM_THRESHOLD, KEPT_TOP_BYTES);
}

}  // namespace

int initialize() {
    keep_freed_memory();
    if (!init_graphics()) return 0;
    if (!init_input()) {
        close_graphics();
        return 0;
    }
    srand(static_cast<unsigned>(time(nullptr)));
    game_init(&game);
    player_init(&player1);
    small_font = font_load("small_font.fnt");
    large_font = font_load("large_font.fnt");
    round_init(&bingo_round, ADDITION, EASY, ROUND_TIME_MS);
    hiscores_load(HISCORES_FILE);
    return 1;
}

void exit_game() {
    game_end(&game);
    font_free(small_font);
    font_free(large_font);
    close_graphics();
    exit(EXIT_SUCCESS);
}

static void run_screen(t_game_state state) {
    switch (state) {
        case MAIN_MENU:
            do_main_menu();
            break;
        case PLAYING:
            do_playing();
            break;
        case HISCORES:
            do_hiscores();
            break;
        case GAME_OVER:
            do_game_over();
            break;
        case ROUND_SCORE:
            do_round_score();
            break;
        case GET_INITIALS:
            do_get_initials();
            break;
        case PAUSED:
        case EXITING:
            break;
    }
}

void main_loop() {
    while (game.state != EXITING) {
        // What the last screen's tap left queued, or still sends (a double tap, a bouncing
        // panel), is no tap on the next screen.
        drop_presses(SAME_TAP_MS);
        poll_input();
        run_screen(game.state);
    }
}
