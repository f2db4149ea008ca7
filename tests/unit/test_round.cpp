// Rounds played against a model of the rules written apart from the game's code; the clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "round_display.h"

namespace {

// The rules, a part at a time. A question from the next two draws of rand(), each scaled by
// division to an operand from 0 to the level's largest: "left op right = " and its answer.
std::pair<std::string, int> next_question(int type, int level) {
    const unsigned long largest_operand[NUM_SKILL_LEVELS] = {10, 20, 100};
    const unsigned long scale = (RAND_MAX + 1ul) / largest_operand[level];
    const int a = int(rand() / scale);
    const int b = int(rand() / scale);
    const int divisor = a ? a : std::max(b, 1), quotient = a ? b : 0;  // exact, never by 0
    // By type: ADDITION, SUBTRACTION (the larger first), MULTIPLICATION, DIVISION.
    const int left[] = {a, std::max(a, b), a, divisor * quotient};
    const int right[] = {b, std::min(a, b), b, divisor};
    const int answer[] = {a + b, std::abs(a - b), a * b, quotient};
    const std::string sum = std::to_string(left[type]) + ' ' + "+-*/"[type] + ' ';
    return {sum + std::to_string(right[type]) + " = ", answer[type]};
}

// After the questions, the question dealt onto each square, row by row: drawn again while it is
// dealt already, or while rand()'s top values name a 26th.
std::vector<int> deal_order() {
    std::vector<int> order;
    while (order.size() < NUM_QUESTIONS) {
        const int index = rand() / (RAND_MAX / NUM_QUESTIONS);
        if (index < NUM_QUESTIONS && std::count(order.begin(), order.end(), index) == 0)
            order.push_back(index);
    }
    return order;
}

// Square i, row by row.
t_card_square& square(t_bingo_card& card, int i) {
    return card.squares[i / CARD_SIZE][i % CARD_SIZE];
}

// The lines that score, each its five squares (row, column): rows, columns and diagonals.
using Line = std::vector<std::pair<int, int>>;
Line line_from(int row, int col, int down, int right) {
    Line line;
    for (int i = 0; i < CARD_SIZE; i++) line.push_back({row + i * down, col + i * right});
    return line;
}
std::vector<Line> card_lines() {
    std::vector<Line> lines = {line_from(0, 0, 1, 1), line_from(CARD_SIZE - 1, 0, -1, 1)};
    for (int k = 0; k < CARD_SIZE; k++)  // row k, column k
        lines.insert(lines.end(), {line_from(k, 0, 0, 1), line_from(0, k, 1, 0)});
    return lines;
}

bool complete(const t_bingo_card& card, const Line& line) {
    auto marked = [&](auto square) { return card.squares[square.first][square.second].marked; };
    return std::all_of(line.begin(), line.end(), marked);
}
int bingos(const t_bingo_card& card) {
    int complete_lines = 0;
    for (const Line& line : card_lines()) complete_lines += complete(card, line);
    return complete_lines;
}
bool blackout(const t_bingo_card& card) { return bingos(card) == int(card_lines().size()); }

// A tap on an unmarked square holding the current answer marks it and answers the question, the
// cursor moving on to the next unanswered one; on another unmarked square it costs 5 seconds
// (never below 0); on a marked one or off the card, nothing.
constexpr int WRONG_TAP_COST_MS = 5000;
void tap(t_round* round, t_bingo_card* card, float row, float col) {  // in cells from the corner
    if (std::min(row, col) < 0 || std::max(row, col) > CARD_SIZE) return;  // off: edges are on
    const int last = CARD_SIZE - 1;  // the far edge counts for the last row or column
    t_card_square& tapped = card->squares[std::min(int(row), last)][std::min(int(col), last)];
    t_question& current = round->questions[round->curr_q_idx];
    if (tapped.marked) return;
    if (tapped.answer_value != current.answer) {
        round->time_remaining = std::max(0, round->time_remaining - WRONG_TAP_COST_MS);
        return;
    }
    tapped.marked = current.answered = 1;
    int& at = round->curr_q_idx;
    for (int step = 0; step < NUM_QUESTIONS && round->questions[at].answered; step++)
        at = (at + 1) % NUM_QUESTIONS;
}

// Where a step taps, (row, column) in cells from the card's corner: at spots on, at the edges of
// or just off the card, or half the time inside a square holding the current answer.
std::pair<float, float> spot_to_tap(std::mt19937& pick, t_round& round, t_bingo_card& card,
                                    int step) {
    const float spots[] = {-0.01f, 0, 0.5f, 0.99f, 1, 2.5f, 3, 4.99f, 5, 5.01f};
    const float col = spots[pick() % std::size(spots)], row = spots[pick() % std::size(spots)];
    const float in_a_square = std::array{0.0f, 0.5f, 0.99f}[step % 3];
    const bool aimed = pick() % 2;
    std::pair<float, float> spot = {row, col};
    for (int i = 0; aimed && i < NUM_QUESTIONS; i++)
        if (!square(card, i).marked &&
            square(card, i).answer_value == round.questions[round.curr_q_idx].answer)
            spot = {i / CARD_SIZE + in_a_square, i % CARD_SIZE + in_a_square};
    return spot;
}

}  // namespace

