// The program's entry point; everything else is in the library.
#include <cstdlib>

#include "frame.h"
#include "main.h"

int main() {
#ifdef QUORVEL_DRAW_EVERY_FRAME
    frame_draw_every = 1;  // the baseline program of the benchmark's and the tests' builds
#endif
    if (!initialize()) return EXIT_FAILURE;
    main_loop();
    exit_game();
}
