// The card in play: judging taps, the card/round invariant, marking, and scoring.
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <random>
#include <set>
#include <vector>

#include "bingo_card.h"

namespace {

// Not square, and off the origin: rows and columns have sizes of their own.
t_layout_item card_item = {"bingo_card", 20, 40, 400, 250};

float cell_x(float col) { return card_item.x + card_item.w * col / CARD_SIZE; }
float cell_y(float row) { return card_item.y + card_item.h * row / CARD_SIZE; }

// A card numbered 100 + square, all unmarked, the answers in the same order, 60 s left.
struct Table {
    t_bingo_card card{};
    t_round round{};
    explicit Table(int current) {
        for (int i = 0; i < NUM_QUESTIONS; i++) {
            card.squares[i / CARD_SIZE][i % CARD_SIZE].answer_value = 100 + i;
            round.questions[i].answer = 100 + i;
        }
        round.curr_q_idx = current;
        round.time_remaining = 60000;
    }
    int marks() const {  // bit i for square i, row by row
        int marked = 0;
        for (int i = 0; i < NUM_QUESTIONS; i++) marked |= card.squares[i / 5][i % 5].marked << i;
        return marked;
    }
    int tap(float x, float y, t_layout_item* item = &card_item) {
        bc_handle_event_left_click(&card, item, &round, nullptr, x, y);
        return marks();
    }
};

}  // namespace

// A right tap marks that square only, answers the question and moves on, at no cost; edges
// and corners count for their squares (the far edges for the last), outside counts not.
TEST(CardTap, RightTapsMarkTheirSquareAnywhereOnItAndOutsideIsIgnored) {
    for (int i = 0; i < NUM_QUESTIONS; i++) {
        const int row = i / CARD_SIZE, col = i % CARD_SIZE;
        const float spots[][2] = {{cell_x(col), cell_y(row)},
                                  {cell_x(col + 0.99f), cell_y(row + 0.99f)},
                                  {cell_x(col + 1.0f - (col < 4)), cell_y(row + 1.0f - (row < 4))}};
        for (const auto& spot : spots) {
            Table t(i);
            EXPECT_EQ(t.tap(spot[0], spot[1]), 1 << i) << spot[0] << ", " << spot[1];
            EXPECT_TRUE(t.round.questions[i].answered && t.round.time_remaining == 60000);
            EXPECT_EQ(t.round.curr_q_idx, (i + 1) % NUM_QUESTIONS);
        }
    }
    const float mid_x = cell_x(2.5f), mid_y = cell_y(2.5f);
    const float outside[][2] = {{cell_x(0) - 0.5f, mid_y},
                                {cell_x(5) + 0.5f, mid_y},
                                {mid_x, cell_y(0) - 0.5f},
                                {mid_x, cell_y(5) + 0.5f}};
    for (const auto& spot : outside) {
        Table t(12);
        EXPECT_EQ(t.tap(spot[0], spot[1]), 0);
        EXPECT_EQ(t.round.time_remaining, 60000);
    }
    Table t(12);
    EXPECT_EQ(t.tap(mid_x, mid_y, nullptr), 0);
}

// A wrong square costs five seconds (never below zero) and marks nothing; a marked square,
// even one holding the current answer, costs nothing; of two squares with the current
// answer only the tapped one is marked.
TEST(CardTap, WrongTapsCostFiveSecondsAndMarkedSquaresNothing) {
    for (const auto& c : {std::pair{5001, 1}, {5000, 0}, {3000, 0}}) {
        Table t(12);
        t.round.time_remaining = c.first;
        EXPECT_EQ(t.tap(cell_x(0.5f), cell_y(0.5f)), 0);
        EXPECT_EQ(t.round.time_remaining, c.second) << c.first << " ms";
        EXPECT_EQ(t.round.curr_q_idx, 12);
    }
    Table t(0);
    t.round.questions[1].answer = t.card.squares[0][0].answer_value = 7;
    t.card.squares[3][4].answer_value = t.round.questions[0].answer = 7;
    EXPECT_EQ(t.tap(cell_x(4.5f), cell_y(3.5f)), 1 << 19);
    EXPECT_EQ(t.tap(cell_x(4.5f), cell_y(3.5f)), 1 << 19);
    EXPECT_EQ(t.round.questions[1].answered, 0);
    EXPECT_EQ(t.tap(cell_x(0.5f), cell_y(0.5f)), 1 << 19 | 1);
    EXPECT_EQ(t.round.time_remaining, 60000);
}

