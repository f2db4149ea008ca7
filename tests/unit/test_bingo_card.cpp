// The card: dealing, judging taps, the card/round invariant, and scoring.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <random>
#include <set>
#include <utility>
#include <vector>

#include "bingo_card.h"

namespace {

t_layout_item square_card = {"bingo_card", 100, 50, 300, 300};
t_layout_item wide_card = {"bingo_card", 20, 40, 400, 250};

// Which question each square gets, replaying the deal on the reference rand() sequence.
std::vector<int> reference_deal(unsigned seed, bool* saw_25) {
    srand(seed);
    for (int i = 0; i < 50; i++) rand();  // the round's draws
    std::vector<int> dealt;
    bool used[NUM_QUESTIONS] = {};
    while (static_cast<int>(dealt.size()) < NUM_QUESTIONS) {
        int qindex = rand() / 85899345;
        if (qindex == NUM_QUESTIONS) *saw_25 = true;
        if (qindex == NUM_QUESTIONS || used[qindex]) continue;
        used[qindex] = true;
        dealt.push_back(qindex);
    }
    return dealt;
}

// A card numbered 100 + row * 5 + col, all unmarked; the current question's answer is set
// to the number of (row, col) and the clock has 60 s.
struct Table {
    t_bingo_card card{};
    t_round round{};
    explicit Table(int row = 0, int col = 0) {
        for (int r = 0; r < CARD_SIZE; r++)
            for (int c = 0; c < CARD_SIZE; c++) card.squares[r][c].answer_value = 100 + r * 5 + c;
        for (int i = 0; i < NUM_QUESTIONS; i++) round.questions[i].answer = 100 + i;
        round.curr_q_idx = row * CARD_SIZE + col;
        round.time_remaining = 60000;
    }
    void tap(t_layout_item* layout, float x, float y) {
        bc_handle_event_left_click(&card, layout, &round, nullptr, x, y);
    }
    int num_marked() const {
        int n = 0;
        for (const auto& row : card.squares)
            for (const t_card_square& square : row) n += square.marked;
        return n;
    }
};

// A tap at (x, y) must mark exactly square (row, col) at no cost.
void expect_tap_judged_on(t_layout_item* layout, float x, float y, int row, int col) {
    Table t(row, col);
    t.tap(layout, x, y);
    EXPECT_TRUE(t.card.squares[row][col].marked && t.num_marked() == 1 &&
                t.round.time_remaining == 60000)
        << "tap " << x << "," << y;
}

void expect_tap_ignored(t_layout_item* layout, float x, float y) {
    Table t;
    t.tap(layout, x, y);
    EXPECT_TRUE(t.num_marked() == 0 && t.round.time_remaining == 60000) << "tap " << x << "," << y;
}

// Taps the centre of the first unmarked square that holds the current answer, if any.
void tap_current_answer(t_bingo_card* card, t_layout_item* l, t_round* round) {
    for (int i = 0; i < NUM_QUESTIONS; i++) {
        const t_card_square& sq = card->squares[i / CARD_SIZE][i % CARD_SIZE];
        if (sq.marked || sq.answer_value != round->questions[round->curr_q_idx].answer) continue;
        bc_handle_event_left_click(card, l, round, nullptr,
                                   l->x + l->w * (i % CARD_SIZE + 0.5f) / 5,
                                   l->y + l->h * (i / CARD_SIZE + 0.5f) / 5);
        return;
    }
}

t_bingo_card card_marked(std::vector<std::pair<int, int>> squares) {
    t_bingo_card card{};
    for (auto [row, col] : squares) card.squares[row][col].marked = 1;
    return card;
}

}  // namespace

