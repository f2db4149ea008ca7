// Start-up, in a process of its own: the tests' shared context cannot be started twice.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "fonts.h"
#include "hiscore.h"
#include "main.h"
#include "round.h"
#include "screen_helpers.h"

namespace {

void start_and_check() {
    const int first_unseeded = rand();
    srand(1);
    ASSERT_EQ(initialize(), 1);
    EXPECT_NE(rand(), first_unseeded) << "the deal is seeded from the clock";
    EXPECT_TRUE(small_font && large_font);
    EXPECT_TRUE(bingo_round.question_type == ADDITION && bingo_round.skill_level == EASY &&
                bingo_round.time_remaining == ROUND_TIME_MS);
    EXPECT_EQ(hiscores[ADDITION][EASY][0].score, 321);  // the folder's table
    exit(testing::Test::HasFailure());
}

}  // namespace

TEST(StartUp, DealsFromTheClockOnAdditionEasyWithTheFoldersTableAndBothFonts) {
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // a child run from the start
    ScratchGameFolder folder;
    folder.write("hiscores.dat", "321 ST\n");
    EXPECT_EXIT(start_and_check(), testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, style);
}
