// Rounds and their cards as a seeded game deals them, the question cursor, and the time bonus.
#include <gtest/gtest.h>

#include <cstdlib>
#include <set>
#include <string>

#include "bingo_card.h"
#include "round.h"
#include "round_oracle.h"

// Every type and level, replayed by the oracle. The last seeds reach rand()'s rare top values:
// the largest operands (10, 20, 100, and 2200 / 22 = 100) and a 25 drawn while dealing.
TEST(RoundAndCard, DealtAsTheSeedReplaysThem) {
    for (unsigned seed :
         {1u, 2u, 3u, 4u, 5u, 6u, 7u, 8u, 15700816u, 28280777u, 6297604u, 4239808u}) {
        for (int type = 0; type < NUM_QTYPES; type++) {
            for (int level = 0; level < NUM_SKILL_LEVELS; level++) {
                SCOPED_TRACE(std::to_string(seed) + " " + qtype_str[type] + " " +
                             skill_level_str[level]);
                oracle::Question want[NUM_QUESTIONS];
                int want_card[NUM_QUESTIONS];
                srand(seed);
                oracle::make_round(type, level, want);
                oracle::deal(want, want_card);
                const int next_draw = rand();
                t_round round{};
                for (t_question& q : round.questions) q.answered = 1;
                round.curr_q_idx = 17;
                t_bingo_card card{};
                card.squares[2][2].marked = card.num_bingos = card.blackout = 1;
                srand(seed);
                round_init(&round, t_question_type(type), t_skill_level(level), 12345);
                bc_init(&card, &round);
                EXPECT_EQ(rand(), next_draw) << "another number of draws";
                for (int i = 0; i < NUM_QUESTIONS; i++) {
                    const t_question& q = round.questions[i];
                    const t_card_square& square = card.squares[i / CARD_SIZE][i % CARD_SIZE];
                    ASSERT_STREQ(q.text, want[i].text);
                    std::string solution = q.text;
                    solution.replace(solution.size() - 1, 1, std::to_string(want[i].answer));
                    EXPECT_TRUE(q.answer == want[i].answer && q.solutiontext == solution &&
                                !q.answered)
                        << q.solutiontext;
                    EXPECT_TRUE(square.answer_value == want_card[i] && !square.marked) << i;
                }
                EXPECT_TRUE(round.time_remaining == 12345 && round.curr_q_idx == 17 &&
                            round.question_type == type && round.skill_level == level);
                EXPECT_EQ(card.num_bingos + card.blackout, 0);
            }
        }
    }
}

// The cursor goes to the next (or previous) unanswered question, round the end; with none
// left it stays and says so.
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
        EXPECT_EQ(round_advance_question(&round), left > 0);
        EXPECT_EQ(round.curr_q_idx, c.next) << "forward from " << c.from;
        round.curr_q_idx = c.from;
        EXPECT_EQ(round_previous_question(&round), left > 0);
        EXPECT_EQ(round.curr_q_idx, c.previous) << "backward from " << c.from;
    }
}

TEST(RoundTimeBonus, FiftyPointsPerWholeSecond) {
    t_round round{};
    const int cases[][2] = {{999, 0}, {1000, 50}, {59999, 2950}, {60000, 3000}};
    for (const auto& c : cases) {
        round.time_remaining = c[0];
        EXPECT_EQ(round_time_bonus(&round), c[1]) << c[0] << " ms";
    }
}
