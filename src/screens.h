// The six screens, each run by the dispatcher while the game state names it, and what
// they share beyond the screen loop: the playing screen's clock step, the round score's
// panel, the high-score table's panel and the title panels.
#pragma once

#include "bingo_card.h"
#include "layout.h"
#include "player.h"
#include "round.h"

// Each runs its screen until the screen has set a new state.
void do_main_menu();
void do_playing();
void do_hiscores();
void do_game_over();
void do_round_score();
void do_get_initials();

// One frame's clock of the playing screen: the frame time comes off the round clock; a
// time-out leads to the review, and a completed card, checked last, to the round score.
void playing_run_clock();

// The round score screen's panel: answers, bingos, blackout, time bonus and total.
void render_round_score(t_bingo_card* card, t_round* b_round, t_player* player,
                        t_layout_item* layout);
// The high scores screen's table panel: one type and level's heading and its five entries.
void hiscores_render(t_question_type qtype, t_skill_level skill, t_layout_item* layout);

// Title panels.
void render_title(t_layout_item* layout);               // "Quorvel"
void render_hiscores_title(t_layout_item* layout);      // "High Scores"
void render_get_initials_title(t_layout_item* layout);  // "High Score!"
