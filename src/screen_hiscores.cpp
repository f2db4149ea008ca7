// The high-score table of the type and level chosen on the menu.
#include "button.h"
#include "graphics.h"
#include "hiscore.h"
#include "layout.h"
#include "round.h"
#include "screen.h"
#include "screens.h"

namespace {

constexpr Uint32 HISCORES_DELAY_MS = 5;

struct Hiscores {
    t_screen_layout* layout;
    t_button* done;
};

void draw(Hiscores* shown) {
    clear_screen();
    render_hiscores_title(layout_get_item(shown->layout, "title"));
    hiscores_render(bingo_round.question_type, bingo_round.skill_level,
                    layout_get_item(shown->layout, "hiscores"));
    screen_button_render(shown->layout, shown->done, "done_button");
}

}  // namespace

void do_hiscores() {
    Hiscores shown = {layout_load("hiscores.layout"), button_new("Done")};
    auto on_tap = [&](float x, float y) {
        if (screen_button_hit(shown.layout, shown.done, "done_button", x, y))
            screen_leave(MAIN_MENU);
    };
    screen_loop(MAIN_MENU, HISCORES_DELAY_MS, on_tap, [&] { draw(&shown); });
    delete shown.done;
    layout_free(shown.layout);
}
