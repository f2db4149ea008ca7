// Rounds and cards: deals replayed from the seed, the cursor, taps judged on the card, and
// scoring.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "bingo_card.h"
#include "round_oracle.h"

// Every type and level, replayed by the oracle. The last seeds reach rand()'s rare top values:
// the largest operands (10, 20, 100, and 2200 / 22 = 100) and a 25 drawn while dealing.
TEST(RoundAndCard, DealtAsTheSeedReplaysThem) {
    for (unsigned seed : {1u, 2u, 3u, 4u, 5u, 6u, 15700816u, 28280777u, 6297604u, 4239808u}) {
        for (int kind = 0; kind < NUM_QTYPES * NUM_SKILL_LEVELS; kind++) {
            oracle::Question want[NUM_QUESTIONS];
            int want_card[NUM_QUESTIONS];
            srand(seed);
            oracle::make_round(kind / 3, kind % 3, want);
            oracle::deal(want, want_card);
            const int next_draw = rand();
            t_round round{};
            for (t_question& q : round.questions) q.answered = 1;
            round.curr_q_idx = 17;  // kept
            t_bingo_card card{};
            card.squares[2][2].marked = card.num_bingos = card.blackout = 1;
            srand(seed);
            round_init(&round, t_question_type(kind / 3), t_skill_level(kind % 3), 12345);
            bc_init(&card, &round);
            EXPECT_EQ(rand(), next_draw) << "another number of draws";
            for (int i = 0; i < NUM_QUESTIONS; i++) {
                const t_question& q = round.questions[i];
                std::string solution = want[i].text;
                solution.replace(solution.size() - 1, 1, std::to_string(want[i].answer));
                ASSERT_TRUE(q.text == std::string(want[i].text) && q.answer == want[i].answer &&
                            q.solutiontext == solution && !q.answered)
                    << seed << " " << kind << ": " << q.solutiontext << " for " << solution;
                const t_card_square& square = card.squares[i / CARD_SIZE][i % CARD_SIZE];
                EXPECT_TRUE(square.answer_value == want_card[i] && !square.marked) << i;
            }
            EXPECT_TRUE(round.time_remaining == 12345 && round.curr_q_idx == 17 &&
                        round.question_type == kind / 3 && round.skill_level == kind % 3 &&
                        card.num_bingos + card.blackout == 0);
        }
    }
}

// The cursor goes to the next (or previous) unanswered question, round the end; with none
// left it stays and says so. Also: the counts, and 50 bonus points per whole second left.
TEST(RoundCursor, StepsEitherWayToTheUnansweredOrStays) {
    const struct {
        std::set<int> unanswered;
        int from, next, previous;
    } cases[] = {{{7}, 3, 7, 7},       {{7}, 7, 7, 7},    {{7}, 20, 7, 7},
                 {{0, 24}, 0, 24, 24}, {{2, 5}, 3, 5, 2}, {{}, 13, 13, 13}};
    for (const auto& c : cases) {
        t_round round{};
        for (int i = 0; i < NUM_QUESTIONS; i++)
            round.questions[i].answered = !c.unanswered.count(i);
        const int left = static_cast<int>(c.unanswered.size());
        EXPECT_EQ(round_num_unanswered_questions(&round), left);
        EXPECT_EQ(round_num_answered_questions(&round), NUM_QUESTIONS - left);
        round.curr_q_idx = c.from;
        EXPECT_TRUE(round_advance_question(&round) == (left > 0) && round.curr_q_idx == c.next);
        round.curr_q_idx = c.from;
        EXPECT_TRUE(round_previous_question(&round) == (left > 0) &&
                    round.curr_q_idx == c.previous);
    }
    t_round round{};
    for (const auto& [ms, bonus] : {std::pair{999, 0}, {1000, 50}, {59999, 2950}, {60000, 3000}}) {
        round.time_remaining = ms;
        EXPECT_EQ(round_time_bonus(&round), bonus) << ms << " ms";
    }
}

