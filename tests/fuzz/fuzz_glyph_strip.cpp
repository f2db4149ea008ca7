// Fuzzes the glyph strip cutter with small BMP images of any depth: each loads a whole font
// of 55 to 128 glyphs or none.
#include <cstdlib>

#include "fuzz_support.h"

namespace {

constexpr size_t CORE_HEADER_SIZE = 12;  // the old OS/2 header, with 16-bit sizes
constexpr long long MAX_PIXELS = 1 << 20;

int32_t read_le(const uint8_t* p, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; i--) value = value << 8 | p[i];
    return bytes == 2 ? static_cast<int16_t>(value) : static_cast<int32_t>(value);
}

// Whether the image's header asks for at most a million pixels: the target is the cutter,
// not the time SDL takes over a huge allocation.
bool is_small(const uint8_t* data, size_t size) {
    if (size < 26) return true;  // SDL rejects it before allocating anything
    const bool core = read_le(data + 14, 4) == static_cast<int32_t>(CORE_HEADER_SIZE);
    const int bytes = core ? 2 : 4;
    const long long w = llabs(read_le(data + 18, bytes));
    const long long h = llabs(read_le(data + 18 + bytes, bytes));
    return w * h <= MAX_PIXELS;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_enter_scratch_folder();
    fuzz_start_graphics();
    static const char description[] = "fuzz -1 94 g.bmp\n";
    fuzz_write_file("g.fnt", reinterpret_cast<const uint8_t*>(description), sizeof description - 1);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (!is_small(data, size)) return -1;  // kept out of the corpus
    fuzz_write_file("g.bmp", data, size);
    fuzz_load_font("g.fnt");
    return 0;
}
