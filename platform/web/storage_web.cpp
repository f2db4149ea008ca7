// Keeping the game's folder in the browser: the page's IndexedDB folder and Web Lock.
#include <emscripten.h>
#include <sys/stat.h>

#include "storage.h"

namespace {

// The browser's C library starts with a umask of 0777, which would give every new file no
// permissions at all, so a saved table could not be read back; take the usual one.
const mode_t usual_umask = umask(022);

// Each waits for the page's promise; the game's loop yields to the browser meanwhile.
EM_ASYNC_JS(void, page_begin_replace, (), { await Module.beginReplace(); });
EM_ASYNC_JS(void, page_end_replace, (), { await Module.endReplace(); });

}  // namespace

void storage_begin_replace() { page_begin_replace(); }
void storage_end_replace() { page_end_replace(); }
