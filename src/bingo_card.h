// The 5 x 5 card dealt from a round's answers: dealing, judging taps and scoring.
#pragma once

#include <cstdint>

#include "layout.h"
#include "player.h"
#include "round.h"

constexpr int CARD_SIZE = 5;
constexpr int POINTS_PER_BINGO = 1000;      // each complete row, column or diagonal
constexpr int POINTS_PER_BLACKOUT = 10000;  // every square marked

struct s_card_square {
    int32_t answer_value;  // the number shown
    int32_t marked;        // 1 once tapped right
};
using t_card_square = s_card_square;

struct s_bingo_card {
    t_card_square squares[CARD_SIZE][CARD_SIZE];  // [row][col], row 0 at the top
    int32_t score;                                // card points, written by bc_score
    int32_t num_bingos;                           // complete lines, written by bc_score
    int32_t blackout;  // 1 when every square is marked, written by bc_score
};
using t_bingo_card = s_bingo_card;

extern t_bingo_card bingo_card;

// Clears the marks; with a round (may be null) deals its 25 answers at random.
void bc_init(t_bingo_card* card, t_round* b_round);
// 1 if the square was unmarked and is now marked, 0 if it already was.
int bc_mark_square(t_bingo_card* card, int row, int col);
// Judges a tap in game coordinates on the card drawn in `layout`: a right square is
// marked and its question answered; a wrong one costs 5000 ms. Null layout: ignored.
void bc_handle_event_left_click(t_bingo_card* card, t_layout_item* layout, t_round* round,
                                t_player* player, float event_x, float event_y);
// Centre of cell `index` (0..4) along one side of the card drawn from `origin` over `extent`:
// the point a square is drawn around and a bingo line passes through.
float bc_cell_centre(float origin, float extent, int index);
// Counts bingos and blackout into the card and returns its points; with do_render also draws
// them as bc_render_bingos does.
int bc_score(t_bingo_card* card, int do_render, t_layout_item* layout);
// Draws the bingo lines and the blackout veil of the card's marks over the card in `layout`
// (nothing for a null layout), and changes nothing: a frame's drawing may run it at will.
void bc_render_bingos(const t_bingo_card* card, const t_layout_item* layout);
