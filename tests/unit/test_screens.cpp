// The six screens played in-process on pushed taps and keys, judged by what a player sees
// and what the score file holds.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <tuple>
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

// The rules of scoring and of the clock, as the player is told them.
constexpr int POINTS_PER_RIGHT_ANSWER = 100, POINTS_PER_SECOND_LEFT = 50, WRONG_TAP_COST_MS = 5000;
constexpr int LINES_ON_A_CARD = 2 * CARD_SIZE + 2;  // rows, columns and the two diagonals

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

// Each state's screen and its layout, in the states' order.
const struct {
    void (*run)();
    const char* layout_file;
} screen_of[] = {{do_main_menu, "main_menu.layout"},     {do_playing, "play.layout"},
                 {do_hiscores, "hiscores.layout"},       {do_game_over, "game_over.layout"},
                 {do_round_score, "round_score.layout"}, {do_get_initials, "get_initials.layout"}};

// Runs the screen of `state` begun `ms_ago`, on the input pushed; gives the state it left for.
t_game_state run(t_game_state state, int ms_ago = 0) {
    game_set_state(&game, state);
    game.time_total -= ms_ago;
    screen_of[state].run();
    reset_input();
    return game.state;
}

// Runs the screen of `state` on taps on its buttons ("start": the layout's "start_button");
// expects where it leads and, if one is kept, its picture.
void expect_step(t_game_state state, const std::vector<const char*>& buttons, t_game_state leads_to,
                 const char* look) {
    for (const char* name : buttons)
        push_tap_on(screen_of[state].layout_file, (std::string(name) + "_button").c_str());
    EXPECT_EQ(run(state), leads_to) << "from " << screen_of[state].layout_file;
    if (look) expect_look(look);
}

int answer_on(int square) {
    return bingo_card.squares[square / CARD_SIZE][square % CARD_SIZE].answer_value;
}

// Line `n` (from 0) of `text`, with its newline.
std::string line_of(std::string text, int n) {
    for (int line = 0; line < n; line++) text.erase(0, text.find('\n') + 1);
    return text.substr(0, text.find('\n') + 1);
}

}  // namespace

// Type and level cycled on the menu; a wrong tap, a right one, a skip and a right one, then a
// time-out; the review steps through the missed questions; two answers make the table. Each
// screen looks as its kept picture: the labels chosen, the marks, the question at the cursor.
TEST_F(Screens, ARoundFromTheMenuThroughTheReviewAndScoreIntoTheTableAndTheFile) {
    constexpr unsigned SEED = 7;
    put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 1, 1, 1, 1);  // a screen starts on a clear frame
    // Type and level each cycled once round and on to the next: subtraction, medium.
    expect_step(MAIN_MENU,
                {"qtype", "qtype", "qtype", "qtype", "qtype", "skill_level", "skill_level",
                 "skill_level", "skill_level", "start"},
                PLAYING, "main_menu");
    srand(SEED);
    expect_step(PLAYING, {"quit"}, MAIN_MENU, "new_round");
    // The round dealt again from the seed: the squares of the first and third questions'
    // answers, and one wrong for both the first and the fourth, the current one at the end.
    const t_question* question = bingo_round.questions;
    int first = 0, third = NUM_QUESTIONS - 1, wrong = 0;
    while (answer_on(first) != question[0].answer) first++;
    while (answer_on(third) != question[2].answer) third--;
    while (answer_on(wrong) == question[0].answer || answer_on(wrong) == question[3].answer)
        wrong++;
    const t_layout_item card = layout_item_of("play.layout", "bingo_card");
    const auto push_square_tap = [&](int square) {
        push_tap(bc_cell_centre(card.x, card.w, square % CARD_SIZE),
                 bc_cell_centre(card.y, card.h, square / CARD_SIZE));
    };
    for (int square : {wrong, first}) push_square_tap(square);
    push_tap_on("play.layout", "skip_button");
    push_square_tap(third);
    constexpr int WRONG_TAPS_TO_TIME_OUT = ROUND_TIME_MS / WRONG_TAP_COST_MS;
    for (int tap = 1; tap < WRONG_TAPS_TO_TIME_OUT; tap++) push_square_tap(wrong);
    const unsigned taps = WRONG_TAPS_TO_TIME_OUT + 2 + 1;  // the wrong, the right, the skip
    srand(SEED);
    const unsigned before = frames_presented;
    expect_step(PLAYING, {}, GAME_OVER, "time_out");
    EXPECT_EQ(frames_presented - before, taps) << "one a tap, the last GAME OVER";
    // The fourth question, the fifth, the fourth, the second and, wrapping, the last.
    expect_step(GAME_OVER, {"next", "prev", "prev", "prev", "continue"}, ROUND_SCORE, "review");
    expect_step(ROUND_SCORE, {"continue"}, GET_INITIALS, "round_score");
    // ABE, AB, A, then AX.
    expect_step(GET_INITIALS, {"a", "b", "d", "e", "backsp", "backsp", "x", "enter"}, HISCORES,
                nullptr);
    EXPECT_STREQ(player1.initials, "AX");
    const int line = (SUBTRACTION * NUM_SKILL_LEVELS + MEDIUM) * HISCORE_RANKS;  // its first rank
    EXPECT_EQ(line_of(read_file(HISCORES_FILE), line),
              std::to_string(2 * POINTS_PER_RIGHT_ANSWER) + " AX\n");
    expect_step(HISCORES, {"done"}, MAIN_MENU, "hiscores");
}

