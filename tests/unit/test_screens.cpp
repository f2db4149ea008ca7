// The six screens played in-process on pushed taps and keys, judged by what a player sees
// and what the score file holds.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "button.h"
#include "hiscore.h"
#include "main.h"
#include "object_count.h"
#include "pixels.h"
#include "round_display.h"
#include "screen.h"
#include "screen_helpers.h"
#include "screens.h"

namespace {

struct Screens : ::testing::Test {
    void SetUp() override {
        start_frame();
        load_game_fonts();
        reset_input();
        memset(hiscores, 0, sizeof hiscores);
        snprintf(player1.initials, sizeof player1.initials, "ZZ");  // a player before, forgotten
        player_init(&player1);
        bingo_round = {};
    }
    ScratchGameFolder folder;
};

// Runs `screen` from `state` begun `ms_ago`, on the input pushed; gives the state it left for.
t_game_state run(void (*screen)(), t_game_state state, int ms_ago = 0) {
    game_set_state(&game, state);
    game.time_total -= ms_ago;
    screen();
    reset_input();
    return game.state;
}

}  // namespace

// Type and level cycled on the menu; a wrong tap, a right one, a skip and a right one, then a
// time-out; the review steps through the missed questions; two answers make the table. Each
// screen looks as its kept picture: the labels chosen, the marks, the question at the cursor.
TEST_F(Screens, ARoundFromTheMenuThroughTheReviewAndScoreIntoTheTableAndTheFile) {
    put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 1, 1, 1, 1);  // a screen starts on a clear frame
    for (int i = 0; i < 5; i++) push_tap_on("main_menu.layout", "qtype_button");
    for (int i = 0; i < 4; i++) push_tap_on("main_menu.layout", "skill_level_button");
    push_tap_on("main_menu.layout", "start_button");
    EXPECT_EQ(run(do_main_menu, MAIN_MENU), PLAYING);
    expect_look("main_menu");
    srand(7);
    push_tap_on("play.layout", "quit_button");
    EXPECT_EQ(run(do_playing, PLAYING), MAIN_MENU);  // dealt the round played next
    expect_look("new_round");
    const t_question* q = bingo_round.questions;
    auto at = [](int i) { return bingo_card.squares[i / 5][i % 5].answer_value; };
    int wrong = 0, first = 0, last = NUM_QUESTIONS - 1;
    while (at(first) != q[0].answer) first++;
    while (at(last) != q[2].answer) last--;
    while (at(wrong) == q[0].answer || at(wrong) == q[3].answer) wrong++;  // q3: the last taps'
    const t_layout_item c = layout_item_of("play.layout", "bingo_card");
    std::vector<int> taps = {wrong, first, -1, last};  // -1: the skip
    taps.insert(taps.end(), ROUND_TIME_MS / 5000 - 1, wrong);
    for (int i : taps) {
        if (i < 0) push_tap_on("play.layout", "skip_button");
        if (i >= 0) push_tap(bc_cell_centre(c.x, c.w, i % 5), bc_cell_centre(c.y, c.h, i / 5));
    }
    srand(7);
    const unsigned before = frames_presented;
    EXPECT_EQ(run(do_playing, PLAYING), GAME_OVER);
    EXPECT_EQ(frames_presented - before, taps.size()) << "one a tap, the last GAME OVER";
    expect_look("time_out");
    for (const char* tag : {"next_button", "prev_button", "prev_button", "prev_button"})
        push_tap_on("game_over.layout", tag);  // from 3 to 4, back to 3, 1 and, wrapping, 24
    push_tap_on("game_over.layout", "continue_button");
    EXPECT_EQ(run(do_game_over, GAME_OVER), ROUND_SCORE);
    expect_look("review");
    push_tap_on("round_score.layout", "continue_button");
    EXPECT_EQ(run(do_round_score, ROUND_SCORE), GET_INITIALS);
    expect_look("round_score");
    for (const char* key : {"a_button", "b_button", "d_button", "e_button", "backsp_button",
                            "backsp_button", "x_button", "enter_button"})
        push_tap_on("get_initials.layout", key);  // ABE, AB, A, then AX
    EXPECT_EQ(run(do_get_initials, GET_INITIALS), HISCORES);
    EXPECT_STREQ(player1.initials, "AX");
    std::string file = read_file("hiscores.dat");
    for (int line = 0; line < 20; line++) file.erase(0, file.find('\n') + 1);
    EXPECT_EQ(file.substr(0, file.find('\n') + 1), "200 AX\n");  // subtraction's, medium's first
    push_tap_on("hiscores.layout", "done_button");               // the table as its screen shows it
    EXPECT_EQ(run(do_hiscores, HISCORES), MAIN_MENU);
    expect_look("hiscores");
}