// Taps and skips at random: the numbers left unmarked are always the answers still to give,
// as multisets, so every question can still be answered.
TEST(CardInvariant, UnmarkedNumbersAreTheUnansweredAnswers) {
    std::mt19937 pick(12345);
    std::uniform_real_distribution<float> across(cell_x(-0.1f), cell_x(5.1f)),
        down(cell_y(-0.1f), cell_y(5.1f));
    for (unsigned seed = 1; seed <= 40; seed++) {
        t_round round{};
        t_bingo_card card{};
        srand(seed);
        round_init(&round, t_question_type(seed % NUM_QTYPES), EASY, 1 << 30);
        bc_init(&card, &round);
        for (int step = 0; step < 300; step++) {
            const unsigned action = pick() % 3;
            if (action == 0) round_advance_question(&round);
            for (int i = 0; action == 1 && i < NUM_QUESTIONS; i++) {  // the right square
                const t_card_square& sq = card.squares[i / CARD_SIZE][i % CARD_SIZE];
                if (sq.marked || sq.answer_value != round.questions[round.curr_q_idx].answer)
                    continue;
                bc_handle_event_left_click(&card, &card_item, &round, nullptr, cell_x(i % 5 + 0.5f),
                                           cell_y(i / 5 + 0.5f));
                break;
            }
            if (action == 2)
                bc_handle_event_left_click(&card, &card_item, &round, nullptr, across(pick),
                                           down(pick));
            std::multiset<int> unmarked, unanswered;
            for (const auto& row : card.squares)
                for (const t_card_square& sq : row)
                    if (!sq.marked) unmarked.insert(sq.answer_value);
            for (const t_question& q : round.questions)
                if (!q.answered) unanswered.insert(q.answer);
            ASSERT_EQ(unmarked, unanswered) << "seed " << seed << " step " << step;
        }
        EXPECT_EQ(round_num_unanswered_questions(&round), 0) << "seed " << seed;
    }
}

// Marking works once and only inside the grid; a new deal without a round clears the marks
// and the score but keeps the numbers, drawing nothing.
TEST(CardMark, OnceInsideTheGridAndClearedByADealWithoutARound) {
    Table t(0);
    const int marks[][3] = {{4, 4, 1}, {4, 4, 0}, {5, 0, 0}, {0, 5, 0}, {-1, 0, 0}, {0, -1, 0}};
    for (const auto& m : marks) EXPECT_EQ(bc_mark_square(&t.card, m[0], m[1]), m[2]);
    EXPECT_EQ(t.marks(), 1 << 24);
    t.card.num_bingos = t.card.blackout = 1;
    srand(5);
    const int next_draw = rand();
    srand(5);
    bc_init(&t.card, nullptr);
    EXPECT_EQ(rand(), next_draw);
    EXPECT_EQ(t.marks() + t.card.num_bingos + t.card.blackout, 0);
    EXPECT_EQ(t.card.squares[4][4].answer_value, 124);
}

// 1000 points a line (rows, columns, both diagonals), 10000 more for a blackout; scoring
// again counts afresh.
TEST(CardScore, LinesDiagonalsAndBlackout) {
    const int row = 0x1F, column = 0x108421, all = (1 << 25) - 1;  // squares marked, as bits
    std::vector<std::array<int, 4>> cases = {
        // marks, points, bingos, blackout
        {0, 0, 0, 0},
        {row << 10 & ~(1 << 14), 0, 0, 0},
        {row << 10 | column << 3, 2000, 2, 0},
        {0x1041041 | 0x111110, 2000, 2, 0},  // the diagonals
        {all, 22000, 12, 1},
        {all & ~(1 << 12), 8000, 8, 0},  // every line through the centre lost
    };
    for (int k = 0; k < CARD_SIZE; k++) {
        cases.push_back({row << 5 * k, 1000, 1, 0});
        cases.push_back({column << k, 1000, 1, 0});
    }
    for (const auto& c : cases) {
        Table t(0);
        for (int i = 0; i < NUM_QUESTIONS; i++) t.card.squares[i / 5][i % 5].marked = c[0] >> i & 1;
        for (int pass = 0; pass < 2; pass++) {
            EXPECT_EQ(bc_score(&t.card, 0, nullptr), c[1]) << std::hex << c[0];
            EXPECT_TRUE(t.card.score == c[1] && t.card.num_bingos == c[2] &&
                        t.card.blackout == c[3]);
        }
    }
}
