// Start-up, the screen dispatcher and shut-down.
#pragma once

extern int debug;  // diagnostic switch; nothing sets it

// Start-up; 1 on success, 0 when graphics or input cannot be set up.
int initialize();
// Shut-down: frees the fonts, closes SDL and ends the process with status 0.
[[noreturn]] void exit_game();
// Runs the screen of each state in turn until the state is EXITING.
void main_loop();