TEST(CardDeal, RearrangesTheRoundsAnswersInTheReplayedOrder) {
    bool saw_25 = false;
    for (unsigned seed : {1u, 2u, 3u, 77u, 4239808u}) {  // 4239808 draws a 25 while dealing
        std::vector<int> dealt = reference_deal(seed, &saw_25);
        int next_draw = rand();
        t_round round{};
        t_bingo_card card{};
        card.squares[2][2].marked = card.num_bingos = card.blackout = 1;
        srand(seed);
        round_init(&round, t_question_type(seed % NUM_QTYPES), HARD, 60000);
        bc_init(&card, &round);
        EXPECT_EQ(rand(), next_draw) << "seed " << seed << ": draw count differs";
        std::vector<int> on_card, answers;
        for (int i = 0; i < NUM_QUESTIONS; i++) {
            const t_card_square& square = card.squares[i / CARD_SIZE][i % CARD_SIZE];
            EXPECT_EQ(square.answer_value, round.questions[dealt[i]].answer);
            EXPECT_EQ(square.marked, 0);
            on_card.push_back(square.answer_value);
            answers.push_back(round.questions[i].answer);
        }
        std::sort(on_card.begin(), on_card.end());
        std::sort(answers.begin(), answers.end());
        EXPECT_EQ(on_card, answers) << "seed " << seed;
        EXPECT_EQ(card.num_bingos + card.blackout, 0);
    }
    EXPECT_TRUE(saw_25) << "no seed exercised a draw of 25";
}

TEST(CardMark, MarksOnceOnlyInsideTheGridAndADealWithoutARoundClearsMarksKeepingNumbers) {
    Table t;
    EXPECT_EQ(bc_mark_square(&t.card, 4, 4), 1);
    EXPECT_EQ(bc_mark_square(&t.card, 4, 4), 0);
    EXPECT_EQ(bc_mark_square(&t.card, 5, 0), 0);
    EXPECT_EQ(bc_mark_square(&t.card, 0, -1), 0);
    EXPECT_EQ(t.num_marked(), 1);

    t.card.num_bingos = t.card.blackout = 1;
    srand(5);
    const int next_draw = rand();
    srand(5);
    bc_init(&t.card, nullptr);
    EXPECT_EQ(rand(), next_draw) << "no draws without a round";
    EXPECT_EQ(t.num_marked() + t.card.num_bingos + t.card.blackout, 0);
    EXPECT_EQ(t.card.squares[4][4].answer_value, 124);
}

TEST(CardTap, EqualNumbersMarkOnlyTheTappedSquareAndMarkedSquaresCostNothing) {
    Table t;
    t.round.questions[0].answer = t.round.questions[1].answer = 7;
    t.card.squares[1][1].answer_value = t.card.squares[3][4].answer_value = 7;
    t.round.curr_q_idx = 0;
    t.tap(&square_card, 370, 260);  // square (3, 4)
    EXPECT_TRUE(t.card.squares[3][4].marked);
    EXPECT_FALSE(t.card.squares[1][1].marked);
    EXPECT_EQ(t.round.questions[0].answered, 1);
    EXPECT_EQ(t.round.curr_q_idx, 1);
    t.tap(&square_card, 370, 260);  // marked, though it holds the current answer
    EXPECT_EQ(t.round.questions[1].answered, 0);
    EXPECT_EQ(t.round.time_remaining, 60000);
    t.tap(&square_card, 190, 140);  // square (1, 1)
    EXPECT_TRUE(t.card.squares[1][1].marked);
    EXPECT_EQ(t.round.questions[1].answered, 1);
    EXPECT_EQ(t.round.curr_q_idx, 2);
    EXPECT_EQ(t.round.time_remaining, 60000);
}

TEST(CardTap, WrongTapCostsFiveSecondsButNeverBelowZero) {
    const int cases[][2] = {{5001, 1}, {5000, 0}, {3000, 0}};
    for (const auto& c : cases) {
        Table t(2, 2);
        t.round.time_remaining = c[0];
        t.tap(&square_card, 130, 80);  // square (0, 0)
        EXPECT_EQ(t.round.time_remaining, c[1]) << c[0] << " ms";
        EXPECT_EQ(t.num_marked(), 0);
        EXPECT_EQ(t.round.curr_q_idx, 12);
    }
}