// The clock takes a frame's time whole, across a tick wrap too, and none of a reading that went
// back or leapt further ahead than a frame takes (a clock step, a game stopped or asleep); a
// full card overrides a time-out and Quit; its total, tying the table's last entry, makes the
// table and one point less does not. The entry starts after kept initials; none is saved as USR.
TEST_F(Screens, ClockAndAFullCardsTotalThatTiesTheTableIntoTheEntry) {
    for (int i = 0; i < NUM_QUESTIONS; i++) bingo_card.squares[i / 5][i % 5] = {i * 7, 1};
    for (t_question& q : bingo_round.questions) q.answered = 1;
    game_set_state(&game, PLAYING);
    game.time_total -= 300;
    game_update_time(&game);
    EXPECT_NEAR(game.time_in_state, 300, 20) << "the time since the state began";
    constexpr uint32_t HOUR = 3600000, LATER = 5000;
    EXPECT_EQ(game_time_played(0xFFFFFF00u, 0x2Cu), 300) << "a frame across a wrap";
    EXPECT_EQ(game_time_played(LATER, LATER + GAME_FRAME_MS_MAX), GAME_FRAME_MS_MAX) << "frame";
    EXPECT_EQ(game_time_played(LATER, LATER + GAME_FRAME_MS_MAX + 1), 0) << "a pause";
    bingo_round.time_remaining = 1;
    game.time_total = static_cast<int32_t>(SDL_GetTicks() + HOUR);
    playing_run_clock();
    EXPECT_EQ(bingo_round.time_remaining, 1) << "a reading gone back; 1 ms left is still time";
    bingo_round.time_remaining = 0;
    screen_leave(MAIN_MENU);
    playing_run_clock();
    EXPECT_EQ(game.state, ROUND_SCORE);
    bingo_round.time_remaining = 12000;
    for (int more : {1, 0}) {
        hiscores[ADDITION][EASY][4].score = 2500 + 12000 + 10000 + 600 + more;
        push_tap_on("round_score.layout", "continue_button");
        EXPECT_EQ(run(do_round_score, ROUND_SCORE), more ? MAIN_MENU : GET_INITIALS);
    }
    expect_look("full_card_score");
    const char* const entries[][3] = {{"", "enter_button", "USR"},
                                      {"A", "backsp_button", "USR"},
                                      {"AB", "x_button", "ABX"},
                                      {"ABC", "x_button", "ABX"}};
    for (auto [kept, key, saved] : entries) {
        snprintf(player1.initials, sizeof player1.initials, "%s", kept);
        for (const char* tag : {key, "enter_button"}) push_tap_on("get_initials.layout", tag);
        const long objects = live_objects;
        EXPECT_EQ(run(do_get_initials, GET_INITIALS), HISCORES);
        EXPECT_STREQ(player1.initials, saved) << kept << key;
        EXPECT_TRUE(!*kept || live_objects == objects) << "objects left behind";
    }
    expect_look("initials");
}

