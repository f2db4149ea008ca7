// Prints the rounds a seeded game deals. Usage: round_oracle SEED TYPE:LEVEL...  (one
// TYPE:LEVEL per round played, 0-based). Start-up deals one addition/easy round before the
// first one played. For each round played it prints "round TYPE LEVEL", then 25 lines
// "q INDEX ANSWER TEXT", then 5 lines "row A B C D E" of the card's numbers.
#include "round_oracle.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: round_oracle SEED TYPE:LEVEL...\n");
        return 2;
    }
    srand(static_cast<unsigned>(strtoul(argv[1], nullptr, 10)));
    oracle::Question questions[oracle::QUESTIONS];
    oracle::make_round(0, 0, questions);  // start-up's round
    for (int r = 2; r < argc; r++) {
        int type = 0, level = 0, card[oracle::QUESTIONS];
        if (sscanf(argv[r], "%d:%d", &type, &level) != 2 || type < 0 || type > 3 || level < 0 ||
            level > 2)
            return 2;
        oracle::make_round(type, level, questions);
        oracle::deal(questions, card);
        printf("round %d %d\n", type, level);
        for (int i = 0; i < oracle::QUESTIONS; i++)
            printf("q %d %d %s\n", i, questions[i].answer, questions[i].text);
        for (int row = 0; row < 5; row++) {
            const int* n = card + row * 5;
            printf("row %d %d %d %d %d\n", n[0], n[1], n[2], n[3], n[4]);
        }
    }
    return 0;
}
