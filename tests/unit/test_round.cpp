// Rounds played from their seeds against a model of the rules written apart from the game's
// code: the questions and the deal replayed from the same rand() calls; each tap, cursor step
// and score judged.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include "bingo_card.h"

// Two draws scaled by division to 0..max, the larger first for subtraction; for division,
// divisor and quotient, a zero divisor giving 0 / the quotient (or 0 / 1). Returns the text
// before the answer.
static std::string replay_question(int type, int max, int* answer) {
    const unsigned long step = 2147483648ul / static_cast<unsigned long>(max);
    int a = static_cast<int>(rand() / step), b = static_cast<int>(rand() / step);
    if (type == SUBTRACTION && b > a) std::swap(a, b);
    if (type == DIVISION && a == 0) a = b ? b : 1, b = 0;
    *answer = std::array{a + b, a - b, a * b, b}[type];
    return std::to_string(type == DIVISION ? a * b : a) + " " + "+-*/"[type] + " " +
           std::to_string(type == DIVISION ? a : b) + " = ";
}

// The next unanswered question stepping `way`, round the end; with none left, the same.
static int next_unanswered(const t_round& round, int way) {
    for (int i = 1; i <= NUM_QUESTIONS; i++) {
        const int k = (round.curr_q_idx + way * i + NUM_QUESTIONS) % NUM_QUESTIONS;
        if (!round.questions[k].answered) return k;
    }
    return round.curr_q_idx;
}

// {points, lines, blackout}: 1000 a complete row, column or diagonal, 10000 more for all 25.
static std::array<int, 3> card_score(const t_bingo_card& card, int answered) {
    auto line = [&](int row, int col, int drow, int dcol) {
        for (int i = 0; i < CARD_SIZE; i++)
            if (!card.squares[row + i * drow][col + i * dcol].marked) return 0;
        return 1;
    };
    int lines = line(0, 0, 1, 1) + line(4, 0, -1, 1);
    for (int k = 0; k < CARD_SIZE; k++) lines += line(k, 0, 0, 1) + line(0, k, 1, 0);
    return {lines * 1000 + (answered == 25) * 10000, lines, answered == 25};
}

