// The six screens run in-process on pushed taps and keys: the state each leaves, the globals
// it changes, and what it drew.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <sstream>
#include <string>

#include "bingo_card.h"
#include "button.h"
#include "fonts.h"
#include "game.h"
#include "graphics.h"
#include "hiscore.h"
#include "input.h"
#include "player.h"
#include "round.h"
#include "round_display.h"
#include "screen.h"
#include "screen_helpers.h"
#include "screens.h"

namespace {

constexpr unsigned SEED = 20270301;

class Screens : public ::testing::Test {
   protected:
    void SetUp() override {
        screens_start();
        memset(hiscores, 0, sizeof hiscores);
        player_init(&player1);
        bingo_round.question_type = ADDITION;
        bingo_round.skill_level = EASY;
        bingo_round.curr_q_idx = 0;
        game_init(&game);
    }
    ScratchGameFolder folder;
};

// The round and card that the playing screen will deal after srand(SEED).
void predict_round(t_round* round, t_bingo_card* card) {
    srand(SEED);
    *round = bingo_round;
    round_init(round, round->question_type, round->skill_level, 60000);
    bc_init(card, round);
    srand(SEED);
}

// Pushes a tap on the first unmarked square of the playing screen's card that holds `value`
// (or, with `matching` false, one that does not); gives its index, row * 5 + col, or -1.
int push_tap_on_square(const t_bingo_card& card, int value, bool matching) {
    const t_layout_item item = layout_item_of("play.layout", "bingo_card");
    for (int i = 0; i < NUM_QUESTIONS; i++) {
        const int row = i / CARD_SIZE, col = i % CARD_SIZE;
        const t_card_square& square = card.squares[row][col];
        if (square.marked || (square.answer_value == value) != matching) continue;
        push_tap(item.x + item.w * (col + 0.5f) / CARD_SIZE,
                 item.y + item.h * (row + 0.5f) / CARD_SIZE);
        return i;
    }
    return -1;
}

// Pushes right taps for `count` questions, following the cursor as the game moves it.
void push_right_answers(t_round* round, t_bingo_card* card, int count) {
    for (int i = 0; i < count; i++) {
        t_question& current = round->questions[round->curr_q_idx];
        const int square = push_tap_on_square(*card, current.answer, true);
        ASSERT_GE(square, 0);
        bc_mark_square(card, square / CARD_SIZE, square % CARD_SIZE);
        current.answered = 1;
        round_advance_question(round);
    }
}

// True when the region of `item` in the last frame equals what `draw` puts there on a
// cleared screen.
template <typename Draw>
bool frame_shows(const t_layout_item& item, Draw draw) {
    const std::vector<GLubyte> shown = read_region(item);
    clear_screen();
    draw();
    return read_region(item) == shown;
}

}  // namespace

// ---- Main menu ----

TEST_F(Screens, MenuCyclesTypeAndLevelShowsTheSelectionAndOpensEachScreen) {
    for (int i = 0; i < 4; i++) push_tap_on("main_menu.layout", "qtype_button");
    for (int i = 0; i < 3; i++) push_tap_on("main_menu.layout", "skill_level_button");
    push_key(SDLK_ESCAPE);
    do_main_menu();
    EXPECT_EQ(game.state, EXITING);
    EXPECT_EQ(bingo_round.question_type, ADDITION);
    EXPECT_EQ(bingo_round.skill_level, EASY);

    reset_input();
    push_tap_on("main_menu.layout", "qtype_button");
    push_tap_on("main_menu.layout", "qtype_button");
    push_tap_on("main_menu.layout", "skill_level_button");
    push_tap_on("main_menu.layout", "start_button");
    do_main_menu();
    EXPECT_EQ(game.state, PLAYING);
    EXPECT_EQ(bingo_round.question_type, MULTIPLICATION);
    EXPECT_EQ(bingo_round.skill_level, MEDIUM);
    // The buttons show the selection as it changes, and again on coming back.
    t_layout_item item = layout_item_of("main_menu.layout", "qtype_button");
    std::unique_ptr<t_button> expected(button_new("MULTIPLICATION"));
    EXPECT_TRUE(frame_shows(item, [&] { button_render(expected.get(), &item); }));
    reset_input();
    push_tap_on("main_menu.layout", "hiscore_button");
    do_main_menu();
    EXPECT_EQ(game.state, HISCORES);
    EXPECT_TRUE(frame_shows(item, [&] { button_render(expected.get(), &item); }));
    push_tap_on("main_menu.layout", "quit_button");
    do_main_menu();
    EXPECT_EQ(game.state, EXITING);
}