// Taps at random spots (edges, corners and beyond included) and on squares holding the answer,
// on dealt rounds, each judged on the square under it by the rules: the card's rectangle in
// 5 x 5 cells, edges included, the far edges counting for the last cells. A right unmarked
// square is marked and its question answered, the cursor moving on, at no cost; a wrong one
// costs 5 s (never below 0); a marked square, a tap outside or a card with no rectangle,
// nothing.
TEST(CardTap, EveryTapIsJudgedOnTheSquareUnderIt) {
    t_layout_item item = {"bingo_card", 20, 40, 400, 250};  // not square, off the origin
    const float spots[] = {-0.01f, 0, 0.5f, 0.99f, 1, 2.5f, 3, 4.99f, 5, 5.01f};  // in cells
    std::mt19937 pick(12345);
    for (unsigned seed = 1; seed <= 40; seed++) {
        t_round round{};
        t_bingo_card card{};
        srand(seed);
        round_init(&round, t_question_type(seed % NUM_QTYPES), EASY, 0);
        bc_init(&card, &round);
        for (int step = 0; step < 500 && round_num_unanswered_questions(&round); step++) {
            if (pick() % 4 == 0) round_advance_question(&round);
            float col = spots[pick() % 10], row = spots[pick() % 10];
            const bool aim = pick() % 2;
            for (int i = 0; aim && i < NUM_QUESTIONS; i++) {
                const t_card_square& square = card.squares[i / 5][i % 5];
                if (square.marked ||
                    square.answer_value != round.questions[round.curr_q_idx].answer)
                    continue;
                col = i % 5 + spots[1 + step % 3], row = i / 5 + spots[1 + step % 3];
                break;
            }
            round.time_remaining = static_cast<int>(pick() % 8000);
            t_round want = round;
            t_bingo_card want_card = card;
            t_card_square* square =
                &want_card.squares[std::min(4, int(row))][std::min(4, int(col))];
            const bool on_card = col >= 0 && col <= 5 && row >= 0 && row <= 5 && step % 50;
            if (on_card && !square->marked &&
                square->answer_value == want.questions[want.curr_q_idx].answer) {
                square->marked = want.questions[want.curr_q_idx].answered = 1;
                round_advance_question(&want);
            } else if (on_card && !square->marked) {
                want.time_remaining = std::max(0, want.time_remaining - 5000);
            }
            bc_handle_event_left_click(&card, step % 50 ? &item : nullptr, &round, nullptr,
                                       item.x + item.w * col / 5, item.y + item.h * row / 5);
            ASSERT_TRUE(!memcmp(&card, &want_card, sizeof card) &&
                        !memcmp(&round, &want, sizeof round))
                << "seed " << seed << " step " << step << " at " << col << ", " << row;
        }
        EXPECT_EQ(round_num_unanswered_questions(&round), 0) << "seed " << seed;
    }
}

// 1000 points a line (rows, columns, both diagonals), 10000 more for a blackout; scoring again
// counts afresh. Marking works once and only inside the grid; a deal without a round clears
// the marks and the score, keeps the numbers and draws nothing.
TEST(CardScore, LinesDiagonalsAndBlackoutAndADealClearsThem) {
    const int row = 0x1F, column = 0x108421, all = (1 << 25) - 1;  // squares marked, as bits
    std::vector<std::array<int, 4>> cases = {// marks, points, bingos, blackout
                                             {0, 0, 0, 0},
                                             {row << 10 & ~(1 << 14), 0, 0, 0},
                                             {row << 10 | column << 3, 2000, 2, 0},
                                             {0x1041041 | 0x111110, 2000, 2, 0},
                                             {all, 22000, 12, 1},
                                             {all & ~1, 9000, 9, 0},
                                             {all & ~(1 << 12), 8000, 8, 0}};
    for (int k = 0; k < CARD_SIZE; k++)
        cases.insert(cases.end(), {{row << 5 * k, 1000, 1, 0}, {column << k, 1000, 1, 0}});
    t_bingo_card card{};
    for (const auto& c : cases) {
        for (int i = 0; i < NUM_QUESTIONS; i++)
            card.squares[i / 5][i % 5] = {100 + i, c[0] >> i & 1};
        for (int pass = 0; pass < 2; pass++) {
            EXPECT_EQ(bc_score(&card, 0, nullptr), c[1]) << std::hex << c[0];
            EXPECT_TRUE(card.score == c[1] && card.num_bingos == c[2] && card.blackout == c[3]);
        }
    }
    for (const auto& m :
         {std::array{3, 3, 1}, {3, 3, 0}, {5, 0, 0}, {0, 5, 0}, {-1, 0, 0}, {0, -1, 0}})
        EXPECT_EQ(bc_mark_square(&card, m[0], m[1]), m[2]) << m[0] << ", " << m[1];
    srand(5);
    const int next_draw = rand();
    srand(5);
    bc_init(&card, nullptr);
    EXPECT_EQ(rand(), next_draw);
    for (int i = 0; i < NUM_QUESTIONS; i++)
        EXPECT_TRUE(!card.squares[i / 5][i % 5].marked &&
                    card.squares[i / 5][i % 5].answer_value == 100 + i);
    EXPECT_EQ(card.num_bingos + card.blackout, 0);
}
