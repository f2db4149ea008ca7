// The round's score: the scored card and the five score lines; Continue goes on to the
// initials entry when the total makes the high-score table.
#include <cstdio>

#include "bingo_card.h"
#include "button.h"
#include "fonts.h"
#include "graphics.h"
#include "hiscore.h"
#include "input.h"
#include "layout.h"
#include "player.h"
#include "round.h"
#include "round_display.h"
#include "screen.h"
#include "screens.h"

namespace {

constexpr Uint32 ROUND_SCORE_DELAY_MS = 10;
constexpr int POINTS_PER_ANSWER = 100;
constexpr int SCORE_LINES = 5;
constexpr double SCORE_TEXT_MARGIN = 10;

struct RoundScore {
    t_screen_layout* layout;
    t_button* next_screen;  // "Continue"
};

int round_total() {
    return bc_score(&bingo_card, 0, nullptr) +
           POINTS_PER_ANSWER * round_num_answered_questions(&bingo_round) +
           round_time_bonus(&bingo_round);
}

RoundScore enter() {
    RoundScore shown{};
    shown.layout = layout_load("round_score.layout");
    shown.next_screen = button_new("Continue");
    player1.score = round_total();
    return shown;
}

// A tie with the table's last entry still makes the table.
bool makes_the_table() {
    const t_hiscore* table = hiscores[bingo_round.question_type][bingo_round.skill_level];
    return player1.score >= table[HISCORE_RANKS - 1].score;
}

void handle_tap(RoundScore* shown, float x, float y) {
    if (!screen_button_hit(shown->layout, shown->next_screen, "continue_button", x, y)) return;
    screen_leave(makes_the_table() ? GET_INITIALS : MAIN_MENU);
    p1_controls_state[P_SELECT] = 0;
}

void draw(RoundScore* shown) {
    t_layout_item* card_item = layout_get_item(shown->layout, "bingo_card");
    clear_screen();
    bc_render(&bingo_card, card_item);
    bc_render_bingos(&bingo_card, card_item);
    render_round_score(&bingo_card, &bingo_round, &player1,
                       layout_get_item(shown->layout, "score"));
    screen_button_render(shown->layout, shown->next_screen, "continue_button");
}

void leave(RoundScore* shown) {
    delete shown->next_screen;
    layout_free(shown->layout);
}

}  // namespace

void render_round_score(t_bingo_card* card, t_round* b_round, t_player* player,
                        t_layout_item* layout) {
    if (!layout) return;
    render_panel(layout);
    const int answered = round_num_answered_questions(b_round);
    const int seconds = b_round->time_remaining / 1000;
    char detailstr[SCORE_LINES][64];
    snprintf(detailstr[0], sizeof detailstr[0], "Answers (%d): %d", answered,
             answered * POINTS_PER_ANSWER);
    snprintf(detailstr[1], sizeof detailstr[1], "Bingos (%d): %d", card->num_bingos,
             card->num_bingos * POINTS_PER_BINGO);
    snprintf(detailstr[2], sizeof detailstr[2], "Blackout (%d): %d", card->blackout,
             card->blackout * POINTS_PER_BLACKOUT);
    snprintf(detailstr[3], sizeof detailstr[3], "Seconds Remain (%d): %d", seconds,
             round_time_bonus(b_round));
    snprintf(detailstr[4], sizeof detailstr[4], "TOTAL: %d", player->score);
    for (int k = 0; k < SCORE_LINES; k++) {
        const double y =
            layout->y + (static_cast<double>(layout->h) / SCORE_LINES) * k + SCORE_TEXT_MARGIN;
        font_write(large_font, detailstr[k], static_cast<int>(layout->x + SCORE_TEXT_MARGIN),
                   static_cast<int>(y), 0);
    }
}

void do_round_score() {
    RoundScore shown = enter();
    screen_loop(
        MAIN_MENU, ROUND_SCORE_DELAY_MS, [&](float x, float y) { handle_tap(&shown, x, y); },
        [&] { draw(&shown); });
    leave(&shown);
}
