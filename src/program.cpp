// The program's entry point; everything else is in the library.
#include <cstdio>
#include <cstdlib>

#include "main.h"

int main() {
    // Messages reach a log or a pipe as each line ends, not when the game does: a game killed
    // first would lose them.
    setvbuf(stdout, nullptr, _IOLBF, 0);
    if (!initialize()) return EXIT_FAILURE;
    main_loop();
    exit_game();
}
