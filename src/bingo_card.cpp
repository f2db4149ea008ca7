// The bingo card: dealing a round's answers, judging taps, and scoring the marks.
#include "bingo_card.h"

#include <cstdlib>

#include "graphics.h"

t_bingo_card bingo_card;

constexpr int DEAL_SCALE = 85899345;  // rand() / DEAL_SCALE is a question index, or 25 rarely
constexpr int WRONG_TAP_PENALTY_MS = 5000;
constexpr float LINE_WIDTH = 7.0f;

// Draws until an index not yet dealt comes up. The top 23 values of rand() give 25, which no
// question has; such a draw is thrown away like a used index, so replays stay in step.
static int draw_unused_index(const bool used[NUM_QUESTIONS]) {
    for (;;) {
        int qindex = rand() / DEAL_SCALE;
        if (qindex < NUM_QUESTIONS && !used[qindex]) return qindex;
    }
}

void bc_init(t_bingo_card* card, t_round* b_round) {
    bool question_used[NUM_QUESTIONS] = {};
    for (auto& row : card->squares) {
        for (t_card_square& square : row) {
            square.marked = 0;
            if (b_round == nullptr) continue;
            int qindex = draw_unused_index(question_used);
            square.answer_value = b_round->questions[qindex].answer;
            question_used[qindex] = true;
        }
    }
    card->num_bingos = 0;
    card->blackout = 0;
}

int bc_mark_square(t_bingo_card* card, int row, int col) {
    if (row < 0 || row >= CARD_SIZE || col < 0 || col >= CARD_SIZE) return 0;
    t_card_square* square = &card->squares[row][col];
    if (square->marked) return 0;
    square->marked = 1;
    return 1;
}

// The row or column under a tap `offset` units into a card side `extent` long. A tap on the far
// edge gives CARD_SIZE: it is still on the card, so it counts for the last cell.
static int cell_under(float offset, float extent) {
    float cell = offset / (extent / CARD_SIZE);
    return cell < CARD_SIZE ? static_cast<int>(cell) : CARD_SIZE - 1;
}

// Edges included.
static bool on_card(const t_layout_item* layout, float x, float y) {
    return layout->x <= x && x <= layout->x + layout->w && layout->y <= y &&
           y <= layout->y + layout->h;
}

void bc_handle_event_left_click(t_bingo_card* card, t_layout_item* layout, t_round* round,
                                t_player* /*player*/, float event_x, float event_y) {
    if (layout == nullptr || !on_card(layout, event_x, event_y)) return;
    int row = cell_under(event_y - layout->y, layout->h);
    int col = cell_under(event_x - layout->x, layout->w);
    t_card_square* square = &card->squares[row][col];
    if (square->marked) return;
    t_question* current = &round->questions[round->curr_q_idx];
    if (square->answer_value == current->answer) {
        bc_mark_square(card, row, col);
        current->answered = 1;
        round_advance_question(round);
    } else if (round->time_remaining > WRONG_TAP_PENALTY_MS) {
        round->time_remaining -= WRONG_TAP_PENALTY_MS;
    } else {
        round->time_remaining = 0;
    }
}

float bc_cell_centre(float origin, float extent, int index) {
    float cell = extent / CARD_SIZE;
    return static_cast<float>(origin + extent * 0.2 * index + cell / 2.0);
}

// Scores the five squares from (row, col) in steps of (drow, dcol). A complete line is a bingo
// and, when `draw_in` is given, gets a red line from its first square's centre to its last's.
static void score_line(t_bingo_card* card, const t_layout_item* draw_in, int row, int col, int drow,
                       int dcol) {
    for (int i = 0; i < CARD_SIZE; i++) {
        if (!card->squares[row + i * drow][col + i * dcol].marked) return;
    }
    card->score += POINTS_PER_BINGO;
    card->num_bingos++;
    if (draw_in == nullptr) return;
    const int last = CARD_SIZE - 1;
    draw_line(bc_cell_centre(draw_in->x, draw_in->w, col),
              bc_cell_centre(draw_in->y, draw_in->h, row),
              bc_cell_centre(draw_in->x, draw_in->w, col + last * dcol),
              bc_cell_centre(draw_in->y, draw_in->h, row + last * drow), 1.0f, 0.0f, 0.0f, 0.6f,
              LINE_WIDTH);
}

static bool all_marked(const t_bingo_card* card) {
    for (const auto& row : card->squares) {
        for (const t_card_square& square : row) {
            if (!square.marked) return false;
        }
    }
    return true;
}

int bc_score(t_bingo_card* card, int do_render, t_layout_item* layout) {
    const t_layout_item* draw_in = do_render ? layout : nullptr;
    card->score = 0;
    card->num_bingos = 0;
    card->blackout = 0;
    for (int row = 0; row < CARD_SIZE; row++) score_line(card, draw_in, row, 0, 0, 1);
    for (int col = 0; col < CARD_SIZE; col++) score_line(card, draw_in, 0, col, 1, 0);
    score_line(card, draw_in, 0, 0, 1, 1);
    score_line(card, draw_in, CARD_SIZE - 1, 0, -1, 1);  // drawn from bottom-left to top-right
    if (all_marked(card)) {
        card->score += POINTS_PER_BLACKOUT;
        card->blackout = 1;
        // The veil goes over the lines already drawn.
        if (draw_in) put_quad(draw_in->x, draw_in->y, draw_in->w, draw_in->h, 1, 0, 0, 0.6f);
    }
    return card->score;
}
