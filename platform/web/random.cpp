// The standard generator as the device's C library runs it: srand and rand of glibc's
// additive feedback generator (degree 31, separation 3). The browser's C library has a
// generator of its own, which would deal other rounds from the same seed; with this one a
// seed deals the same round on every platform.
#include <cstdint>
#include <cstdlib>

namespace {

constexpr int DEGREE = 31, SEPARATION = 3, DISCARDED = 310;
constexpr int32_t MODULUS = 2147483647;  // 2^31 - 1, of the seeding's Lehmer steps

uint32_t state[DEGREE];
int front = SEPARATION, rear = 0;  // the two taps into the state

int32_t next() {
    state[front] += state[rear];
    const auto result = static_cast<int32_t>(state[front] >> 1);
    front = (front + 1) % DEGREE;
    rear = (rear + 1) % DEGREE;
    return result;
}

}  // namespace

extern "C" {

void srand(unsigned seed) {
    auto word = static_cast<int32_t>(seed == 0 ? 1 : seed);
    state[0] = static_cast<uint32_t>(word);
    for (int i = 1; i < DEGREE; i++) {
        // 16807 * word mod (2^31 - 1), by Schrage's method so nothing overflows.
        word = 16807 * (word % 127773) - 2836 * (word / 127773);
        if (word < 0) word += MODULUS;
        state[i] = static_cast<uint32_t>(word);
    }
    front = SEPARATION;
    rear = 0;
    for (int i = 0; i < DISCARDED; i++) next();
}

int rand() { return next(); }

}  // extern "C"