// Taps on the card's far edges would give row or column 5: they count for the last one.
TEST(CardTap, EveryCellEdgeAndCornerIsJudgedOnItsSquareAndOutsideIsIgnored) {
    t_layout_item* l = &wide_card;  // not square: rows and columns have their own sizes
    const float left = l->x, top = l->y, right = l->x + l->w, bottom = l->y + l->h;
    const float mid_x = l->x + l->w / 2, mid_y = l->y + l->h / 2;
    expect_tap_judged_on(l, right, top, 0, 4);
    expect_tap_judged_on(l, left, bottom, 4, 0);
    expect_tap_judged_on(l, right, bottom, 4, 4);
    expect_tap_judged_on(l, right, mid_y, 2, 4);
    expect_tap_judged_on(l, mid_x, bottom, 4, 2);
    const float cell_w = l->w / 5, cell_h = l->h / 5;
    for (int row = 0; row < CARD_SIZE; row++) {
        for (int col = 0; col < CARD_SIZE; col++) {
            const float x = l->x + col * cell_w, y = l->y + row * cell_h;
            expect_tap_judged_on(l, x, y, row, col);  // the top-left corner belongs to it
            expect_tap_judged_on(l, x + 0.99f * cell_w, y + 0.99f * cell_h, row, col);
        }
    }
    const std::pair<float, float> outside[] = {
        {left - 0.5f, mid_y}, {right + 0.5f, mid_y}, {mid_x, top - 0.5f}, {mid_x, bottom + 0.5f}};
    for (auto [x, y] : outside) expect_tap_ignored(l, x, y);
    expect_tap_ignored(nullptr, mid_x, mid_y);
}

// Taps and skips at random: the numbers left unmarked must always be the answers still to
// give, as multisets, so every unanswered question can still be answered.
TEST(CardInvariant, UnmarkedNumbersAreTheUnansweredAnswers) {
    std::mt19937 pick(12345);
    for (unsigned seed = 1; seed <= 40; seed++) {
        t_round round{};
        t_bingo_card card{};
        srand(seed);
        round_init(&round, t_question_type(seed % NUM_QTYPES), EASY, 1 << 30);
        bc_init(&card, &round);
        t_layout_item* l = seed % 2 ? &square_card : &wide_card;
        std::uniform_real_distribution<float> anywhere_x(l->x - 10, l->x + l->w + 10),
            anywhere_y(l->y - 10, l->y + l->h + 10);
        for (int step = 0; step < 300; step++) {
            int action = pick() % 3;
            if (action == 0) round_advance_question(&round);
            if (action == 1) {
                bc_handle_event_left_click(&card, l, &round, nullptr, anywhere_x(pick),
                                           anywhere_y(pick));
            }
            if (action == 2) tap_current_answer(&card, l, &round);
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

TEST(CardScore, LinesDiagonalsAndBlackout) {
    struct {
        std::vector<std::pair<int, int>> marked;
        int score, bingos;
    } cases[] = {
        {{}, 0, 0},
        {{{2, 0}, {2, 1}, {2, 2}, {2, 3}}, 0, 0},
        {{{2, 0}, {2, 1}, {2, 2}, {2, 3}, {2, 4}, {0, 3}, {1, 3}, {3, 3}, {4, 3}}, 2000, 2},
        {{{0, 0}, {1, 1}, {2, 2}, {3, 3}, {4, 4}, {0, 4}, {1, 3}, {3, 1}, {4, 0}}, 2000, 2},
    };
    for (const auto& c : cases) {
        t_bingo_card card = card_marked(c.marked);
        EXPECT_EQ(bc_score(&card, 0, nullptr), c.score);
        EXPECT_EQ(card.score, c.score);
        EXPECT_EQ(card.num_bingos, c.bingos);
        EXPECT_EQ(card.blackout, 0);
    }
    t_bingo_card card = card_marked({});
    for (auto& row : card.squares)
        for (t_card_square& sq : row) sq.marked = 1;
    EXPECT_EQ(bc_score(&card, 0, nullptr), 22000);
    EXPECT_EQ(card.num_bingos, 12);
    EXPECT_EQ(card.blackout, 1);
    // Scored again, every line through the centre and the blackout are lost; scoring twice
    // gives the same result, so nothing is added to the last count.
    card.squares[2][2].marked = 0;
    for (int pass = 0; pass < 2; pass++) {
        EXPECT_EQ(bc_score(&card, 0, nullptr), 8000);
        EXPECT_EQ(card.num_bingos, 8);
        EXPECT_EQ(card.blackout, 0);
    }
}
