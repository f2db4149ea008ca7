// Pictures of each screen's elements in its shipped layout, drawn in the screen's own order
// with the widest contents the game can show, saved as BMP files in build/screenshots/.
#include <SDL/SDL.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bingo_card.h"
#include "button.h"
#include "fonts.h"
#include "hiscore.h"
#include "main.h"
#include "pixels.h"
#include "player.h"
#include "round.h"
#include "round_display.h"
#include "text.h"

namespace {

constexpr const char* SHOT_DIR = "../screenshots";

// Saves the frame drawn so far as SHOT_DIR/<name>.bmp.
void save_frame(const std::string& name) {
    std::vector<GLubyte> rgba(GAME_WIDTH * GAME_HEIGHT * 4);
    glReadPixels(0, 0, GAME_WIDTH, GAME_HEIGHT, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    SDL_Surface* shot = SDL_CreateRGBSurface(SDL_SWSURFACE, GAME_WIDTH, GAME_HEIGHT, 32, 0x000000FF,
                                             0x0000FF00, 0x00FF0000, 0);
    ASSERT_NE(shot, nullptr);
    const int row_bytes = GAME_WIDTH * 4;
    for (int y = 0; y < GAME_HEIGHT; y++)  // GL rows count from the bottom
        memcpy(static_cast<GLubyte*>(shot->pixels) + y * shot->pitch,
               &rgba[(GAME_HEIGHT - 1 - y) * row_bytes], row_bytes);
    mkdir(SHOT_DIR, 0755);
    const std::string path = std::string(SHOT_DIR) + "/" + name + ".bmp";
    EXPECT_EQ(SDL_SaveBMP(shot, path.c_str()), 0) << path;
    SDL_FreeSurface(shot);
}

// A screen's layout and buttons for the length of one picture.
class Screen {
   public:
    explicit Screen(const char* filename) : layout_(layout_load(filename)) {}
    ~Screen() {
        for (t_button* button : buttons_) delete button;
        layout_free(layout_);
    }
    t_layout_item* item(const char* tag) { return layout_get_item(layout_, tag); }
    void button(const char* label, const char* tag) {
        buttons_.push_back(button_new(label));
        button_render(buttons_.back(), item(tag));
    }

   private:
    t_screen_layout* layout_;
    std::vector<t_button*> buttons_;
};

// A HARD multiplication round whose card shows the widest numbers, every other square marked.
void deal_sample(t_round* round, t_bingo_card* card, int time_remaining) {
    *round = t_round{};  // the cursor starts at the first question
    srand(7);
    round_init(round, MULTIPLICATION, HARD, time_remaining);
    text_copy(round->questions[round->curr_q_idx].text, "10000 / 100 = ?");
    text_copy(round->questions[round->curr_q_idx].solutiontext, "10000 / 100 = 100");
    bc_init(card, round);
    for (int k = 0; k < NUM_QUESTIONS; k++) {
        t_card_square& square = card->squares[k / CARD_SIZE][k % CARD_SIZE];
        if (k % 3 == 0) square.answer_value = 10000;
        square.marked = k % 2;
    }
}

// Stands in for the round score screen's own panel (render_round_score) until that screen
// is built; then the picture calls it instead.
void draw_score_lines(t_layout_item* layout, const char* const lines[5]) {
    render_panel(layout);
    for (int k = 0; k < 5; k++)
        font_write(large_font, lines[k], static_cast<int>(layout->x + 10),
                   static_cast<int>(layout->y + static_cast<double>(layout->h) / 5 * k + 10), 0);
}

// Stands in for the high-score table's own panel (hiscores_render) until it is built; then
// the picture calls it instead.
void draw_hiscore_lines(t_question_type qtype, t_skill_level skill, t_layout_item* layout) {
    render_panel(layout);
    const int x = static_cast<int>(layout->x + layout->w / 2);
    double y = layout->y + font_height(large_font) / 4.0;
    char text[32];
    snprintf(text, sizeof text, "%s - %s", qtype_str[qtype], skill_level_str[skill]);
    font_write(large_font, text, x, static_cast<int>(y), FONT_CENTRED);
    for (const t_hiscore& entry : hiscores[qtype][skill]) {
        y += layout->h / 6.0;
        snprintf(text, sizeof text, "%-10d %s", entry.score, entry.initials);
        font_write(large_font, text, x, static_cast<int>(y), FONT_CENTRED);
    }
}

class Screenshot : public ::testing::Test {
   protected:
    void SetUp() override {
        start_frame();
        load_game_fonts();
    }
};

}  // namespace

TEST_F(Screenshot, MainMenu) {
    Screen shown("main_menu.layout");
    shown.button("MULTIPLICATION", "qtype_button");
    shown.button("MEDIUM", "skill_level_button");
    shown.button("Start", "start_button");
    shown.button("Quit", "quit_button");
    shown.button("High Scores", "hiscore_button");
    render_title(shown.item("title"));
    save_frame("main_menu");
}

TEST_F(Screenshot, Playing) {
    Screen shown("play.layout");
    t_round round;
    t_bingo_card card;
    deal_sample(&round, &card, 42000);
    bc_render(&card, shown.item("bingo_card"));
    round_time_render(&round, shown.item("time"));
    round_question_render(&round, shown.item("question"));
    shown.button("Skip", "skip_button");
    shown.button("Quit", "quit_button");
    save_frame("play");
}

TEST_F(Screenshot, GameOverReview) {
    Screen shown("game_over.layout");
    t_round round;
    t_bingo_card card;
    deal_sample(&round, &card, 0);
    font_write(small_font, "GAME OVER", 10, 10, 0);
    bc_render(&card, shown.item("bingo_card"));
    round_time_render(&round, shown.item("time"));
    shown.button("Continue", "continue_button");
    round_solution_render(&round, shown.item("question"));
    shown.button("<", "prev_button");
    shown.button(">", "next_button");
    save_frame("game_over");
}

namespace {

// The round score screen over the sample card with the marks `mark` adds.
void shoot_round_score(const char* name, int time_left, void (*mark)(t_bingo_card*),
                       const char* const lines[5]) {
    Screen shown("round_score.layout");
    t_round round;
    t_bingo_card card;
    deal_sample(&round, &card, time_left);
    mark(&card);
    bc_render(&card, shown.item("bingo_card"));
    bc_score(&card, 1, shown.item("bingo_card"));
    draw_score_lines(shown.item("score"), lines);
    shown.button("Continue", "continue_button");
    save_frame(name);
}

}  // namespace

TEST_F(Screenshot, RoundScoreWithBingos) {
    const char* const lines[5] = {"Answers (17): 1700", "Bingos (2): 2000", "Blackout (0): 0",
                                  "Seconds Remain (0): 0", "TOTAL: 3700"};
    shoot_round_score(
        "round_score", 0,
        [](t_bingo_card* card) {
            for (int k = 0; k < CARD_SIZE; k++)
                card->squares[2][k].marked = card->squares[k][1].marked = 1;
        },
        lines);
}

TEST_F(Screenshot, RoundScoreWithBlackout) {
    const char* const lines[5] = {"Answers (25): 2500", "Bingos (12): 12000", "Blackout (1): 10000",
                                  "Seconds Remain (59): 2950", "TOTAL: 27450"};
    shoot_round_score(
        "round_score_blackout", 59000,
        [](t_bingo_card* card) {
            for (auto& row : card->squares)
                for (auto& square : row) square.marked = 1;
        },
        lines);
}

TEST_F(Screenshot, InitialsEntry) {
    Screen shown("get_initials.layout");
    render_get_initials_title(shown.item("title"));
    for (char letter = 'A'; letter <= 'Z'; letter++) {
        const char label[2] = {letter, '\0'};
        const std::string tag = std::string(1, static_cast<char>(letter - 'A' + 'a')) + "_button";
        shown.button(label, tag.c_str());
    }
    shown.button("backsp", "backsp_button");
    shown.button("enter", "enter_button");
    t_player player{};
    text_copy(player.initials, "WMW");
    player_render_initials(&player, shown.item("player_initials"));
    save_frame("get_initials");
}

TEST_F(Screenshot, HighScores) {
    Screen shown("hiscores.layout");
    const int scores[HISCORE_RANKS] = {27450, 14800, 9600, 3700, 0};
    const char* const initials[HISCORE_RANKS] = {"WMW", "ABC", "JO", "Z", ""};
    for (int rank = 0; rank < HISCORE_RANKS; rank++) {
        t_hiscore& entry = hiscores[MULTIPLICATION][MEDIUM][rank];
        entry.score = scores[rank];
        text_copy(entry.initials, initials[rank]);
    }
    render_hiscores_title(shown.item("title"));
    draw_hiscore_lines(MULTIPLICATION, MEDIUM, shown.item("hiscores"));
    shown.button("Done", "done_button");
    save_frame("hiscores");
}
