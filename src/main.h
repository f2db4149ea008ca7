// Start-up, the screen dispatcher, shut-down, and the screens' title panels.
#pragma once

#include "bingo_card.h"
#include "layout.h"
#include "player.h"
#include "round.h"

extern int debug;  // diagnostic switch; nothing sets it

// Start-up; 1 on success, 0 when graphics or input cannot be set up.
int initialize();
// Shut-down: frees the fonts, closes SDL and ends the process with status 0.
[[noreturn]] void exit_game();
// Runs the screen of each state in turn until the state is EXITING.
void main_loop();

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

// Title panels.
void render_title(t_layout_item* layout);               // "Quorvel"
void render_hiscores_title(t_layout_item* layout);      // "High Scores"
void render_get_initials_title(t_layout_item* layout);  // "High Score!"
