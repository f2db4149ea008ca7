// The review after a time-out: the card, and the solution of each missed question in turn.
#include "bingo_card.h"
#include "button.h"
#include "fonts.h"
#include "graphics.h"
#include "input.h"
#include "layout.h"
#include "round.h"
#include "round_display.h"
#include "screen.h"
#include "screens.h"

namespace {

constexpr Uint32 GAME_OVER_DELAY_MS = 10;

struct GameOver {
    t_screen_layout* layout;
    t_button* next_screen;  // "Continue"
    t_button* prev;
    t_button* next;
    int unanswered_questions;
};

GameOver enter() {
    GameOver review{};
    review.layout = layout_load("game_over.layout");
    review.next_screen = button_new("Continue");
    review.prev = button_new("<");
    review.next = button_new(">");
    review.unanswered_questions = round_num_unanswered_questions(&bingo_round);
    return review;
}

void handle_tap(GameOver* review, float x, float y) {
    if (screen_button_hit(review->layout, review->next_screen, "continue_button", x, y)) {
        screen_leave(ROUND_SCORE);
        p1_controls_state[P_SELECT] = 0;
    }
    if (screen_button_hit(review->layout, review->prev, "prev_button", x, y))
        round_previous_question(&bingo_round);
    if (screen_button_hit(review->layout, review->next, "next_button", x, y))
        round_advance_question(&bingo_round);
}

void draw(GameOver* review) {
    clear_screen();
    font_write(small_font, "GAME OVER", 10, 10, 0);
    bc_render(&bingo_card, layout_get_item(review->layout, "bingo_card"));
    round_time_render(&bingo_round, layout_get_item(review->layout, "time"));
    screen_button_render(review->layout, review->next_screen, "continue_button");
    if (review->unanswered_questions == 0) return;
    round_solution_render(&bingo_round, layout_get_item(review->layout, "question"));
    screen_button_render(review->layout, review->prev, "prev_button");
    screen_button_render(review->layout, review->next, "next_button");
}

void leave(GameOver* review) {
    delete review->next_screen;
    delete review->prev;
    delete review->next;
    layout_free(review->layout);
}

}  // namespace

void do_game_over() {
    GameOver review = enter();
    screen_loop(
        MAIN_MENU, GAME_OVER_DELAY_MS, [&](float x, float y) { handle_tap(&review, x, y); },
        [&] { draw(&review); });
    leave(&review);
}