// ---- Playing ----

TEST_F(Screens, PlayingJudgesRightAndWrongTapsAndQuits) {
    t_round round;
    t_bingo_card card;
    predict_round(&round, &card);
    const int answer = round.questions[round.curr_q_idx].answer;
    ASSERT_GE(push_tap_on_square(card, answer, false), 0);
    const int right = push_tap_on_square(card, answer, true);
    ASSERT_GE(right, 0);
    push_tap_on("play.layout", "quit_button");
    game_set_state(&game, PLAYING);
    do_playing();

    EXPECT_EQ(game.state, MAIN_MENU);
    EXPECT_EQ(bingo_card.squares[right / CARD_SIZE][right % CARD_SIZE].marked, 1);
    EXPECT_EQ(round_num_answered_questions(&bingo_round), 1);
    EXPECT_LT(bingo_round.time_remaining, 55000);  // the wrong tap cost five seconds
    EXPECT_GT(bingo_round.time_remaining, 50000);
}

TEST_F(Screens, SkipWithOneQuestionLeftKeepsItCurrent) {
    t_round round;
    t_bingo_card card;
    predict_round(&round, &card);
    push_right_answers(&round, &card, NUM_QUESTIONS - 1);
    const int last = round.curr_q_idx;
    push_tap_on("play.layout", "skip_button");
    push_key(SDLK_ESCAPE);
    game_set_state(&game, PLAYING);
    do_playing();
    EXPECT_EQ(game.state, MAIN_MENU);
    EXPECT_EQ(round_num_unanswered_questions(&bingo_round), 1);
    EXPECT_EQ(bingo_round.curr_q_idx, last);
    EXPECT_EQ(p1_controls_state[P_EXIT], 0);
}

TEST_F(Screens, WrongTapWithFiveSecondsLeftEndsTheRoundShowingGameOver) {
    t_round round;
    t_bingo_card card;
    predict_round(&round, &card);
    ASSERT_GE(push_tap_on_square(card, round.questions[round.curr_q_idx].answer, false), 0);
    // 55.5 seconds went by between Start on the menu and the first frame.
    game_set_state(&game, PLAYING);
    game.time_total -= 55500;
    do_playing();
    EXPECT_EQ(game.state, GAME_OVER);
    EXPECT_EQ(bingo_round.time_remaining, 0);
    t_layout_item time_item = layout_item_of("play.layout", "time");
    EXPECT_TRUE(frame_shows(time_item, [&] { render_panel_text(&time_item, "GAME OVER"); }));
}

// Of the state changes one frame makes, the last stands: a time-out overrides Quit, and the
// last answer overrides a time-out.
TEST_F(Screens, TimeOutOverridesQuitAndTheLastAnswerOverridesATimeOut) {
    bingo_round.time_remaining = 0;  // emptied by this frame's time
    exit_signal = 0;
    screen_leave(MAIN_MENU);  // Quit in the same frame
    playing_run_clock();
    EXPECT_EQ(game.state, GAME_OVER);

    for (t_question& q : bingo_round.questions) q.answered = 1;
    bingo_round.time_remaining = 10;
    game_set_state(&game, PLAYING);
    game.time_total -= 100;
    exit_signal = 0;
    playing_run_clock();
    EXPECT_EQ(bingo_round.time_remaining, 0);
    EXPECT_EQ(game.state, ROUND_SCORE);
    EXPECT_EQ(exit_signal, 1);
}

TEST_F(Screens, RoundClockStaysDefinedAcrossATickWrapAndAStaleReading) {
    // The counter wrapped since the last reading: the frame takes the time between them.
    bingo_round.time_remaining = 60000;
    game.time_total = static_cast<int32_t>(0xFFFFFF00u);
    playing_run_clock();
    EXPECT_GT(game.time_change, 0);
    EXPECT_EQ(bingo_round.time_remaining, 60000 - game.time_change);
    // A reading 2^31 ms old gives the most negative change: no time is given back, and the
    // subtraction does not overflow.
    bingo_round.time_remaining = 30000;
    game.time_total = static_cast<int32_t>(SDL_GetTicks() + 0x80000000u);
    playing_run_clock();
    EXPECT_LT(game.time_change, 0);
    EXPECT_EQ(bingo_round.time_remaining, 30000);
}

