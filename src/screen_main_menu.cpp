// The main menu: choose the question type and skill level, start a round, see the high
// scores, or quit.
#include <initializer_list>

#include "button.h"
#include "graphics.h"
#include "layout.h"
#include "round.h"
#include "screen.h"
#include "screens.h"

namespace {

constexpr Uint32 MENU_DELAY_MS = 20;

struct MainMenu {
    t_screen_layout* layout;
    t_button* qtype;
    t_button* skill_level;
    t_button* start;
    t_button* quit;
    t_button* hiscore;
};

MainMenu enter() {
    MainMenu menu{};
    menu.qtype = button_new(qtype_str[bingo_round.question_type]);
    menu.skill_level = button_new(skill_level_str[bingo_round.skill_level]);
    menu.start = button_new("Start");
    menu.quit = button_new("Quit");
    menu.hiscore = button_new("High Scores");
    menu.layout = layout_load("main_menu.layout");
    return menu;
}

// Every test runs for the same tap, in this order.
void handle_tap(MainMenu* menu, float x, float y) {
    if (screen_button_hit(menu->layout, menu->start, "start_button", x, y)) screen_leave(PLAYING);
    if (screen_button_hit(menu->layout, menu->quit, "quit_button", x, y)) screen_leave(EXITING);
    if (screen_button_hit(menu->layout, menu->skill_level, "skill_level_button", x, y)) {
        bingo_round.skill_level =
            static_cast<t_skill_level>((bingo_round.skill_level + 1) % NUM_SKILL_LEVELS);
        button_set_label(menu->skill_level, skill_level_str[bingo_round.skill_level]);
    }
    if (screen_button_hit(menu->layout, menu->qtype, "qtype_button", x, y)) {
        bingo_round.question_type =
            static_cast<t_question_type>((bingo_round.question_type + 1) % NUM_QTYPES);
        button_set_label(menu->qtype, qtype_str[bingo_round.question_type]);
    }
    if (screen_button_hit(menu->layout, menu->hiscore, "hiscore_button", x, y))
        screen_leave(HISCORES);
}

void draw(MainMenu* menu) {
    clear_screen();
    screen_button_render(menu->layout, menu->qtype, "qtype_button");
    screen_button_render(menu->layout, menu->skill_level, "skill_level_button");
    screen_button_render(menu->layout, menu->start, "start_button");
    screen_button_render(menu->layout, menu->quit, "quit_button");
    screen_button_render(menu->layout, menu->hiscore, "hiscore_button");
    render_title(layout_get_item(menu->layout, "title"));
}

void leave(MainMenu* menu) {
    for (t_button* button :
         {menu->qtype, menu->skill_level, menu->start, menu->quit, menu->hiscore})
        delete button;
    layout_free(menu->layout);
}

}  // namespace

void do_main_menu() {
    MainMenu menu = enter();
    screen_loop(
        EXITING, MENU_DELAY_MS, [&](float x, float y) { handle_tap(&menu, x, y); },
        [&] { draw(&menu); });
    leave(&menu);
}
