// The playing screen: a new round against the clock; tap the answer, skip, or quit.
#include <algorithm>
#include <cstring>

#include "bingo_card.h"
#include "button.h"
#include "frame.h"
#include "game.h"
#include "graphics.h"
#include "layout.h"
#include "player.h"
#include "round.h"
#include "round_display.h"
#include "screen.h"
#include "screens.h"

namespace {

constexpr Uint32 PLAYING_DELAY_MS = 5;

struct Playing {
    t_screen_layout* layout;
    t_button* skip;
    t_button* quit;
};

Playing enter() {
    Playing play{};
    play.layout = layout_load("play.layout");
    play.skip = button_new("Skip");
    play.quit = button_new("Quit");
    // The round keeps the type and level chosen on the menu.
    round_init(&bingo_round, bingo_round.question_type, bingo_round.skill_level, ROUND_TIME_MS);
    bc_init(&bingo_card, &bingo_round);
    return play;
}

void handle_tap(Playing* play, float x, float y) {
    bc_handle_event_left_click(&bingo_card, layout_get_item(play->layout, "bingo_card"),
                               &bingo_round, &player1, x, y);
    if (screen_button_hit(play->layout, play->skip, "skip_button", x, y))
        round_advance_question(&bingo_round);
    if (screen_button_hit(play->layout, play->quit, "quit_button", x, y)) screen_leave(MAIN_MENU);
}

}  // namespace

// The clock runs on measured time since the menu started the round. Of the state changes
// one frame makes, the last stands: a time-out overrides quitting, and a completed card
// overrides a time-out. A frame takes at most the time left.
void playing_run_clock() {
    game_update_time(&game);
    bingo_round.time_remaining -= std::min(game.time_change, bingo_round.time_remaining);
    if (bingo_round.time_remaining <= 0) {
        bingo_round.time_remaining = 0;
        screen_leave(GAME_OVER);
    }
    if (round_num_unanswered_questions(&bingo_round) == 0) screen_leave(ROUND_SCORE);
}

namespace {

// The clock shows whole seconds, so the picture changes only when its text does.
void run_clock_shown() {
    char before[ROUND_TIME_TEXT_SIZE], after[ROUND_TIME_TEXT_SIZE];
    round_time_text(bingo_round.time_remaining, before, sizeof before);
    playing_run_clock();
    round_time_text(bingo_round.time_remaining, after, sizeof after);
    if (strcmp(before, after) != 0) frame_note_change();
}

void draw(Playing* play) {
    clear_screen();
    bc_render(&bingo_card, layout_get_item(play->layout, "bingo_card"));
    round_time_render(&bingo_round, layout_get_item(play->layout, "time"));
    round_question_render(&bingo_round, layout_get_item(play->layout, "question"));
    screen_button_render(play->layout, play->skip, "skip_button");
    screen_button_render(play->layout, play->quit, "quit_button");
}

void leave(Playing* play) {
    delete play->skip;
    delete play->quit;
    layout_free(play->layout);
}

}  // namespace

void do_playing() {
    Playing play = enter();
    screen_loop(
        MAIN_MENU, PLAYING_DELAY_MS, [&](float x, float y) { handle_tap(&play, x, y); },
        run_clock_shown, [&] { draw(&play); });
    leave(&play);
}
