// Drawing the round and its card: the clock, the current question or its solution, and the
// card with its numbers and marks, each into a layout item. A null item draws nothing.
#pragma once

#include "bingo_card.h"
#include "layout.h"
#include "round.h"

void round_time_render(t_round* b_round, t_layout_item* layout);      // "01:00", or "GAME OVER" at 0
void round_question_render(t_round* b_round, t_layout_item* layout);  // the current question
void round_solution_render(t_round* b_round, t_layout_item* layout);  // its solution line
void bc_render(t_bingo_card* card, t_layout_item* layout);
