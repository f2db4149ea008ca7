// Start-up, the screen dispatcher and shut-down.
#include "main.h"

#include <cstdlib>
#include <ctime>

#include "game.h"
#include "graphics.h"
#include "input.h"
#include "player.h"
#include "screen.h"

int debug = 0;

int initialize() {
    if (!init_graphics()) return 0;
    if (!init_input()) {
        SDL_Quit();
        return 0;
    }
    srand(static_cast<unsigned>(time(nullptr)));
    game_init(&game);
    player_init(&player1);
    return 1;
}

void exit_game() {
    game_end(&game);
    SDL_GLES_DeleteContext(context);
    SDL_GLES_Quit();
    SDL_Quit();
    exit(EXIT_SUCCESS);
}

static void run_screen(t_game_state state) {
    switch (state) {
        case MAIN_MENU: do_main_menu(); break;
        case PLAYING: do_playing(); break;
        case HISCORES: do_hiscores(); break;
        case GAME_OVER: do_game_over(); break;
        case ROUND_SCORE: do_round_score(); break;
        case GET_INITIALS: do_get_initials(); break;
        case PAUSED:
        case EXITING: break;
    }
}

void main_loop() {
    while (game.state != EXITING) {
        poll_input();
        run_screen(game.state);
    }
}

// Placeholder for the screens still to be built (replaced screen by screen): it polls,
// clears, presents and leaves on the exit control.
static void placeholder_screen(t_game_state exit_state, Uint32 delay_ms) {
    exit_signal = 0;
    while (!exit_signal) {
        float x = 0, y = 0;
        screen_poll_tap(&x, &y);
        screen_handle_exit(exit_state);
        clear_screen();
        screen_present(delay_ms);
    }
}

void do_main_menu() { placeholder_screen(EXITING, 20); }
void do_playing() { placeholder_screen(MAIN_MENU, 5); }
void do_hiscores() { placeholder_screen(MAIN_MENU, 5); }
void do_game_over() { placeholder_screen(MAIN_MENU, 10); }
void do_round_score() { placeholder_screen(MAIN_MENU, 10); }
void do_get_initials() { placeholder_screen(GET_INITIALS, 10); }
