// Bounded text copy, shared by every module that fills a fixed character buffer.
#pragma once

#include <cstddef>
#include <cstring>

// Copies at most size - 1 characters of src into dst and always terminates it: a longer
// text is cut. size must be at least 1.
inline void text_copy(char* dst, std::size_t size, const char* src) {
    const std::size_t n = strnlen(src, size - 1);
    memcpy(dst, src, n);
    dst[n] = '\0';
}

// The same into a character array, whose size the compiler knows.
template <std::size_t N>
void text_copy(char (&dst)[N], const char* src) {
    text_copy(dst, N, src);
}