// Every type and level, from seeds whose rounds reach rand()'s top values, played to a full card
// by taps at spots on, at the edges of and just off a card that is not square, or aimed at the
// answer, on clocks either side of a wrong tap's cost.
TEST(Round, PlayedFromItsSeedAsTheRulesSay) {
    t_layout_item item = {"bingo_card", 20, 40, 400, 250};
    const int clocks_ms[] = {0, 1, 4999, 5000, 5001, 7999};
    std::mt19937 pick(12345);
    t_round round{};
    t_bingo_card card{};  // each round starts where the last ended, all marked and answered
    for (unsigned seed : {1u, 15700816u, 28280777u, 6297604u, 4239808u})
        for (int kind = 0; kind < NUM_QTYPES * NUM_SKILL_LEVELS; kind++) {
            const int type = kind / NUM_SKILL_LEVELS, level = kind % NUM_SKILL_LEVELS;
            SCOPED_TRACE(std::to_string(seed) + " " + qtype_str[type] + " " +
                         skill_level_str[level]);
            srand(seed);
            round_init(&round, t_question_type(type), t_skill_level(level), 0);
            bc_init(&card, &round);
            srand(seed);  // the deal again, as the rules make it
            for (const t_question& q : round.questions) {
                const auto [sum, answer] = next_question(type, level);
                ASSERT_STREQ(q.text, (sum + "?").c_str());
                ASSERT_STREQ(q.solutiontext, (sum + std::to_string(answer)).c_str());
                ASSERT_EQ(q.answer, answer) << sum;
                ASSERT_FALSE(q.answered) << sum;
            }
            const std::vector<int> dealt = deal_order();
            for (int i = 0; i < NUM_QUESTIONS; i++) {
                ASSERT_EQ(square(card, i).answer_value, round.questions[dealt[i]].answer) << i;
                ASSERT_FALSE(square(card, i).marked) << "square " << i;
            }
            ASSERT_EQ(card.num_bingos, 0);
            ASSERT_EQ(card.blackout, 0);
            for (int step = 0; !blackout(card); step++) {
                const auto [row, col] = spot_to_tap(pick, round, card, step);
                round.time_remaining = clocks_ms[pick() % std::size(clocks_ms)];
                const bool card_given = step % 50;  // now and then no rectangle: ignored
                t_round want_round = round;
                t_bingo_card want_card = card;
                if (card_given) tap(&want_round, &want_card, row, col);
                bc_handle_event_left_click(&card, card_given ? &item : nullptr, &round, nullptr,
                                           item.x + item.w * col / CARD_SIZE,
                                           item.y + item.h * row / CARD_SIZE);
                SCOPED_TRACE(testing::Message() << "step " << step << " at " << col << ", " << row);
                ASSERT_EQ(memcmp(&round, &want_round, sizeof round), 0);
                ASSERT_EQ(memcmp(&card, &want_card, sizeof card), 0);
                const int points =
                    bingos(card) * POINTS_PER_BINGO + blackout(card) * POINTS_PER_BLACKOUT;
                EXPECT_EQ(bc_score(&card, 0, nullptr), points);
                EXPECT_EQ(card.num_bingos, bingos(card));
                EXPECT_EQ(card.blackout, blackout(card));
            }
        }
}

// With every question answered the cursor stays and says so; with one left, it steps either
// way, round the end, onto that one.
TEST(Round, TheCursorStepsToAnUnansweredQuestion) {
    t_round round{};
    for (t_question& question : round.questions) question.answered = 1;
    round.curr_q_idx = 12;
    EXPECT_EQ(round_advance_question(&round), 0);
    EXPECT_EQ(round_previous_question(&round), 0);
    EXPECT_EQ(round.curr_q_idx, 12);
    round.questions[7].answered = 0;
    EXPECT_EQ(round_advance_question(&round), 1);
    EXPECT_EQ(round.curr_q_idx, 7);
    EXPECT_EQ(round_previous_question(&round), 1);
    EXPECT_EQ(round.curr_q_idx, 7);
}

// A square is marked once, and none beyond the card.
TEST(Round, ASquareIsMarkedOnceAndNoneBeyondTheCard) {
    t_bingo_card card{};
    EXPECT_EQ(bc_mark_square(&card, CARD_SIZE, 0), 0) << "below the last row";
    EXPECT_EQ(bc_mark_square(&card, 0, CARD_SIZE), 0) << "right of the last column";
    EXPECT_EQ(bc_mark_square(&card, 4, 4), 1);
    EXPECT_EQ(bc_mark_square(&card, 4, 4), 0) << "marked twice";
}

// The clock shows whole minutes and seconds left, and at 0 that the game is over.
TEST(RoundDisplay, TheClockShowsTheTimeLeft) {
    const std::pair<int, const char*> clocks[] = {
        {61000, "01:01"}, {60000, "01:00"}, {59999, "00:59"}, {999, "00:00"}, {0, "GAME OVER"}};
    char text[ROUND_TIME_TEXT_SIZE];
    for (const auto& [ms, shown] : clocks) {
        round_time_text(ms, text, sizeof text);
        EXPECT_STREQ(text, shown) << ms << " ms";
    }
}
