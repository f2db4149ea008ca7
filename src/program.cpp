// The program's entry point; everything else is in the library.
#include <cstdio>
#include <cstdlib>

#include "frame.h"
#include "main.h"

int main() {
    // Messages reach a log or a pipe as each line ends, not when the game does: a game killed
    // first would lose them.
    setvbuf(stdout, nullptr, _IOLBF, 0);
#ifdef QUORVEL_DRAW_EVERY_FRAME
    frame_draw_every = 1;  // the baseline program of the benchmark's and the tests' builds
#endif
    if (!initialize()) return EXIT_FAILURE;
    main_loop();
    exit_game();
}
