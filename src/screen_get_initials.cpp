// The initials entry after a high score: the player types up to three initials on an
// on-screen keyboard, and the score is saved with them into its place in the table.
#include <cstdio>

#include "button.h"
#include "graphics.h"
#include "hiscore.h"
#include "layout.h"
#include "player.h"
#include "round.h"
#include "screen.h"
#include "screens.h"

namespace {

constexpr Uint32 GET_INITIALS_DELAY_MS = 10;
constexpr int NUM_LETTERS = 26;
constexpr int LAST_PLACE = 2;  // initials hold three letters, places 0 to 2

struct GetInitials {
    t_screen_layout* layout;
    t_button* letters[NUM_LETTERS];
    char letter_tags[NUM_LETTERS][sizeof "a_button"];
    t_button* backsp;
    t_button* enter;
    int cursor_pos;
};

// The cursor starts after the initials kept from an earlier entry (at most on the last place).
int first_free_place(const char* initials) {
    int cursor = 0;
    while (cursor < LAST_PLACE && initials[cursor] != '\0') cursor++;
    return cursor;
}

void create_keys(GetInitials* entry) {
    for (int i = 0; i < NUM_LETTERS; i++) {
        const char label[2] = {static_cast<char>('A' + i), '\0'};
        entry->letters[i] = button_new(label);
        snprintf(entry->letter_tags[i], sizeof entry->letter_tags[i], "%c_button", 'a' + i);
    }
    entry->backsp = button_new("backsp");
    entry->enter = button_new("enter");
}

void type_letter(GetInitials* entry, char letter) {
    player1.initials[entry->cursor_pos] = letter;
    if (entry->cursor_pos < LAST_PLACE) entry->cursor_pos++;
}

// Always removes the last letter shown.
void backspace(GetInitials* entry) {
    char* initials = player1.initials;
    if (entry->cursor_pos == 1 || (entry->cursor_pos == LAST_PLACE && initials[LAST_PLACE] == '\0'))
        entry->cursor_pos--;
    initials[entry->cursor_pos] = '\0';
}

// An entry confirmed with no initials is saved as USR.
void confirm() {
    if (player1.initials[0] == '\0') snprintf(player1.initials, sizeof player1.initials, "USR");
    screen_leave(HISCORES);
}

void handle_tap(GetInitials* entry, float x, float y) {
    for (int i = 0; i < NUM_LETTERS; i++)
        if (screen_button_hit(entry->layout, entry->letters[i], entry->letter_tags[i], x, y))
            type_letter(entry, static_cast<char>('A' + i));
    if (screen_button_hit(entry->layout, entry->backsp, "backsp_button", x, y)) backspace(entry);
    if (screen_button_hit(entry->layout, entry->enter, "enter_button", x, y)) confirm();
}

void draw(GetInitials* entry) {
    clear_screen();
    render_get_initials_title(layout_get_item(entry->layout, "title"));
    for (int i = 0; i < NUM_LETTERS; i++)
        screen_button_render(entry->layout, entry->letters[i], entry->letter_tags[i]);
    screen_button_render(entry->layout, entry->backsp, "backsp_button");
    screen_button_render(entry->layout, entry->enter, "enter_button");
    player_render_initials(&player1, layout_get_item(entry->layout, "player_initials"));
}

void leave(GetInitials* entry) {
    for (t_button* key : entry->letters) delete key;
    delete entry->backsp;
    delete entry->enter;
    layout_free(entry->layout);
}

}  // namespace

void do_get_initials() {
    GetInitials entry{};
    entry.cursor_pos = first_free_place(player1.initials);
    entry.layout = layout_load("get_initials.layout");
    create_keys(&entry);
    // No exit control here: the entry is always completed.
    screen_loop(
        std::nullopt, GET_INITIALS_DELAY_MS, [&](float x, float y) { handle_tap(&entry, x, y); },
        [&] { draw(&entry); });
    // Only a completed entry is saved: a window close above ends the program first.
    hiscores_save_entry(HISCORES_FILE, bingo_round.question_type, bingo_round.skill_level,
                        player1.score, player1.initials);
    leave(&entry);
}
