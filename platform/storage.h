// Keeping the game's folder beyond the run, where the platform needs more than a rename
// and fsync: the browser keeps the folder in memory and stores it in IndexedDB.
#pragma once

// Before a file of the game's folder is read to be replaced: waits until no other copy of
// the game (another tab) is replacing one, then brings the folder up to date with what the
// others stored. Always paired with storage_end_replace. Nothing to do natively, where
// flock does the waiting and every copy reads the same disk.
void storage_begin_replace();
// After the replace: stores the folder with the new file whole (one transaction) and lets
// the other copies go on; a failure prints an "ERROR: " line. Natively the rename and fsync
// have already made it durable.
void storage_end_replace();