// Every type and level, from seeds whose draws reach rand()'s top values: the largest operands
// and a 25 drawn while dealing, thrown away like a used index. Then the cursor stepped either
// way, and taps at random spots (edges, corners and beyond) or on a square holding the answer,
// each judged on the square under it: the card's rectangle in 5 x 5 cells, edges included, the
// far edges counting for the last cells. A right unmarked square is marked and its question
// answered, the cursor moving on; a wrong one costs 5 s (never below 0); a marked square, a tap
// outside or a card with no rectangle, nothing.
TEST(Round, PlayedFromItsSeedAsTheRulesSay) {
    t_layout_item item = {"bingo_card", 20, 40, 400, 250};  // not square, off the origin
    const float spots[] = {-0.01f, 0, 0.5f, 0.99f, 1, 2.5f, 3, 4.99f, 5, 5.01f};  // in cells
    std::mt19937 pick(12345);
    t_round round{};
    t_bingo_card card{};  // each round starts where the last ended: all marked and answered
    for (unsigned seed : {1u, 2u, 15700816u, 28280777u, 6297604u, 4239808u}) {
        for (int kind = 0; kind < NUM_QTYPES * NUM_SKILL_LEVELS; kind++) {
            std::string texts[NUM_QUESTIONS];
            int answers[NUM_QUESTIONS], dealt[NUM_QUESTIONS], answered = 0;
            bool used[NUM_QUESTIONS] = {};
            srand(seed);
            for (int i = 0; i < NUM_QUESTIONS; i++)
                texts[i] =
                    replay_question(kind / 3, std::array{10, 20, 100}[kind % 3], &answers[i]);
            for (int& number : dealt) {
                int index = NUM_QUESTIONS;
                while (index == NUM_QUESTIONS || used[index]) index = rand() / 85899345;
                used[index] = true, number = answers[index];
            }
            const int next_draw = rand(), cursor = round.curr_q_idx;
            srand(seed);
            round_init(&round, t_question_type(kind / 3), t_skill_level(kind % 3), 12345);
            bc_init(&card, &round);
            ASSERT_TRUE(rand() == next_draw && round.time_remaining == 12345 &&
                        round.curr_q_idx == cursor && round.question_type == kind / 3 &&
                        round.skill_level == kind % 3 && card.num_bingos + card.blackout == 0);
            for (int i = 0; i < NUM_QUESTIONS; i++) {
                const t_question& q = round.questions[i];
                ASSERT_TRUE(q.text == texts[i] + "?" && q.answer == answers[i] &&
                            q.solutiontext == texts[i] + std::to_string(answers[i]) &&
                            !q.answered && card.squares[i / 5][i % 5].answer_value == dealt[i] &&
                            !card.squares[i / 5][i % 5].marked)
                    << seed << " " << kind << " " << i << ": " << q.solutiontext;
            }
            for (int step = 0; step < 200; step++) {
                const int move = static_cast<int>(pick() % 4);  // 0 back, 1 on, else a tap
                float col = spots[pick() % 10], row = spots[pick() % 10];
                for (int i = 0; move == 2 && i < NUM_QUESTIONS; i++)  // aimed at the answer
                    if (!card.squares[i / 5][i % 5].marked &&
                        card.squares[i / 5][i % 5].answer_value ==
                            round.questions[round.curr_q_idx].answer)
                        col = i % 5 + spots[1 + step % 3], row = i / 5 + spots[1 + step % 3];
                round.time_remaining = static_cast<int>(pick() % 8000);
                t_round want = round;
                t_bingo_card want_card = card;
                t_card_square& square =
                    want_card.squares[std::min(4, int(row))][std::min(4, int(col))];
                t_question& current = want.questions[want.curr_q_idx];
                const bool on_card = col >= 0 && col <= 5 && row >= 0 && row <= 5 && step % 50;
                if (move < 2) {
                    want.curr_q_idx = next_unanswered(round, move ? 1 : -1);
                    ASSERT_EQ((move ? round_advance_question : round_previous_question)(&round),
                              answered < NUM_QUESTIONS);
                } else if (on_card && !square.marked && square.answer_value == current.answer) {
                    square.marked = current.answered = 1;
                    want.curr_q_idx = next_unanswered(want, 1);
                    answered++;
                } else if (on_card && !square.marked) {
                    want.time_remaining = std::max(0, want.time_remaining - 5000);
                }
                if (move >= 2)
                    bc_handle_event_left_click(&card, step % 50 ? &item : nullptr, &round, nullptr,
                                               item.x + item.w * col / 5,
                                               item.y + item.h * row / 5);
                const auto score = card_score(want_card, answered);
                ASSERT_TRUE(!memcmp(&card, &want_card, sizeof card) &&
                            !memcmp(&round, &want, sizeof round) &&
                            round_num_answered_questions(&round) == answered &&
                            round_num_unanswered_questions(&round) == NUM_QUESTIONS - answered &&
                            bc_score(&card, 0, nullptr) == score[0] &&
                            bc_score(&card, 0, nullptr) == score[0] && card.score == score[0] &&
                            card.num_bingos == score[1] && card.blackout == score[2])
                    << seed << " " << kind << " step " << step << " at " << col << ", " << row;
            }
            ASSERT_EQ(answered, NUM_QUESTIONS) << seed << " " << kind << ": played to the end";
        }
    }
    // Marking works once and only inside the grid; 50 points a whole second left.
    for (const auto& m : {std::array{0, 0, 0}, {5, 0, 0}, {0, 5, 0}, {-1, 0, 0}, {0, -1, 0}})
        EXPECT_EQ(bc_mark_square(&card, m[0], m[1]), m[2]) << m[0] << ", " << m[1];
    for (const auto& [ms, bonus] : {std::pair{999, 0}, {1000, 50}, {59999, 2950}}) {
        round.time_remaining = ms;
        EXPECT_EQ(round_time_bonus(&round), bonus) << ms << " ms";
    }
}
