// The clock text, the card's squares and veils, and the scoring overlay drawn over the card
// (widgets given no rectangle are tested with the others in test_button.cpp).
#include <gtest/gtest.h>

#include <string>

#include "pixels.h"
#include "round_display.h"

namespace {

std::string time_text(int32_t ms) {
    char text[ROUND_TIME_TEXT_SIZE];
    round_time_text(ms, text, sizeof text);
    return text;
}

const t_rgb VEILED_WHITE = blend({0, 0, 153}, 0.8f, WHITE);

// A card with every square holding 10000 and the squares of `marked` rows marked.
t_bingo_card card_with_marked_rows(std::initializer_list<int> marked) {
    t_bingo_card card{};
    for (auto& row : card.squares)
        for (auto& square : row) square.answer_value = 10000;
    for (int row : marked)
        for (auto& square : card.squares[row]) square.marked = 1;
    return card;
}

class RoundDisplay : public ::testing::Test {
   protected:
    void SetUp() override { start_frame(); }
};

}  // namespace

TEST(RoundClock, ShowsMinutesAndWholeSecondsOrGameOver) {
    EXPECT_EQ(time_text(60000), "01:00");
    EXPECT_EQ(time_text(59999), "00:59");
    EXPECT_EQ(time_text(999), "00:00");
    EXPECT_EQ(time_text(1), "00:00");  // only exactly 0 is over
    EXPECT_EQ(time_text(0), "GAME OVER");
}

// On a card 500 units square each cell is 100 units and each white square 97, centred on
// its cell; the half-unit offset puts the square's edges on whole pixels.
TEST_F(RoundDisplay, CardSquaresAreNinetySevenUnitsWithThreeUnitGaps) {
    t_layout_item item = {"bingo_card", 0.5f, 0.5f, 500, 500};
    t_bingo_card card = card_with_marked_rows({});
    bc_render(&card, &item);
    // Along row 0 (the frame lies over the outer gap): a square from 2 to 98, a gap at 99
    // to 101, the next square from 102.
    expect_pixel(2, 20, WHITE);
    expect_pixel(98, 20, WHITE);
    expect_pixel(99, 20, PANEL_BLUE);
    expect_pixel(101, 20, PANEL_BLUE);
    expect_pixel(102, 20, WHITE);
    // Down column 0 likewise.
    expect_pixel(20, 2, WHITE);
    expect_pixel(20, 98, WHITE);
    expect_pixel(20, 99, PANEL_BLUE);
    expect_pixel(20, 102, WHITE);
    expect_pixel(498, 20, WHITE);  // the last column reaches 1.5 units from the right edge
}

// Sampled near the squares' corners, clear of their numbers.
TEST_F(RoundDisplay, MarkedSquaresWearTheBlueVeil) {
    t_layout_item item = {"bingo_card", 100.5f, 0.5f, 400, 400};
    t_bingo_card card = card_with_marked_rows({});
    card.squares[1][2].marked = 1;
    bc_render(&card, &item);
    // Cells are 80 units; the square of row 1, column 2 spans x 262 to 339, y 82 to 159.
    expect_pixel(264, 84, VEILED_WHITE);
    expect_pixel(337, 157, VEILED_WHITE);
    expect_pixel(184, 84, WHITE);   // row 1, column 1
    expect_pixel(264, 164, WHITE);  // row 2, column 2
}

// The scoring overlay on a card 800 by 400 units: cells of 160 by 80, centres at 80 + 160k
// across and 40 + 80k down, and a 3-unit gap of panel between squares (at x 158.5 to 161.5).
TEST_F(RoundDisplay, CompleteRowGetsARedLineFromFirstToLastCentre) {
    t_layout_item item = {"bingo_card", 0, 0, 800, 400};
    t_bingo_card card = card_with_marked_rows({2});
    bc_render(&card, &item);
    EXPECT_EQ(bc_score(&card, 1, &item), 1000);
    const t_rgb red_on_panel = blend({255, 0, 0}, 0.6f, PANEL_BLUE);
    expect_pixel(160, 200, red_on_panel);  // on row 2's line, in a gap
    expect_pixel(160, 197, red_on_panel);  // the line is 7 units wide
    expect_pixel(160, 203, red_on_panel);
    expect_pixel(160, 208, PANEL_BLUE);
    expect_pixel(160, 120, PANEL_BLUE);    // row 1 is not complete
    expect_pixel(20, 200, VEILED_WHITE);   // the line starts at the first centre
    expect_pixel(780, 200, VEILED_WHITE);  //   and ends at the last
}

TEST_F(RoundDisplay, BlackoutVeilsTheWholeCardInRed) {
    t_layout_item item = {"bingo_card", 0, 0, 800, 400};
    t_bingo_card card = card_with_marked_rows({0, 1, 2, 3, 4});
    bc_render(&card, &item);
    EXPECT_EQ(bc_score(&card, 1, &item), 22000);
    expect_pixel(160, 10, blend({255, 0, 0}, 0.6f, PANEL_BLUE));
    expect_pixel(120, 10, blend({255, 0, 0}, 0.6f, VEILED_WHITE));
    expect_pixel(400, 420, BLACK, 0);
}
