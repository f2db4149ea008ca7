// What the player sees of a round, read back where it is drawn.
#include <gtest/gtest.h>

#include "pixels.h"
#include "round_display.h"
#include "screen_helpers.h"

// Square i, numbered i * i * i, shows its number centred in it: its cell less a 3-unit gap of
// panel (counted down the left column). Scored, each complete line (row 2, column 1 and both
// diagonals) is red through the gaps between its squares, row 0 not; marked squares wear a blue
// veil; a blackout veils the card red. Nothing is drawn beside the card. Then the question, its
// solution and the clock ("mm:ss" of whole seconds left, "GAME OVER" at 0), centred in a panel.
TEST(RoundDisplay, CardQuestionAndClockAsThePlayerSeesThem) {
    t_layout_item item = layout_item_of("play.layout", "bingo_card");
    const float cw = item.w / CARD_SIZE, ch = item.h / CARD_SIZE;
    auto x = [&](float col) { return item.x + cw * (col + 0.5f); };
    auto y = [&](float row) { return item.y + ch * (row + 0.5f); };
    load_game_fonts();
    for (int marks : {0, 0x7C00 | 0x210842 | 0x1041041 | 0x111110, -1}) {
        t_bingo_card card{};
        for (int i = 0; i < NUM_QUESTIONS; i++)
            card.squares[i / 5][i % 5] = {i * i * i, marks >> i & 1};
        start_frame();
        bc_render(&card, &item);
        bc_score(&card, 1, &item);
        const t_frame f;
        EXPECT_EQ(drawn_outside(f, item, 2), 0) << "drawn beside the card";
        int white = 0;
        for (float j = item.y + 3; marks == 0 && j < item.y + item.h - 3; j++)
            white += f.sum(item.x + 4, j) == 765;
        EXPECT_NEAR(white, marks ? 0 : CARD_SIZE * (ch - 3) - 3, 3)
            << "the squares less their gaps";
        for (int i = 0; marks == 0 && i < NUM_QUESTIONS; i++)
            expect_text(f, std::to_string(i * i * i).c_str(), x(i % 5), y(i / 5),
                        int(x(i % 5) - cw / 2) + 3, int(y(i / 5) - ch / 2) + 3, int(cw) - 6,
                        int(ch) - 6);
        auto red = [&](float px, float py) { return f.at(px, py)[0] > f.at(px, py)[2] + 50; };
        for (float k = 0.5f; marks && k < 4; k++)
            EXPECT_TRUE(red(x(k), y(2)) && red(x(1), y(k)) && red(x(k), y(k)) &&
                        red(x(k), y(4 - k)) && red(x(k), y(0)) == (marks == -1));
        const GLubyte* corner = f.at(x(0.5f) + 4, item.y + 4);  // of square (0, 1), marked
        EXPECT_TRUE(marks == -1 ? corner[0] > corner[2] + 50
                                : marks == 0 || corner[2] > corner[0] + 100);
        EXPECT_EQ(f.sum(x(2.5f) + 4, item.y + 4) == 765, marks != -1) << "square (0, 3)";
    }
    t_round round{};
    round_make_question(&round.questions[3], DIVISION, 100, 100);
    round.curr_q_idx = 3;
    item = layout_item_of("game_over.layout", "question");
    const char* texts[] = {"10000 / 100 = ?", "10000 / 100 = 100", "01:00", "00:59",
                           "00:00",           "GAME OVER"};
    const int times[] = {0, 0, 60000, 59999, 999, 0};
    void (*const renders[])(t_round*, t_layout_item*) = {round_question_render,
                                                         round_solution_render};
    for (int k = 0; k < 6; k++) {
        round.time_remaining = times[k];
        start_frame();
        (k < 2 ? renders[k] : round_time_render)(&round, &item);
        expect_text(t_frame(), texts[k], item.x + item.w / 2, item.y + item.h / 2, int(item.x) + 3,
                    int(item.y) + 3, int(item.w) - 6, int(item.h) - 6);
    }
}
