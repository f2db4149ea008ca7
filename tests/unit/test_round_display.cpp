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
    EXPECT_EQ(time_text(12345), "00:12");
    EXPECT_EQ(time_text(999), "00:00");
    EXPECT_EQ(time_text(500), "00:00");
    EXPECT_EQ(time_text(1), "00:00");
    EXPECT_EQ(time_text(0), "GAME OVER");
    EXPECT_EQ(time_text(600000), "10:00");
}

TEST_F(RoundDisplay, NullItemsDrawNothing) {
    t_round round{};
    t_bingo_card card = card_with_marked_rows({0});
    round_time_render(&round, nullptr);
    round_question_render(&round, nullptr);
    round_solution_render(&round, nullptr);
    bc_render(&card, nullptr);
    for (int x = 0; x < 800; x += 40)
        for (int y = 0; y < 480; y += 40) expect_pixel(x, y, BLACK, 0);
}

TEST_F(RoundDisplay, RoundTextsSitOnAPanel) {
    t_round round{};
    t_layout_item item = {"time", 100, 100, 200, 60};
    round_time_render(&round, &item);
    expect_pixel(105, 105, PANEL_BLUE);
    expect_pixel(295, 155, PANEL_BLUE);
    expect_pixel(90, 130, BLACK);
}

// On a card 500 units square each cell is 100 units and each white square 97, centred on
// its cell; the half-unit offset puts the square's edges on whole pixels.
TEST_F(RoundDisplay, CardSquaresAreNinetySevenUnitsWithThreeUnitGaps) {
    t_layout_item item = {"bingo_card", 0.5f, 0.5f, 500, 500};
    float cx, cy;
    bc_square_centre(&item, 0, 0, &cx, &cy);
    EXPECT_FLOAT_EQ(cx, 50.5f);
    EXPECT_FLOAT_EQ(cy, 50.5f);
    bc_square_centre(&item, 3, 4, &cx, &cy);
    EXPECT_FLOAT_EQ(cx, 450.5f);
    EXPECT_FLOAT_EQ(cy, 350.5f);

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

TEST_F(RoundDisplay, MarkedSquaresWearTheBlueVeil) {
    t_layout_item item = {"bingo_card", 100.5f, 0.5f, 300, 300};
    t_bingo_card card = card_with_marked_rows({});
    card.squares[1][2].marked = 1;
    bc_render(&card, &item);
    float cx, cy;
    bc_square_centre(&item, 1, 2, &cx, &cy);
    expect_pixel(static_cast<int>(cx) - 25, static_cast<int>(cy) - 25, VEILED_WHITE);
    bc_square_centre(&item, 1, 1, &cx, &cy);
    expect_pixel(static_cast<int>(cx) - 25, static_cast<int>(cy) - 25, WHITE);
}
