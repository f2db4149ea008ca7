// Rounds played from their seeds against a model of the rules written apart from the game's code.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>
#include <string>

#include "bingo_card.h"

// A question from two rand() draws scaled by division to 0..max: the larger first for
// subtraction; for division divisor and quotient, a zero divisor giving 0 / the quotient (or
// 0 / 1). Returns the text before the answer.
static std::string replay_question(int type, int max, int* answer) {
    const unsigned long step = 2147483648ul / static_cast<unsigned long>(max);
    int a = static_cast<int>(rand() / step), b = static_cast<int>(rand() / step);
    if (type == SUBTRACTION && b > a) std::swap(a, b);
    if (type == DIVISION && a == 0) a = b ? b : 1, b = 0;
    *answer = std::array{a + b, a - b, a * b, b}[type];
    return std::to_string(type == DIVISION ? a * b : a) + " " + "+-*/"[type] + " " +
           std::to_string(type == DIVISION ? a : b) + " = ";
}

// Every type and level from seeds whose draws reach rand()'s top values (the largest operands; a
// 25 drawn while dealing, thrown away), played by taps at random spots or on the answer. A right
// unmarked square is marked and its question answered, the cursor moving on to the next
// unanswered one; a wrong one costs 5 s (never below 0); a marked square, a tap outside (the
// edges are inside) or a card with no rectangle, nothing. A line scores 1000, a blackout 10000.
TEST(Round, PlayedFromItsSeedAsTheRulesSay) {
    t_layout_item item = {"bingo_card", 20, 40, 400, 250};  // not square, off the origin
    const float spots[] = {-0.01f, 0, 0.5f, 0.99f, 1, 2.5f, 3, 4.99f, 5, 5.01f};  // in cells
    std::mt19937 pick(12345);
    t_round round{};
    t_bingo_card card{};  // each round starts where the last ended, all marked and answered
    for (unsigned seed : {1u, 15700816u, 28280777u, 6297604u, 4239808u}) {
        for (int kind = 0; kind < NUM_QTYPES * NUM_SKILL_LEVELS; kind++) {
            int index = NUM_QUESTIONS, answer = 0, marks = 0;  // marks: a bit a square
            bool used[NUM_QUESTIONS] = {};
            srand(seed);
            round_init(&round, t_question_type(kind / 3), t_skill_level(kind % 3), 12345);
            bc_init(&card, &round);
            const int next_draw = rand();
            srand(seed);
            for (const t_question& q : round.questions) {
                const std::string text =
                    replay_question(kind / 3, std::array{10, 20, 100}[kind % 3], &answer);
                ASSERT_TRUE(q.text == text + "?" && q.answer == answer && !q.answered &&
                            q.solutiontext == text + std::to_string(answer))
                    << seed << " " << kind << ": " << q.solutiontext;
            }
            for (int i = 0; i < NUM_QUESTIONS; i++) {
                while (index == NUM_QUESTIONS || used[index]) index = rand() / 85899345;
                used[index] = true;
                const t_card_square& square = card.squares[i / 5][i % 5];
                ASSERT_TRUE(square.answer_value == round.questions[index].answer && !square.marked);
            }
            ASSERT_TRUE(rand() == next_draw && round.time_remaining == 12345 &&
                        card.num_bingos + card.blackout == 0 && round.skill_level == kind % 3 &&
                        round.question_type == kind / 3);
            for (int step = 0; marks != (1 << 25) - 1; step++) {
                float col = spots[pick() % 10], row = spots[pick() % 10];
                for (int i = pick() % 2 ? 0 : NUM_QUESTIONS; i < NUM_QUESTIONS; i++)  // aimed
                    if (!(marks >> i & 1) && card.squares[i / 5][i % 5].answer_value ==
                                                 round.questions[round.curr_q_idx].answer)
                        col = i % 5 + spots[1 + step % 3], row = i / 5 + spots[1 + step % 3];
                round.time_remaining = static_cast<int>(pick() % 8000);
                t_round want = round;
                t_bingo_card marked = card;
                const int i = std::min(4, int(row)) * 5 + std::min(4, int(col));
                t_question& current = want.questions[want.curr_q_idx];
                const bool open =
                    col >= 0 && col <= 5 && row >= 0 && row <= 5 && step % 50 && !(marks >> i & 1);
                if (open && marked.squares[i / 5][i % 5].answer_value == current.answer) {
                    marked.squares[i / 5][i % 5].marked = current.answered = 1;
                    marks |= 1 << i;
                    while (marks != (1 << 25) - 1 && want.questions[want.curr_q_idx].answered)
                        want.curr_q_idx = (want.curr_q_idx + 1) % NUM_QUESTIONS;
                } else if (open) {
                    want.time_remaining = std::max(0, want.time_remaining - 5000);
                }
                bc_handle_event_left_click(&card, step % 50 ? &item : nullptr, &round, nullptr,
                                           item.x + item.w * col / 5, item.y + item.h * row / 5);
                int lines = ((marks & 0x1041041) == 0x1041041) + ((marks & 0x111110) == 0x111110);
                for (int k = 0; k < CARD_SIZE; k++)
                    lines +=
                        ((marks >> 5 * k & 0x1F) == 0x1F) + ((marks >> k & 0x108421) == 0x108421);
                const int blackout = marks == (1 << 25) - 1, answered = __builtin_popcount(marks);
                ASSERT_TRUE(!memcmp(&card, &marked, sizeof card) &&
                            !memcmp(&round, &want, sizeof round) &&
                            bc_score(&card, 0, nullptr) == lines * 1000 + blackout * 10000 &&
                            card.num_bingos == lines && card.blackout == blackout &&
                            round_num_answered_questions(&round) == answered &&
                            round_num_unanswered_questions(&round) == NUM_QUESTIONS - answered)
                    << seed << " " << kind << " step " << step << " at " << col << ", " << row;
            }
        }
    }
    t_bingo_card blank{};  // nothing beyond the grid is marked
    for (const auto& [row, col] : {std::pair{5, 0}, {0, 5}})
        EXPECT_EQ(bc_mark_square(&blank, row, col), 0);
}