TEST_F(Screens, RoundClockCountsFromTheStartOnTheMenu) {
    push_tap_on("main_menu.layout", "start_button");
    do_main_menu();
    SDL_Delay(300);                             // the playing screen's set-up, as it were
    push_tap_on("play.layout", "skip_button");  // the first frame runs the clock
    push_key(SDLK_ESCAPE);
    do_playing();
    EXPECT_LE(bingo_round.time_remaining, 60000 - 300);
    EXPECT_EQ(bingo_round.question_type, ADDITION);
}

// ---- Review after a time-out ----

class Review : public Screens {
   protected:
    void SetUp() override {
        Screens::SetUp();
        for (t_question& q : bingo_round.questions) q.answered = 1;
        for (int i : {2, 9, 20}) bingo_round.questions[i].answered = 0;
        bingo_round.curr_q_idx = 9;
        bingo_round.time_remaining = 0;
    }
    int step(const char* tag) {
        push_tap_on("game_over.layout", tag);
        push_key(SDLK_ESCAPE);
        do_game_over();
        reset_input();
        return bingo_round.curr_q_idx;
    }
};

TEST_F(Review, StepsThroughTheUnansweredQuestionsBothWays) {
    EXPECT_EQ(step("next_button"), 20);
    EXPECT_EQ(step("next_button"), 2);
    EXPECT_EQ(step("next_button"), 9);
    EXPECT_EQ(step("prev_button"), 2);
    EXPECT_EQ(step("prev_button"), 20);
    EXPECT_EQ(game.state, MAIN_MENU);  // Escape skips the round score
}

TEST_F(Review, ShowsTheCurrentSolutionAndContinuesToTheRoundScore) {
    snprintf(bingo_round.questions[9].solutiontext, QUESTION_TEXT_SIZE, "10000 / 100 = 100");
    push_tap_on("game_over.layout", "continue_button");
    do_game_over();
    EXPECT_EQ(game.state, ROUND_SCORE);
    EXPECT_EQ(p1_controls_state[P_SELECT], 0);
    t_layout_item question = layout_item_of("game_over.layout", "question");
    EXPECT_TRUE(frame_shows(question, [&] { render_panel_text(&question, "10000 / 100 = 100"); }));
}

// ---- Round score ----

class RoundScore : public Screens {
   protected:
    // Seven answers and one complete row, after a time-out.
    void SetUp() override {
        Screens::SetUp();
        bc_init(&bingo_card, nullptr);
        for (t_question& q : bingo_round.questions) q.answered = 0;
        for (int i = 0; i < 7; i++) bingo_round.questions[i].answered = 1;
        for (int col = 0; col < CARD_SIZE; col++) bingo_card.squares[2][col].marked = 1;
        bingo_card.squares[0][0].marked = bingo_card.squares[4][4].marked = 1;
        bingo_round.time_remaining = 0;
    }
};

// The table is empty, so 1700 is a high score: Escape still goes to the menu.
TEST_F(RoundScore, TotalsTheRoundAndShowsItsLinesAndEscapeReturnsToTheMenu) {
    push_key(SDLK_ESCAPE);
    do_round_score();
    EXPECT_EQ(player1.score, 1700);
    EXPECT_EQ(game.state, MAIN_MENU);
    t_layout_item panel = layout_item_of("round_score.layout", "score");
    EXPECT_TRUE(frame_shows(panel, [&] {
        render_panel(&panel);
        const char* lines[] = {"Answers (7): 700", "Bingos (1): 1000", "Blackout (0): 0",
                               "Seconds Remain (0): 0", "TOTAL: 1700"};
        for (int k = 0; k < 5; k++)
            font_write(large_font, lines[k], static_cast<int>(panel.x + 10),
                       static_cast<int>(panel.y + panel.h / 5.0 * k + 10), 0);
    }));
}

TEST_F(RoundScore, ATieWithTheLastEntryMakesTheTableAndOneLessDoesNot) {
    hiscores[ADDITION][EASY][4].score = 1700;
    push_tap_on("round_score.layout", "continue_button");
    do_round_score();
    EXPECT_EQ(game.state, GET_INITIALS);
    EXPECT_EQ(p1_controls_state[P_SELECT], 0);

    hiscores[ADDITION][EASY][4].score = 1701;
    reset_input();
    push_tap_on("round_score.layout", "continue_button");
    do_round_score();
    EXPECT_EQ(game.state, MAIN_MENU);
}

