// The program's entry point; everything else is in the library.
#include <cstdlib>

#include "main.h"

int main() {
    if (!initialize()) return EXIT_FAILURE;
    main_loop();
    exit_game();
}
