// Reproduces the game's rounds and cards from its random seed, written independently of the
// game's code: the same C library's rand() in the same order of calls. Usage:
//   round_oracle SEED TYPE:LEVEL...   (one TYPE:LEVEL per round played, 0-based)
// Start-up deals one addition/easy round before the first one played. For each round played
// it prints "round TYPE LEVEL", then 25 lines "q INDEX ANSWER TEXT", then 5 lines
// "row A B C D E" of the card's numbers.
#include <cstdio>
#include <cstdlib>

namespace {

constexpr int QUESTIONS = 25;
constexpr unsigned long RAND_SPAN = 2147483648ul;

struct Question {
    int answer;
    char text[32];
};

Question make_question(int type, int operand_max) {
    const unsigned long step = RAND_SPAN / static_cast<unsigned long>(operand_max);
    int a = static_cast<int>(static_cast<unsigned long>(rand()) / step);
    int b = static_cast<int>(static_cast<unsigned long>(rand()) / step);
    Question q{};
    switch (type) {
        case 0:
            q.answer = a + b;
            snprintf(q.text, sizeof q.text, "%d + %d = ?", a, b);
            break;
        case 1:
            if (b > a) {
                const int t = a;
                a = b;
                b = t;
            }
            q.answer = a - b;
            snprintf(q.text, sizeof q.text, "%d - %d = ?", a, b);
            break;
        case 2:
            q.answer = a * b;
            snprintf(q.text, sizeof q.text, "%d * %d = ?", a, b);
            break;
        default:
            if (a == 0) {
                if (b == 0) b = 1;
                const int t = a;
                a = b;
                b = t;
            }
            q.answer = b;  // divisor a, quotient b
            snprintf(q.text, sizeof q.text, "%d / %d = ?", a * b, a);
            break;
    }
    return q;
}

void make_round(int type, int level, Question* questions) {
    const int operand_max[] = {10, 20, 100};
    for (int i = 0; i < QUESTIONS; i++) questions[i] = make_question(type, operand_max[level]);
}

// Squares row by row; each draws a question index until an unused one (25 counts as used).
void deal(const Question* questions, int* card) {
    bool used[QUESTIONS] = {};
    for (int square = 0; square < QUESTIONS; square++) {
        int index;
        do {
            index = rand() / 85899345;
        } while (index >= QUESTIONS || used[index]);
        used[index] = true;
        card[square] = questions[index].answer;
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        fprintf(stderr, "usage: round_oracle SEED TYPE:LEVEL...\n");
        return 2;
    }
    srand(static_cast<unsigned>(strtoul(argv[1], nullptr, 10)));
    Question questions[QUESTIONS];
    make_round(0, 0, questions);  // start-up's round
    for (int r = 2; r < argc; r++) {
        int type = 0, level = 0;
        if (sscanf(argv[r], "%d:%d", &type, &level) != 2) return 2;
        make_round(type, level, questions);
        int card[QUESTIONS];
        deal(questions, card);
        printf("round %d %d\n", type, level);
        for (int i = 0; i < QUESTIONS; i++)
            printf("q %d %d %s\n", i, questions[i].answer, questions[i].text);
        for (int row = 0; row < 5; row++) {
            printf("row");
            for (int col = 0; col < 5; col++) printf(" %d", card[row * 5 + col]);
            printf("\n");
        }
    }
    return 0;
}