// The clock takes a frame's time whole, across a tick wrap too, and none of a reading that went
// back or leapt further ahead than a frame takes (a clock step, a game stopped or asleep).
TEST_F(Screens, TheClockTakesAFramesTimeWholeAndNoneOfAStepOrAPause) {
    constexpr int32_t FRAME_MS = 300, SLACK_MS = 20;
    constexpr uint32_t BEFORE_A_WRAP = 0xFFFFFF00u, LATER = 5000, HOUR = 3600000;
    game_set_state(&game, PLAYING);
    game.time_total -= FRAME_MS;
    game_update_time(&game);
    EXPECT_NEAR(game.time_in_state, FRAME_MS, SLACK_MS) << "the time since the state began";
    EXPECT_EQ(game_time_played(BEFORE_A_WRAP, BEFORE_A_WRAP + FRAME_MS), FRAME_MS) << "a wrap";
    EXPECT_EQ(game_time_played(LATER, LATER + GAME_FRAME_MS_MAX), GAME_FRAME_MS_MAX) << "frame";
    EXPECT_EQ(game_time_played(LATER, LATER + GAME_FRAME_MS_MAX + 1), 0) << "a pause";
    bingo_round.time_remaining = 1;
    game.time_total = static_cast<int32_t>(SDL_GetTicks() + HOUR);
    playing_run_clock();
    EXPECT_EQ(bingo_round.time_remaining, 1) << "a reading gone back; 1 ms left is still time";
}

// A full card overrides a time-out and Quit; its total, tying the table's last entry, makes the
// table and one point less does not. The entry starts after kept initials; none is saved as USR.
TEST_F(Screens, AFullCardsTotalThatTiesTheTableLeadsIntoTheEntry) {
    constexpr int SECONDS_LEFT = 12;
    for (int square = 0; square < NUM_QUESTIONS; square++)
        bingo_card.squares[square / CARD_SIZE][square % CARD_SIZE] = {square * 7, 1};
    for (t_question& q : bingo_round.questions) q.answered = 1;
    game_set_state(&game, PLAYING);
    bingo_round.time_remaining = 0;
    screen_leave(MAIN_MENU);
    playing_run_clock();
    EXPECT_EQ(game.state, ROUND_SCORE) << "after a time-out and Quit";
    bingo_round.time_remaining = SECONDS_LEFT * 1000;
    const int total = NUM_QUESTIONS * POINTS_PER_RIGHT_ANSWER + LINES_ON_A_CARD * POINTS_PER_BINGO +
                      POINTS_PER_BLACKOUT + SECONDS_LEFT * POINTS_PER_SECOND_LEFT;
    t_hiscore& last_entry = hiscores[ADDITION][EASY][HISCORE_RANKS - 1];
    last_entry.score = total + 1;
    expect_step(ROUND_SCORE, {"continue"}, MAIN_MENU, nullptr);
    last_entry.score = total;
    expect_step(ROUND_SCORE, {"continue"}, GET_INITIALS, "full_card_score");
    // The initials kept, the key typed before Enter, and the initials saved.
    const std::tuple<const char*, const char*, const char*> entries[] = {
        {"", "enter", "USR"}, {"A", "backsp", "USR"}, {"AB", "x", "ABX"}, {"ABC", "x", "ABX"}};
    for (auto [kept, key, saved] : entries) {
        snprintf(player1.initials, sizeof player1.initials, "%s", kept);
        const long objects = live_objects;
        expect_step(GET_INITIALS, {key, "enter"}, HISCORES, nullptr);
        EXPECT_STREQ(player1.initials, saved) << kept << " kept, then " << key;
        if (kept[0] == '\0') continue;  // the first run also makes the renderer's own objects
        EXPECT_EQ(live_objects, objects) << "objects left behind after " << kept;
    }
    expect_look("initials");
}

