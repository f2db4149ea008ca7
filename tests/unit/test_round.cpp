// Rounds played against a model of the rules written apart from the game's code; the card drawn.
#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "pixels.h"
#include "round_display.h"
#include "screen_helpers.h"

// Every type and level from seeds reaching rand()'s top values, played by taps at random spots or
// on the answer. A right unmarked square is marked and its question answered, the cursor moving on
// to the next unanswered one; a wrong one costs 5 s (never below 0); a marked square, a tap outside
// (the edges are in) or a card with no rectangle, nothing. Lines score 1000, a blackout 10000.
TEST(Round, PlayedFromItsSeedAsTheRulesSay) {
    t_layout_item item = {"bingo_card", 20, 40, 400, 250};  // not square, off the origin
    const float spots[] = {-0.01f, 0, 0.5f, 0.99f, 1, 2.5f, 3, 4.99f, 5, 5.01f};  // in cells
    const int all = (1 << NUM_QUESTIONS) - 1;
    std::mt19937 pick(12345);
    t_round round{};
    t_bingo_card card{};  // each round starts where the last ended, all marked and answered
    for (unsigned seed : {1u, 15700816u, 28280777u, 6297604u, 4239808u}) {
        for (int kind = 0; kind < NUM_QTYPES * NUM_SKILL_LEVELS; kind++) {
            int index = NUM_QUESTIONS, marks = 0;  // marks: a bit a square
            bool used[NUM_QUESTIONS] = {};
            srand(seed);
            round_init(&round, t_question_type(kind / 3), t_skill_level(kind % 3), 0);
            bc_init(&card, &round);
            srand(seed);  // two draws a question scaled by division to 0..max, then the deal
            for (const t_question& q : round.questions) {
                const unsigned long step = 2147483648ul / std::array{10ul, 20ul, 100ul}[kind % 3];
                int type = kind / 3, a = int(rand() / step), b = int(rand() / step);
                if (type == SUBTRACTION && b > a) std::swap(a, b);     // the larger first
                if (type == DIVISION && a == 0) a = b ? b : 1, b = 0;  // 0 / the quotient or 0 / 1
                const int answer = std::array{a + b, a - b, a * b, b}[type];  // a divides a * b
                const std::string text = std::to_string(type == DIVISION ? a * b : a) + " " +
                                         "+-*/"[type] + " " +
                                         std::to_string(type == DIVISION ? a : b) + " = ";
                ASSERT_TRUE(q.text == text + "?" && q.answer == answer && !q.answered &&
                            q.solutiontext == text + std::to_string(answer));
            }
            for (int i = 0; i < NUM_QUESTIONS; used[index] = true, i++) {
                while (index == NUM_QUESTIONS || used[index]) index = rand() / 85899345;
                const t_card_square& square = card.squares[i / 5][i % 5];
                ASSERT_TRUE(square.answer_value == round.questions[index].answer && !square.marked);
            }
            for (int step = 0; marks != all; step++) {
                float col = spots[pick() % 10], row = spots[pick() % 10];
                for (int i = pick() % 2 ? 0 : NUM_QUESTIONS; i < NUM_QUESTIONS; i++)  // aimed
                    if (!(marks >> i & 1) && card.squares[i / 5][i % 5].answer_value ==
                                                 round.questions[round.curr_q_idx].answer)
                        col = i % 5 + spots[1 + step % 3], row = i / 5 + spots[1 + step % 3];
                round.time_remaining = static_cast<int>(pick() % 8000);
                t_round want = round;
                t_bingo_card marked = card;
                const int i = std::min(4, int(row)) * 5 + std::min(4, int(col));
                const bool open =
                    col >= 0 && col <= 5 && row >= 0 && row <= 5 && step % 50 && !(marks >> i & 1);
                t_card_square& square = marked.squares[i / 5][i % 5];
                if (open && square.answer_value == want.questions[want.curr_q_idx].answer) {
                    square.marked = want.questions[want.curr_q_idx].answered = 1;
                    marks |= 1 << i;
                    while (marks != all && want.questions[want.curr_q_idx].answered)
                        want.curr_q_idx = (want.curr_q_idx + 1) % NUM_QUESTIONS;
                } else if (open) {
                    want.time_remaining = std::max(0, want.time_remaining - 5000);
                }
                bc_handle_event_left_click(&card, step % 50 ? &item : nullptr, &round, nullptr,
                                           item.x + item.w * col / 5, item.y + item.h * row / 5);
                int lines = ((marks & 0x1041041) == 0x1041041) + ((marks & 0x111110) == 0x111110);
                for (int k = 0; k < 25; k += 5) lines += (marks >> k & 31) == 31;  // rows
                for (int k = 0; k < 5; k++) lines += (marks >> k & 0x108421) == 0x108421;
                ASSERT_TRUE(!memcmp(&card, &marked, sizeof card) &&
                            !memcmp(&round, &want, sizeof round) &&
                            bc_score(&card, 0, nullptr) == lines * 1000 + (marks == all) * 10000 &&
                            card.num_bingos == lines && card.blackout == (marks == all))
                    << seed << " " << kind << " step " << step << " at " << col << ", " << row;
            }
        }
    }
    t_bingo_card blank{};  // nothing beyond the grid is marked, nor a square twice
    EXPECT_FALSE(bc_mark_square(&blank, 5, 0) || bc_mark_square(&blank, 0, 5));
    EXPECT_TRUE(bc_mark_square(&blank, 4, 4) && !bc_mark_square(&blank, 4, 4));
    // The cursor steps either way to an unanswered question, and says whether there is one.
    const int at = round.curr_q_idx;
    EXPECT_TRUE(!round_advance_question(&round) && !round_previous_question(&round) &&
                round.curr_q_idx == at);
    round.questions[7].answered = 0;
    EXPECT_TRUE(round_advance_question(&round) && round.curr_q_idx == 7 &&
                round_previous_question(&round) && round.curr_q_idx == 7);
}

