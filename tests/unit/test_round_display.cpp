// What the player sees of a round where it is drawn: the clock's text, the card's numbers,
// squares and marks, the scoring overlay, and the round score's lines.
#include <gtest/gtest.h>

#include <string>

#include "screens.h"
#include "pixels.h"
#include "round_display.h"
#include "screen_helpers.h"

namespace {

// The card numbered i * i * i on square i (row by row), marked where `marks` has bit i, drawn
// (and with `score`, scored) in `item`, and read back; nothing may be drawn beside it.
t_frame draw_card(t_layout_item item, int marks, bool score) {
    t_bingo_card card{};
    for (int i = 0; i < NUM_QUESTIONS; i++)
        card.squares[i / 5][i % 5] = {i * i * i, marks >> i & 1};
    load_game_fonts();
    start_frame();
    bc_render(&card, &item);
    if (score) bc_score(&card, 1, &item);
    EXPECT_EQ(drawn_outside(t_frame(), item, 2), 0) << "drawn beside the card";
    return t_frame();
}

}  // namespace

// Each square shows its own number centred on it; the squares are their cells less a 3-unit
// gap of panel (counted down the left column, beside the numbers).
TEST(RoundDisplay, CardShowsEachNumberCentredInItsSquare) {
    for (const char* file : {"play.layout", "round_score.layout", "game_over.layout"}) {
        const t_layout_item item = layout_item_of(file, "bingo_card");
        const t_frame frame = draw_card(item, 0, false);
        const float cw = item.w / CARD_SIZE, ch = item.h / CARD_SIZE;
        int white = 0;
        for (float y = item.y + 3; y < item.y + item.h - 3; y++)
            white += frame.sum(item.x + 4, y) == 765;
        EXPECT_NEAR(white, CARD_SIZE * (ch - 3) - 3, 3) << file;
        EXPECT_GT(frame.sum(item.x + cw, item.y + ch / 2), 600) << "the panel shows between";
        for (int i = 0; i < NUM_QUESTIONS; i++) {
            const float x = item.x + cw * (i % CARD_SIZE), y = item.y + ch * (i / CARD_SIZE);
            expect_text(frame, std::to_string(i * i * i).c_str(), x + cw / 2, y + ch / 2,
                        int(x) + 3, int(y) + 3, int(cw) - 6, int(ch) - 6);
        }
    }
}

// Scored with drawing, each complete line (row 2, column 1 and both diagonals here) is red
// through the gaps between its squares, and row 0 is not; marked squares wear a blue veil;
// a blackout veils the whole card in red.
TEST(RoundDisplay, ScoringDrawsCompleteLinesAndTheBlackout) {
    const t_layout_item item = layout_item_of("play.layout", "bingo_card");
    auto x = [&](float col) { return item.x + item.w * (col + 0.5f) / 5; };
    auto y = [&](float row) { return item.y + item.h * (row + 0.5f) / 5; };
    for (bool blackout : {false, true}) {
        const t_frame f =
            draw_card(item, blackout ? -1 : 0x7C00 | 0x210842 | 0x1041041 | 0x111110, true);
        auto red = [&](float px, float py) { return f.at(px, py)[0] > f.at(px, py)[2] + 50; };
        for (float k = 0.5f; k < 4; k++) {
            EXPECT_TRUE(red(x(k), y(2)) && red(x(1), y(k)) && red(x(k), y(k)) &&
                        red(x(k), y(4 - k)));
            EXPECT_EQ(red(x(k), y(0)), blackout) << k;
        }
        // Near the top-left corners of square (0, 1), marked, and (0, 3), not.
        const GLubyte* marked = f.at(x(0.5f) + 4, item.y + 4);
        EXPECT_TRUE(blackout ? marked[0] > marked[2] + 50 : marked[2] > marked[0] + 100);
        EXPECT_EQ(f.sum(x(2.5f) + 4, item.y + 4) == 765, !blackout);
    }
}

TEST(RoundDisplay, RoundScorePanelShowsEachLineOfTheScore) {
    t_bingo_card card{};
    for (auto& row : card.squares)
        for (auto& square : row) square.marked = 1;
    bc_score(&card, 0, nullptr);
    t_round round{};
    for (t_question& q : round.questions) q.answered = 1;
    round.time_remaining = 59999;  // the widest lines
    t_player player = {27450, 0, ""};
    t_layout_item panel = layout_item_of("round_score.layout", "score");
    load_game_fonts();
    start_frame();
    render_round_score(&card, &round, &player, &panel);
    const t_frame frame;
    const char* lines[] = {"Answers (25): 2500", "Bingos (12): 12000", "Blackout (1): 10000",
                           "Seconds Remain (59): 2950", "TOTAL: 27450"};
    for (int k = 0; k < 5; k++) {  // the ink of each fifth of the panel, less the frame
        int left = 0, top = 0;
        EXPECT_EQ(ink_in(frame, int(panel.x) + 3, int(panel.y + panel.h * k / 5) + 1,
                         int(panel.w) - 6, int(panel.h / 5) - 2, &left, &top),
                  ink_of(lines[k], &left, &top))
            << lines[k];
    }
}

// The current question, its solution and the clock ("mm:ss" of whole seconds left, "GAME OVER"
// at exactly 0), each centred in its panel; the review's panel holds the longest texts.
TEST(RoundDisplay, QuestionSolutionAndClockAreShownCentred) {
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