TEST_F(RoundScore, CompletedCardEarnsBingosBlackoutAndTimeBonus) {
    for (auto& row : bingo_card.squares)
        for (auto& square : row) square.marked = 1;
    for (t_question& q : bingo_round.questions) q.answered = 1;
    bingo_round.time_remaining = 12300;
    push_key(SDLK_ESCAPE);
    do_round_score();
    EXPECT_EQ(player1.score, 2500 + 12000 + 10000 + 600);
}

// ---- Initials entry ----

class Initials : public Screens {
   protected:
    // Taps the keys of `taps` (letters, '<' for backsp) and then enter.
    std::string enter(const char* taps) {
        for (const char* c = taps; *c; c++) {
            const std::string key = *c == '<' ? "backsp" : std::string(1, *c - 'A' + 'a');
            push_tap_on("get_initials.layout", (key + "_button").c_str());
        }
        push_tap_on("get_initials.layout", "enter_button");
        do_get_initials();
        reset_input();
        return player1.initials;
    }
};

TEST_F(Initials, CursorAndBackspaceFollowTheLettersShown) {
    EXPECT_EQ(enter("ABDE"), "ABE");
    EXPECT_EQ(game.state, HISCORES);
    player_init(&player1);
    EXPECT_EQ(enter("ABE<"), "AB");
    player_init(&player1);
    EXPECT_EQ(enter("AB<<"), "USR");  // confirming with none gives USR
    player_init(&player1);
    EXPECT_EQ(enter("<A<<B"), "B");
}

TEST_F(Initials, NewScoreRanksAboveAnEqualOneAndTheLastDropsOut) {
    const int scores[5] = {900, 700, 700, 300, 0};
    for (int i = 0; i < 5; i++) hiscores[ADDITION][EASY][i].score = scores[i];
    player1.score = 700;
    enter("NEW");
    const t_hiscore* table = hiscores[ADDITION][EASY];
    const int expected[5] = {900, 700, 700, 700, 300};
    for (int i = 0; i < 5; i++) EXPECT_EQ(table[i].score, expected[i]) << i;
    EXPECT_STREQ(table[1].initials, "NEW");
}

TEST_F(Initials, SecondEntryStartsFromThePreviousInitialsAndEscapeDoesNothing) {
    snprintf(player1.initials, sizeof player1.initials, "ABC");
    player1.score = 50;
    push_key(SDLK_ESCAPE);
    EXPECT_EQ(enter(""), "ABC");
    EXPECT_EQ(game.state, HISCORES);
    EXPECT_EQ(enter("X"), "ABX");  // the cursor stood on the third place
}

TEST_F(Initials, EntryIsSavedToTheFileAfterEnter) {
    player1.score = 1520;
    bingo_round.question_type = SUBTRACTION;
    bingo_round.skill_level = HARD;
    enter("ZED");
    std::istringstream file(read_file("hiscores.dat"));
    std::string line;
    for (int n = 0; n <= 15 * 1 + 5 * 2; n++) std::getline(file, line);
    EXPECT_EQ(line, "1520 ZED");
}

// ---- High scores ----

TEST_F(Screens, HighScoresShowTheSelectedTableUntilDoneOrEscape) {
    bingo_round.question_type = DIVISION;
    bingo_round.skill_level = MEDIUM;
    hiscores[DIVISION][MEDIUM][0] = {4200, "TOP"};
    push_tap_on("hiscores.layout", "done_button");
    do_hiscores();
    EXPECT_EQ(game.state, MAIN_MENU);
    t_layout_item table = layout_item_of("hiscores.layout", "hiscores");
    EXPECT_TRUE(frame_shows(table, [&] { hiscores_render(DIVISION, MEDIUM, &table); }));

    game.state = HISCORES;
    push_key(SDLK_ESCAPE);
    do_hiscores();
    EXPECT_EQ(game.state, MAIN_MENU);
}

// ---- Drawing only what changed ----

// Frames in which nothing happens: each ends on a key that no screen acts on.
void push_idle_frames(int count) {
    for (int i = 0; i < count; i++) push_key(SDLK_UP);
}

