// The objects a test program has made with new and not yet deleted: the game makes its
// objects (layouts and their items, buttons, fonts) with new. The renderer too, on the first
// frames of each kind it draws, so a count is compared only between two alike runs.
// Include this in exactly one source of a program: it replaces the global operator new. Not
// under AddressSanitizer, whose own operator new the renderer's libraries keep calling (the
// count stays 0 there, and the sanitizer checks leaks itself).
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

inline std::atomic<long> live_objects{0};

#ifndef __SANITIZE_ADDRESS__

void* operator new(std::size_t size) {
    void* block = malloc(size ? size : 1);
    if (!block) abort();  // no exceptions in this program
    live_objects++;
    return block;
}

void operator delete(void* block) noexcept {
    if (!block) return;
    live_objects--;
    free(block);
}

void operator delete(void* block, std::size_t) noexcept { operator delete(block); }
#endif
