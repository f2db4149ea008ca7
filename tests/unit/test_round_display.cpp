// What the player sees of a round where it is drawn: the card's numbers, marks, lines and
// blackout; the question, its solution and the clock; the round score's lines.
#include <gtest/gtest.h>

#include <string>

#include "pixels.h"
#include "round_display.h"
#include "screen_helpers.h"
#include "screens.h"

// The card numbered i * i * i on square i shows each number centred in its square: its cell
// less a 3-unit gap of panel (counted down the left column). Scored, each complete line (row 2,
// column 1 and both diagonals here) is red through the gaps between its squares, and row 0 is
// not; marked squares wear a blue veil; a blackout veils the whole card red. Nothing is drawn
// beside the card.
TEST(RoundDisplay, CardShowsNumbersCentredAndMarksLinesAndBlackout) {
    const t_layout_item item = layout_item_of("play.layout", "bingo_card");
    const float cw = item.w / CARD_SIZE, ch = item.h / CARD_SIZE;
    auto x = [&](float col) { return item.x + cw * (col + 0.5f); };
    auto y = [&](float row) { return item.y + ch * (row + 0.5f); };
    for (int marks : {0, 0x7C00 | 0x210842 | 0x1041041 | 0x111110, -1}) {
        t_bingo_card card{};
        for (int i = 0; i < NUM_QUESTIONS; i++)
            card.squares[i / 5][i % 5] = {i * i * i, marks >> i & 1};
        load_game_fonts();
        start_frame();
        bc_render(&card, const_cast<t_layout_item*>(&item));
        bc_score(&card, 1, const_cast<t_layout_item*>(&item));
        const t_frame f;
        EXPECT_EQ(drawn_outside(f, item, 2), 0) << "drawn beside the card";
        if (marks == 0) {
            int white = 0;
            for (float j = item.y + 3; j < item.y + item.h - 3; j++)
                white += f.sum(item.x + 4, j) == 765;
            EXPECT_NEAR(white, CARD_SIZE * (ch - 3) - 3, 3);
            EXPECT_GT(f.sum(item.x + cw, y(0)), 600) << "the panel shows between";
            for (int i = 0; i < NUM_QUESTIONS; i++)
                expect_text(f, std::to_string(i * i * i).c_str(), x(i % 5), y(i / 5),
                            int(x(i % 5) - cw / 2) + 3, int(y(i / 5) - ch / 2) + 3, int(cw) - 6,
                            int(ch) - 6);
            continue;
        }
        auto red = [&](float px, float py) { return f.at(px, py)[0] > f.at(px, py)[2] + 50; };
        for (float k = 0.5f; k < 4; k++) {
            EXPECT_TRUE(red(x(k), y(2)) && red(x(1), y(k)) && red(x(k), y(k)) &&
                        red(x(k), y(4 - k)));
            EXPECT_EQ(red(x(k), y(0)), marks == -1) << k;
        }
        // Near the top-left corners of square (0, 1), marked, and (0, 3), not.
        const GLubyte* marked = f.at(x(0.5f) + 4, item.y + 4);
        EXPECT_TRUE(marks == -1 ? marked[0] > marked[2] + 50 : marked[2] > marked[0] + 100);
        EXPECT_EQ(f.sum(x(2.5f) + 4, item.y + 4) == 765, marks != -1);
    }
}

// The current question, its solution, the clock ("mm:ss" of whole seconds left, "GAME OVER" at
// exactly 0) and the round score's lines, each centred in its panel.
TEST(RoundDisplay, QuestionSolutionClockAndRoundScoreAreShownCentred) {
    t_round round{};
    round_make_question(&round.questions[3], DIVISION, 100, 100);
    round.curr_q_idx = 3;
    t_layout_item item = layout_item_of("game_over.layout", "question");
    const struct {
        void (*render)(t_round*, t_layout_item*);
        int ms;
        const char* text;
    } cases[] = {{round_question_render, 0, "10000 / 100 = ?"},
                 {round_solution_render, 0, "10000 / 100 = 100"},
                 {round_time_render, 60000, "01:00"},
                 {round_time_render, 59999, "00:59"},
                 {round_time_render, 1000, "00:01"},
                 {round_time_render, 999, "00:00"},
                 {round_time_render, 0, "GAME OVER"}};
    for (const auto& [render, ms, text] : cases) {
        round.time_remaining = ms;
        load_game_fonts();
        start_frame();
        render(&round, &item);
        expect_text(t_frame(), text, item.x + item.w / 2, item.y + item.h / 2, int(item.x) + 3,
                    int(item.y) + 3, int(item.w) - 6, int(item.h) - 6);
    }
}