// A static screen presents its first frame and then only a frame whose picture changed, or
// one after the window's contents may have been lost.
TEST_F(Screens, StaticScreensPresentOnEntryThenOnlyWhatChangedOrWasLost) {
    bingo_round.time_remaining = 0;
    const struct {
        void (*run)();
        t_game_state state;
    } screens[] = {{do_main_menu, MAIN_MENU},
                   {do_hiscores, HISCORES},
                   {do_game_over, GAME_OVER},
                   {do_round_score, ROUND_SCORE}};
    for (const auto& shown : screens) {
        const unsigned before = frames_presented;
        game_set_state(&game, shown.state);
        push_idle_frames(5);
        push_key(SDLK_ESCAPE);
        shown.run();
        EXPECT_EQ(frames_presented - before, 1u) << shown.state;
    }

    unsigned before = frames_presented;
    push_idle_frames(3);
    push_tap_on("main_menu.layout", "qtype_button");
    push_idle_frames(3);
    push_key(SDLK_ESCAPE);
    do_main_menu();
    EXPECT_EQ(frames_presented - before, 2u);
    t_layout_item item = layout_item_of("main_menu.layout", "qtype_button");
    std::unique_ptr<t_button> expected(button_new("SUBTRACTION"));
    EXPECT_TRUE(frame_shows(item, [&] { button_render(expected.get(), &item); }));

    for (Uint8 type : {SDL_VIDEOEXPOSE, SDL_VIDEORESIZE, SDL_ACTIVEEVENT}) {
        SDL_Event window{};
        window.type = type;
        window.resize.w = GAME_WIDTH;
        window.resize.h = GAME_HEIGHT;
        before = frames_presented;
        push_idle_frames(2);
        ASSERT_EQ(SDL_PushEvent(&window), 0);
        push_idle_frames(2);
        push_key(SDLK_ESCAPE);
        do_main_menu();
        EXPECT_EQ(frames_presented - before, 2u) << int{type};
    }
}

// Each right tap shows in its own frame, the last one too, though the round ends in it;
// with no taps the playing screen presents when the shown seconds change.
TEST_F(Screens, PlayingPresentsEachTapsFrameAndOtherwiseOnlyEachNewSecond) {
    t_round round;
    t_bingo_card card;
    predict_round(&round, &card);
    push_right_answers(&round, &card, NUM_QUESTIONS);
    unsigned before = frames_presented;
    game_set_state(&game, PLAYING);
    do_playing();
    EXPECT_EQ(game.state, ROUND_SCORE);
    EXPECT_EQ(frames_presented - before, unsigned{NUM_QUESTIONS});

    // 2.7 seconds left: 00:02, 00:01, 00:00, then GAME OVER, over some 250 frames (a slow
    // emulated frame may outlast one of the seconds).
    before = frames_presented;
    game_set_state(&game, PLAYING);
    game.time_total -= ROUND_TIME_MS - 2700;
    do_playing();
    EXPECT_EQ(game.state, GAME_OVER);
    EXPECT_GE(frames_presented - before, 3u);
    EXPECT_LE(frames_presented - before, 4u);
}

// ---- Missing data files ----

// With every layout file and both fonts gone, each screen still runs, draws what it can,
// ignores taps and leaves by Escape; the initials screen, which has no exit control, only
// by a window close, which ends the program with status 0 and saves nothing.
TEST_F(Screens, EveryScreenRunsWithoutItsLayoutAndFonts) {
    for (const auto& entry : std::filesystem::directory_iterator("."))
        if (entry.path().extension() == ".layout") std::filesystem::remove(entry.path());
    t_font* const fonts[] = {small_font, large_font};
    small_font = large_font = nullptr;
    const struct {
        void (*run)();
        t_game_state state, after_escape;
    } runs[] = {{do_main_menu, MAIN_MENU, EXITING},
                {do_playing, PLAYING, MAIN_MENU},
                {do_hiscores, HISCORES, MAIN_MENU},
                {do_game_over, GAME_OVER, MAIN_MENU},
                {do_round_score, ROUND_SCORE, MAIN_MENU}};
    for (const auto& run : runs) {
        game_set_state(&game, run.state);
        push_tap(400, 240);
        push_key(SDLK_ESCAPE);
        run.run();
        EXPECT_EQ(game.state, run.after_escape) << run.state;
        reset_input();
    }
    EXPECT_EXIT(
        {
            SDL_Event quit{};
            quit.type = SDL_QUIT;
            push_tap(400, 240);
            SDL_PushEvent(&quit);
            do_get_initials();
        },
        ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(std::filesystem::exists("hiscores.dat"));
    small_font = fonts[0];
    large_font = fonts[1];
}