// Square i shows i * i * i centred in it; scored, complete lines (row 2, column 1, diagonals) are
// red between their squares, marks veil blue, a blackout all red. The clock shows mm:ss left.
TEST(RoundDisplay, CardAndClockAsThePlayerSeesThem) {
    t_layout_item item = layout_item_of("play.layout", "bingo_card");
    const float cw = item.w / CARD_SIZE, ch = item.h / CARD_SIZE;
    auto x = [&](float col) { return item.x + cw * (col + 0.5f); };
    auto y = [&](float row) { return item.y + ch * (row + 0.5f); };
    load_game_fonts();
    for (int marks : {0, 0x7C00 | 0x210842 | 0x1041041 | 0x111110, -1}) {
        t_bingo_card card{};
        for (int i = 0; i < 25; i++) card.squares[i / 5][i % 5] = {i * i * i, marks >> i & 1};
        start_frame();
        bc_render(&card, &item);
        bc_score(&card, 1, &item);
        const t_frame f;
        EXPECT_EQ(drawn_outside(f, item, 2), 0) << "drawn beside the card";
        for (int i = 0; marks == 0 && i < 25; i++)  // read inside the square's 3-unit margin
            expect_text(f, std::to_string(i * i * i).c_str(), x(i % 5), y(i / 5),
                        int(x(i % 5 - .5f)) + 3, int(y(i / 5 - .5f)) + 3, int(cw) - 6, int(ch) - 6);
        for (int i = 1; marks == 0 && i < 5; i++)  // the panel shows between the squares
            EXPECT_TRUE(f.sum(item.x + cw * i, y(2)) < 765 && f.sum(x(2), item.y + ch * i) < 765);
        auto red = [&](float px, float py) { return f.at(px, py)[0] > f.at(px, py)[2] + 50; };
        for (float k = 0.5f; marks && k < 4; k++)
            EXPECT_TRUE(red(x(k), y(2)) && red(x(1), y(k)) && red(x(k), y(k)) &&
                        red(x(k), y(4 - k)) && red(x(k), y(0)) == (marks == -1));
        const GLubyte* corner = f.at(x(0.5f) + 4, item.y + 4);  // of square (0, 1), marked
        EXPECT_TRUE(
            (marks == -1 ? corner[0] > corner[2] + 50 : !marks || corner[2] > corner[0] + 100) &&
            (f.sum(x(2.5f) + 4, item.y + 4) == 765) == (marks != -1));  // (0, 3): unmarked
    }
    char clock[ROUND_TIME_TEXT_SIZE];
    round_time_text(61000, clock, sizeof clock);
    EXPECT_STREQ(clock, "01:01");
}
