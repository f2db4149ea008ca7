// Fuzzes the layout reader: any file gives a layout whose items fill the first places, with
// tags ended within their field and every number within the allowed coordinates, each
// found again by its tag.
#include <cmath>
#include <cstring>
#include <initializer_list>

#include "fuzz_support.h"
#include "layout.h"

namespace {

void check_item(t_screen_layout* layout, const t_layout_item* item) {
    fuzz_check(memchr(item->tag, '\0', sizeof item->tag) != nullptr, "tag ends in its field");
    for (float v : {item->x, item->y, item->w, item->h})
        fuzz_check(std::fabs(v) <= LAYOUT_MAX_COORDINATE, "numbers within the coordinates");
    const t_layout_item* found = layout_get_item(layout, item->tag);
    fuzz_check(found != nullptr && strcmp(found->tag, item->tag) == 0, "item found by its tag");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz_enter_scratch_folder();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz_write_file("f.layout", data, size);
    t_screen_layout* layout = layout_load("f.layout");
    fuzz_check(layout != nullptr, "a readable file gives a layout");
    fuzz_check(memchr(layout->name, '\0', sizeof layout->name) != nullptr, "name ends");
    bool ended = false;
    for (const t_layout_item* item : layout->items) {
        if (!item) {
            ended = true;
            continue;
        }
        fuzz_check(!ended, "items fill the first places");
        check_item(layout, item);
    }
    layout_free(layout);
    return 0;
}
