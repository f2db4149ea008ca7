// The bingo card: dealing a round's answers, judging taps, and scoring the marks.
#include "bingo_card.h"

#include <cstdlib>

#include "graphics.h"

t_bingo_card bingo_card;

constexpr int DEAL_SCALE = 85899345;  // rand() / DEAL_SCALE is a question index, or 25 rarely
constexpr int WRONG_TAP_PENALTY_MS = 5000;
constexpr float LINE_WIDTH = 7.0f;
constexpr float OVERLAY_ALPHA = 0.6f;  // the bingo lines and the veil let the card show through
constexpr double CELL_SHARE = 1.0 / CARD_SIZE;  // of the card's side, in double precision

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
    return static_cast<float>(origin + extent * CELL_SHARE * index + cell / 2.0);
}

namespace {

// Five squares in a line: from (row, col) in steps of (drow, dcol).
struct CardLine {
    int row, col, drow, dcol;
};

// The twelve lines that can make a bingo, in the order their bingo lines are drawn: the rows,
// the columns, then the diagonals, the second from bottom-left to top-right.
template <typename Visit>
void for_each_line(Visit visit) {
    for (int row = 0; row < CARD_SIZE; row++) visit(CardLine{row, 0, 0, 1});
    for (int col = 0; col < CARD_SIZE; col++) visit(CardLine{0, col, 1, 0});
    visit(CardLine{0, 0, 1, 1});
    visit(CardLine{CARD_SIZE - 1, 0, -1, 1});
}

bool line_complete(const t_bingo_card* card, CardLine line) {
    for (int i = 0; i < CARD_SIZE; i++) {
        if (!card->squares[line.row + i * line.drow][line.col + i * line.dcol].marked) return false;
    }
    return true;
}

// A red line from the line's first square's centre to its last's.
void draw_bingo_line(const t_layout_item* layout, CardLine line) {
    const int last = CARD_SIZE - 1;
    draw_line(bc_cell_centre(layout->x, layout->w, line.col),
              bc_cell_centre(layout->y, layout->h, line.row),
              bc_cell_centre(layout->x, layout->w, line.col + last * line.dcol),
              bc_cell_centre(layout->y, layout->h, line.row + last * line.drow), 1.0f, 0.0f, 0.0f,
              OVERLAY_ALPHA, LINE_WIDTH);
}

bool all_marked(const t_bingo_card* card) {
    for (const auto& row : card->squares) {
        for (const t_card_square& square : row) {
            if (!square.marked) return false;
        }
    }
    return true;
}

}  // namespace

int bc_score(t_bingo_card* card, int do_render, t_layout_item* layout) {
    card->num_bingos = 0;
    for_each_line([&](CardLine line) { card->num_bingos += line_complete(card, line) ? 1 : 0; });
    card->blackout = all_marked(card) ? 1 : 0;
    card->score = card->num_bingos * POINTS_PER_BINGO + card->blackout * POINTS_PER_BLACKOUT;
    if (do_render) bc_render_bingos(card, layout);
    return card->score;
}

void bc_render_bingos(const t_bingo_card* card, const t_layout_item* layout) {
    if (layout == nullptr) return;
    for_each_line([&](CardLine line) {
        if (line_complete(card, line)) draw_bingo_line(layout, line);
    });
    // The veil goes over the lines already drawn.
    if (all_marked(card))
        put_quad(layout->x, layout->y, layout->w, layout->h, 1, 0, 0, OVERLAY_ALPHA);
}