// Each screen presents its first frame, again only after a window event, and leaves by
// Escape with none of its objects left; so too with every layout file and both fonts gone,
// when taps land on nothing, and when the dispatcher runs it. The initials screen then
// leaves only by a window close, which saves nothing.
TEST_F(Screens, EveryScreenRunsWithoutItsLayoutAndFonts) {
    t_font* const fonts[] = {small_font, large_font};
    void (*const screens[])() = {do_main_menu, do_playing, do_hiscores, do_game_over,
                                 do_round_score};
    const Uint8 events[] = {0, SDL_VIDEOEXPOSE, SDL_VIDEORESIZE, SDL_ACTIVEEVENT, 0};
    for (int pass : {0, 1, 2}) {  // the last with no layout or font
        const bool gone = pass == 2;
        for (int i = 0; i < 5; i++) {
            const long objects = live_objects;
            const unsigned before = frames_presented;
            SDL_Event window{};
            window.resize = {events[i], GAME_WIDTH, GAME_HEIGHT};
            if (gone) push_tap(400, 240);
            push_key(SDLK_UP);  // a frame in which nothing happens
            if (events[i]) SDL_PushEvent(&window);
            for (SDLKey key : {SDLK_UP, SDLK_ESCAPE}) push_key(key);
            EXPECT_EQ(run(screens[i], t_game_state(i), 500), i ? MAIN_MENU : EXITING) << i;
            EXPECT_EQ(frames_presented - before, events[i] ? 2u : 1u) << i;
            EXPECT_TRUE(!pass || live_objects == objects) << "objects left behind by " << i;
        }
        if (pass == 0) continue;
        for (const auto& entry : std::filesystem::directory_iterator("."))
            if (entry.path().extension() == ".layout") std::filesystem::remove(entry.path());
        small_font = large_font = nullptr;
    }
    for (t_game_state state : {PLAYING, HISCORES, GAME_OVER, ROUND_SCORE}) {  // dispatched
        for (SDLKey key : {SDLK_UP, SDLK_ESCAPE, SDLK_UP, SDLK_ESCAPE}) push_key(key);
        game_set_state(&game, state);
        main_loop();  // Escape to the menu, and from there out
        EXPECT_EQ(SDL_PollEvent(nullptr), 0) << state;
    }
    SDL_Event quit = {SDL_QUIT};
    EXPECT_EXIT((alarm(30), SDL_PushEvent(&quit), do_get_initials()), ::testing::ExitedWithCode(0),
                "");
    EXPECT_FALSE(std::filesystem::exists("hiscores.dat"));
    small_font = fonts[0], large_font = fonts[1];
}

// Start pressed thrice (a bouncing panel; the dispatcher's poll takes a second press) acts on the
// menu only: what it has queued is dropped, and the round keeps its minute and its card.
TEST_F(Screens, ATapThatChangesTheScreenActsOnItsOwnScreenOnly) {
    for (int press = 0; press < 3; press++) push_tap_on("main_menu.layout", "start_button");
    for (SDLKey key : {SDLK_ESCAPE, SDLK_UP, SDLK_ESCAPE}) push_key(key);  // from the round, out
    game_set_state(&game, MAIN_MENU);
    do_main_menu();
    main_loop();
    EXPECT_GT(bingo_round.time_remaining, ROUND_TIME_MS - 5000) << "a wrong square tapped";
    EXPECT_EQ(round_num_unanswered_questions(&bingo_round), NUM_QUESTIONS) << "a square tapped";
}

// Drawing turns layout positions into ints: at the farthest coordinates a layout file may
// hold, every widget still draws without overflow (the sanitizer build checks).
TEST_F(Screens, WidgetsDrawAtTheFarthestCoordinatesALayoutAllows) {
    constexpr float FAR = LAYOUT_MAX_COORDINATE;
    t_button button = {"MULTIPLICATION", 0, 0};
    round_init(&bingo_round, MULTIPLICATION, HARD, ROUND_TIME_MS);
    bc_init(&bingo_card, &bingo_round);
    for (t_layout_item item : {t_layout_item{"far", FAR, FAR, FAR, FAR},
                               {"near", -FAR, -FAR, FAR, FAR},
                               {"wide", -FAR, -FAR, 2 * FAR, 2 * FAR}}) {
        button_render(&button, &item);
        render_panel_text(&item, "Seconds Remain (59): 2950");
        render_title(&item);
        player_render_initials(&player1, &item);
        player_render_score(&player1, &item);
        hiscores_render(MULTIPLICATION, MEDIUM, &item);
        round_time_render(&bingo_round, &item);
        round_question_render(&bingo_round, &item);
        round_solution_render(&bingo_round, &item);
        bc_render(&bingo_card, &item);
        bc_score(&bingo_card, 1, &item);
        render_round_score(&bingo_card, &bingo_round, &player1, &item);
    }
}