// Each screen presents its first frame, again only after a window event, and leaves by
// Escape with none of its objects left; so too with every layout file and both fonts gone,
// when taps land on nothing, and when the dispatcher runs it. The initials screen then
// leaves only by a window close, which saves nothing.
TEST_F(Screens, EveryScreenRunsWithoutItsLayoutAndFonts) {
    constexpr int BEGUN_MS_AGO = 500;
    t_font* const fonts[] = {small_font, large_font};
    constexpr Uint8 NO_EVENT = 0;
    // Each screen's state, the window event it is sent, and where Escape leads.
    const std::tuple<t_game_state, Uint8, t_game_state> screens[] = {
        {MAIN_MENU, NO_EVENT, EXITING},
        {PLAYING, SDL_VIDEOEXPOSE, MAIN_MENU},
        {HISCORES, SDL_VIDEORESIZE, MAIN_MENU},
        {GAME_OVER, SDL_ACTIVEEVENT, MAIN_MENU},
        {ROUND_SCORE, NO_EVENT, MAIN_MENU}};
    const char *const FIRST = "first run: ", *const AGAIN = "again: ", *const BARE = "bare: ";
    for (const char* pass : {FIRST, AGAIN, BARE}) {
        if (pass == BARE) {  // no layout or font
            for (const auto& entry : std::filesystem::directory_iterator("."))
                if (entry.path().extension() == ".layout") std::filesystem::remove(entry.path());
            small_font = large_font = nullptr;
        }
        for (auto [state, window_event, escape_leads_to] : screens) {
            const long objects = live_objects;
            const unsigned before = frames_presented;
            SDL_Event window{};
            window.resize = {window_event, GAME_WIDTH, GAME_HEIGHT};
            if (pass == BARE) push_tap(GAME_WIDTH / 2, GAME_HEIGHT / 2);  // on nothing
            push_key(SDLK_UP);  // a frame in which nothing happens
            if (window_event != NO_EVENT) SDL_PushEvent(&window);
            for (SDLKey key : {SDLK_UP, SDLK_ESCAPE}) push_key(key);
            EXPECT_EQ(run(state, BEGUN_MS_AGO), escape_leads_to) << pass << state;
            const unsigned frames = window_event == NO_EVENT ? 1 : 2;  // the first, the event's
            EXPECT_EQ(frames_presented - before, frames) << pass << state;
            if (pass == FIRST) continue;  // the first runs make the renderer's own objects
            EXPECT_EQ(live_objects, objects) << "objects left behind, " << pass << state;
        }
    }
    for (t_game_state state : {PLAYING, HISCORES, GAME_OVER, ROUND_SCORE}) {  // dispatched
        for (SDLKey key : {SDLK_UP, SDLK_ESCAPE, SDLK_UP, SDLK_ESCAPE}) push_key(key);
        game_set_state(&game, state);
        main_loop();  // Escape to the menu, and from there out
        EXPECT_EQ(SDL_PollEvent(nullptr), 0) << "input left unread from " << state;
    }
    SDL_Event quit = {SDL_QUIT};
    EXPECT_EXIT((alarm(CHILD_DEADLINE_S), SDL_PushEvent(&quit), do_get_initials()),
                ::testing::ExitedWithCode(0), "");
    EXPECT_FALSE(std::filesystem::exists(HISCORES_FILE));
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
    EXPECT_GT(bingo_round.time_remaining, ROUND_TIME_MS - WRONG_TAP_COST_MS) << "a wrong square";
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
