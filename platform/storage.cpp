// Keeping the game's folder on the device: its own file system does it all.
#include "storage.h"

// Hooks for platforms that store the folder elsewhere; by design they do nothing here.
void storage_begin_replace() {}
void storage_end_replace() {}
