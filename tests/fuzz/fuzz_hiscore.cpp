// Fuzzes the high-score reader: any file leaves every entry's initials ended within their
// field, and the entries after the file's last line as they were.
#include <cstring>

#include "fuzz_support.h"
#include "hiscore.h"

namespace {

constexpr int ENTRIES = NUM_QTYPES * NUM_SKILL_LEVELS * HISCORE_RANKS;

t_hiscore* entry(int n) { return &hiscores[0][0][0] + n; }

// Lines the reader may use: every line end, plus a last line without one.
int count_lines(const uint8_t* data, size_t size) {
    int lines = 0;
    for (size_t i = 0; i < size; i++) lines += data[i] == '\n';
    return lines + (size > 0 && data[size - 1] != '\n');
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_enter_scratch_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // A marker no file line can leave: initials filling all four bytes.
    for (int n = 0; n < ENTRIES; n++) {
        entry(n)->score = -n;
        memset(entry(n)->initials, '#', sizeof entry(n)->initials);
    }
    fuzz_write_file("hiscores.dat", data, size);
    hiscores_load("hiscores.dat");
    const int lines = count_lines(data, size);
    for (int n = 0; n < ENTRIES; n++) {
        const t_hiscore* e = entry(n);
        const bool untouched = e->score == -n && memcmp(e->initials, "####", 4) == 0;
        if (n >= lines) fuzz_check(untouched, "entries after the last line are kept");
        if (!untouched) fuzz_check(strlen(e->initials) <= 3, "initials end within their field");
    }
    return 0;
}
