// Drawing the round and its card: the clock, the current question or its solution, and the
// card with its numbers and marks, each into a layout item. A null item draws nothing.
#pragma once

#include <cstddef>
#include <cstdint>

#include "bingo_card.h"
#include "layout.h"
#include "round.h"

constexpr int ROUND_TIME_TEXT_SIZE = 16;

// The clock's text: "mm:ss" of whole seconds left, or "GAME OVER" at exactly 0.
void round_time_text(int32_t time_remaining, char* text, std::size_t size);

void round_time_render(t_round* b_round, t_layout_item* layout);      // the clock's text
void round_question_render(t_round* b_round, t_layout_item* layout);  // the current question
void round_solution_render(t_round* b_round, t_layout_item* layout);  // its solution line
void bc_render(t_bingo_card* card, t_layout_item* layout);
