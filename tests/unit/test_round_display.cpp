// What the player sees of a round where it is drawn: the clock's text, the card's numbers,
// squares and marks, the scoring overlay, and the round score's lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "main.h"
#include "pixels.h"
#include "round_display.h"
#include "screen_helpers.h"

namespace {

class RoundDisplay : public ::testing::Test {
   protected:
    void SetUp() override {
        start_frame();
        load_game_fonts();
    }
};

float centre(float origin, float extent, int index) { return origin + extent * (index + 0.5f) / 5; }

bool reddish(const t_frame& f, float x, float y) {
    const GLubyte* p = f.at(static_cast<int>(x), static_cast<int>(y));
    return p[0] > p[2] + 50;
}

}  // namespace

TEST(RoundClock, ShowsMinutesAndWholeSecondsOrGameOver) {
    const std::pair<int, std::string> cases[] = {
        {60000, "01:00"}, {59999, "00:59"}, {1, "00:00"}, {0, "GAME OVER"}};
    for (const auto& [ms, want] : cases) {
        char text[ROUND_TIME_TEXT_SIZE];
        round_time_text(ms, text, sizeof text);
        EXPECT_EQ(text, want) << ms;
    }
}

// Each square shows its own number, centred on the square, and the squares are whole cells
// less a 3-unit gap; nothing is drawn beside the card.
TEST_F(RoundDisplay, CardShowsEachNumberCentredInItsSquare) {
    for (const char* file : {"play.layout", "round_score.layout", "game_over.layout"}) {
        SCOPED_TRACE(file);
        t_layout_item item = layout_item_of(file, "bingo_card");
        t_bingo_card card{};
        for (int i = 0; i < NUM_QUESTIONS; i++)  // one to five digits
            card.squares[i / CARD_SIZE][i % CARD_SIZE].answer_value = i * i * i;
        start_frame();
        bc_render(&card, &item);
        const t_frame frame;
        expect_blank_outside(frame, item, 2);
        const float cw = item.w / CARD_SIZE, ch = item.h / CARD_SIZE;
        int white_down = 0;  // beside the numbers
        for (int y = static_cast<int>(item.y) + 3; y < item.y + item.h - 3; y++)
            white_down += frame.sum(static_cast<int>(item.x + 4), y) == 765;
        EXPECT_NEAR(white_down, CARD_SIZE * (ch - 3) - 3, 3);
        for (int i = 0; i < NUM_QUESTIONS; i++) {
            const int row = i / CARD_SIZE, col = i % CARD_SIZE;
            expect_text(frame, std::to_string(i * i * i).c_str(), centre(item.x, item.w, col),
                        centre(item.y, item.h, row), static_cast<int>(item.x + cw * col) + 3,
                        static_cast<int>(item.y + ch * row) + 3, static_cast<int>(cw) - 6,
                        static_cast<int>(ch) - 6);
        }
    }
}

// Scored with drawing: each complete line is red through the gaps between its squares (row 2,
// column 1, both diagonals here), row 0 is not; a blackout veils the whole card in red, and
// a marked square otherwise wears a blue veil.
TEST_F(RoundDisplay, ScoringDrawsCompleteLinesAndTheBlackout) {
    t_layout_item item = layout_item_of("play.layout", "bingo_card");
    for (bool blackout : {false, true}) {
        t_bingo_card card{};
        for (int r = 0; r < CARD_SIZE; r++) {
            for (int c = 0; c < CARD_SIZE; c++)
                card.squares[r][c].marked = blackout || r == 2 || c == 1 || r == c || r + c == 4;
        }
        start_frame();
        bc_render(&card, &item);
        EXPECT_EQ(bc_score(&card, 1, &item), blackout ? 22000 : 4000);
        const t_frame f;
        expect_blank_outside(f, item, 2);
        auto x = [&](float col) { return item.x + item.w * (col + 0.5f) / 5; };
        auto y = [&](float row) { return item.y + item.h * (row + 0.5f) / 5; };
        for (float k = 0.5f; k < 4; k++) {
            EXPECT_TRUE(reddish(f, x(k), y(2)) && reddish(f, x(1), y(k))) << k;
            EXPECT_TRUE(reddish(f, x(k), y(k)) && reddish(f, x(k), y(4 - k))) << k;
            EXPECT_EQ(reddish(f, x(k), y(0)), blackout) << k;
        }
        // Near the top-left corners of square (0, 1), marked, and (0, 3), not marked.
        const GLubyte* marked = f.at(static_cast<int>(x(0.5f) + 4), static_cast<int>(item.y + 4));
        EXPECT_TRUE(blackout ? marked[0] > marked[2] + 50 : marked[2] > marked[0] + 100);
        EXPECT_EQ(reddish(f, x(2.5f) + 4, item.y + 4), blackout);
        EXPECT_TRUE(blackout ||
                    f.sum(static_cast<int>(x(2.5f) + 4), static_cast<int>(item.y + 4)) == 765);
    }
}

TEST_F(RoundDisplay, RoundScorePanelShowsEachLineOfTheScore) {
    t_bingo_card card{};
    for (auto& row : card.squares)
        for (auto& square : row) square.marked = 1;
    bc_score(&card, 0, nullptr);
    t_round round{};
    for (t_question& q : round.questions) q.answered = 1;
    round.time_remaining = 59999;  // the widest lines
    t_player player = {27450, 0, ""};
    t_layout_item panel = layout_item_of("round_score.layout", "score");
    render_round_score(&card, &round, &player, &panel);
    const t_frame frame;
    const char* lines[] = {"Answers (25): 2500", "Bingos (12): 12000", "Blackout (1): 10000",
                           "Seconds Remain (59): 2950", "TOTAL: 27450"};
    for (int k = 0; k < 5; k++) {
        const t_ink ink = ink_in(frame, static_cast<int>(panel.x) + 3,
                                 static_cast<int>(panel.y + panel.h * k / 5) + 1,
                                 static_cast<int>(panel.w) - 6, static_cast<int>(panel.h / 5) - 2);
        EXPECT_TRUE(ink == ink_of(lines[k])) << lines[k];
    }
}
