// SDL 1.2's software surfaces for the browser. Emscripten's SDL keeps surfaces on canvases,
// has no SDL_RWFromFP and ignores colour keys, so the few surface calls the game makes
// (load a BMP, copy part of it into a texture's pixels, a colour key) are made here on
// plain memory, with SDL's own meaning. Every surface is 32 bits a pixel.
#include <SDL/SDL.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

struct WebSurface {
    SDL_Surface surface;  // first, so that an SDL_Surface* is a WebSurface*
    SDL_PixelFormat format;
    Uint32 key;
    bool keyed;
};

WebSurface* web(SDL_Surface* surface) { return reinterpret_cast<WebSurface*>(surface); }

Uint8 shift_of(Uint32 mask) {
    Uint8 shift = 0;
    while (mask && !(mask & 1)) {
        mask >>= 1;
        shift++;
    }
    return shift;
}

// The 8-bit channel of `pixel` under `mask`; 255 for a channel the format lacks.
Uint8 channel(Uint32 pixel, Uint32 mask) {
    return mask ? static_cast<Uint8>((pixel & mask) >> shift_of(mask)) : 255;
}

// BMP's little-endian header fields.
Sint32 field(const std::vector<Uint8>& bytes, size_t at, int size) {
    Uint32 value = 0;
    for (int i = size - 1; i >= 0; i--) value = value << 8 | bytes[at + static_cast<size_t>(i)];
    return size == 2 ? static_cast<Sint16>(value) : static_cast<Sint32>(value);
}

std::vector<Uint8> read_all(SDL_RWops* rw) {
    std::vector<Uint8> bytes;
    Uint8 block[4096];
    size_t got = 0;
    while ((got = rw->read(rw, block, 1, sizeof block)) > 0)
        bytes.insert(bytes.end(), block, block + got);
    return bytes;
}

// The colour of pixel `x` of a row of 8, 24 or 32 bits a pixel, as R, G, B in memory.
Uint32 bmp_pixel(const Uint8* row, int x, int bits, const Uint8* palette) {
    const Uint8* bgr = bits == 8 ? palette + 4 * row[x] : row + x * (bits / 8);
    return static_cast<Uint32>(bgr[2]) | static_cast<Uint32>(bgr[1]) << 8 |
           static_cast<Uint32>(bgr[0]) << 16;
}

// An uncompressed BMP of 8, 24 or 32 bits a pixel; null with SDL's error set otherwise.
SDL_Surface* decode_bmp(const std::vector<Uint8>& bytes) {
    constexpr size_t HEADER = 54;
    if (bytes.size() < HEADER || bytes[0] != 'B' || bytes[1] != 'M') {
        SDL_SetError("not a BMP file");
        return nullptr;
    }
    const Sint32 pixels_at = field(bytes, 10, 4), info = field(bytes, 14, 4);
    const Sint32 w = field(bytes, 18, 4), h = field(bytes, 22, 4);
    const int bits = field(bytes, 28, 2), compression = field(bytes, 30, 4);
    const int rows = h < 0 ? -h : h;
    const size_t pitch = (static_cast<size_t>(w) * static_cast<size_t>(bits) + 31) / 32 * 4;
    const size_t palette_at = 14 + static_cast<size_t>(info);
    const bool known = (bits == 8 || bits == 24 || bits == 32) && compression == 0 && w > 0;
    if (!known || rows == 0 || pixels_at < 0 || palette_at + 1024 * (bits == 8) > bytes.size() ||
        static_cast<size_t>(pixels_at) + pitch * static_cast<size_t>(rows) > bytes.size()) {
        SDL_SetError("a BMP this loader does not read");
        return nullptr;
    }
    SDL_Surface* image = SDL_CreateRGBSurface(0, w, rows, 32, 0xFF, 0xFF00, 0xFF0000, 0);
    if (!image) return nullptr;
    for (int y = 0; y < rows; y++) {
        const int file_row = h < 0 ? y : rows - 1 - y;  // rows are stored bottom-up
        const Uint8* row = bytes.data() + pixels_at + pitch * static_cast<size_t>(file_row);
        auto* out = reinterpret_cast<Uint32*>(static_cast<Uint8*>(image->pixels) +
                                              static_cast<size_t>(y) * image->pitch);
        for (int x = 0; x < w; x++) out[x] = bmp_pixel(row, x, bits, bytes.data() + palette_at);
    }
    return image;
}

size_t file_read(SDL_RWops* rw, void* ptr, size_t size, size_t count) {
    return fread(ptr, size, count, static_cast<FILE*>(rw->hidden.unknown.data1));
}

int file_close(SDL_RWops* rw) {
    const int result = fclose(static_cast<FILE*>(rw->hidden.unknown.data1));
    free(rw);
    return result;
}

// Clips a copy of `w` x `h` pixels from (sx, sy) to (dx, dy) to both surfaces.
bool clip(const SDL_Surface* src, const SDL_Surface* dst, int* sx, int* sy, int* dx, int* dy,
          int* w, int* h) {
    const int left = std::max(std::max(-*sx, -*dx), 0), top = std::max(std::max(-*sy, -*dy), 0);
    *sx += left, *dx += left, *w -= left;
    *sy += top, *dy += top, *h -= top;
    *w = std::min(*w, std::min(src->w - *sx, dst->w - *dx));
    *h = std::min(*h, std::min(src->h - *sy, dst->h - *dy));
    return *w > 0 && *h > 0;
}

}  // namespace

// C linkage, so that a definition that strays from the header's declaration fails to build.
extern "C" {

// Emscripten's header declares the stream as void*.
SDL_RWops* SDL_RWFromFP(void* fp, SDL_bool autoclose) {
    if (!autoclose) {
        SDL_SetError("only streams the reader closes are offered");
        return nullptr;
    }
    auto* rw = static_cast<SDL_RWops*>(calloc(1, sizeof(SDL_RWops)));
    if (!rw) return nullptr;
    rw->read = file_read;
    rw->close = file_close;
    rw->hidden.unknown.data1 = fp;
    return rw;
}

SDL_Surface* SDL_LoadBMP_RW(SDL_RWops* src, int freesrc) {
    const std::vector<Uint8> bytes = read_all(src);
    if (freesrc) src->close(src);
    return decode_bmp(bytes);
}

SDL_Surface* SDL_CreateRGBSurface(Uint32 flags, int width, int height, int depth, Uint32 Rmask,
                                  Uint32 Gmask, Uint32 Bmask, Uint32 Amask) {
    if (depth != 32 || width <= 0 || height <= 0) {
        SDL_SetError("only 32-bit surfaces are offered");
        return nullptr;
    }
    auto* made = static_cast<WebSurface*>(calloc(1, sizeof(WebSurface)));
    void* pixels = calloc(static_cast<size_t>(width) * static_cast<size_t>(height), 4);
    if (!made || !pixels) {
        free(made);
        free(pixels);
        SDL_SetError("out of memory");
        return nullptr;
    }
    made->format = {};
    made->format.BitsPerPixel = 32;
    made->format.BytesPerPixel = 4;
    made->format.Rmask = Rmask, made->format.Gmask = Gmask;
    made->format.Bmask = Bmask, made->format.Amask = Amask;
    made->format.Rshift = shift_of(Rmask), made->format.Gshift = shift_of(Gmask);
    made->format.Bshift = shift_of(Bmask), made->format.Ashift = shift_of(Amask);
    made->surface.flags = flags;
    made->surface.format = &made->format;
    made->surface.w = width, made->surface.h = height, made->surface.pitch = width * 4;
    made->surface.pixels = pixels;
    made->surface.clip_rect = {0, 0, width, height};
    made->surface.refcount = 1;
    return &made->surface;
}

void SDL_FreeSurface(SDL_Surface* surface) {
    if (!surface) return;
    free(surface->pixels);
    free(web(surface));
}

Uint32 SDL_MapRGB(const SDL_PixelFormat* format, Uint8 r, Uint8 g, Uint8 b) {
    return static_cast<Uint32>(r) << format->Rshift | static_cast<Uint32>(g) << format->Gshift |
           static_cast<Uint32>(b) << format->Bshift | format->Amask;
}

int SDL_SetColorKey(SDL_Surface* surface, int flag, Uint32 key) {
    web(surface)->keyed = (flag & SDL_SRCCOLORKEY) != 0;
    web(surface)->key = key;
    return 0;
}

// The game's copies are plain copies; blending while copying is not offered.
int SDL_SetAlpha(SDL_Surface* /*surface*/, Uint32 flag, Uint8 /*alpha*/) {
    if (!(flag & SDL_SRCALPHA)) return 0;
    SDL_SetError("blending while copying is not offered");
    return -1;
}

// Copies pixels as SDL does with no blending: key-coloured pixels are skipped, a source
// without alpha gives opaque pixels. `dstrect` gets the rectangle written.
int SDL_UpperBlit(SDL_Surface* src, const SDL_Rect* srcrect, SDL_Surface* dst, SDL_Rect* dstrect) {
    int sx = srcrect ? srcrect->x : 0, sy = srcrect ? srcrect->y : 0;
    int w = srcrect ? srcrect->w : src->w, h = srcrect ? srcrect->h : src->h;
    int dx = dstrect ? dstrect->x : 0, dy = dstrect ? dstrect->y : 0;
    const bool any = clip(src, dst, &sx, &sy, &dx, &dy, &w, &h);
    if (dstrect) *dstrect = {dx, dy, any ? w : 0, any ? h : 0};
    const SDL_PixelFormat *in = src->format, *out = dst->format;
    for (int y = 0; any && y < h; y++) {
        const auto* from = reinterpret_cast<const Uint32*>(static_cast<const Uint8*>(src->pixels) +
                                                           (sy + y) * src->pitch) +
                           sx;
        auto* to =
            reinterpret_cast<Uint32*>(static_cast<Uint8*>(dst->pixels) + (dy + y) * dst->pitch) +
            dx;
        for (int x = 0; x < w; x++) {
            const Uint32 p = from[x];
            if (web(src)->keyed && p == web(src)->key) continue;
            to[x] = static_cast<Uint32>(channel(p, in->Rmask)) << out->Rshift |
                    static_cast<Uint32>(channel(p, in->Gmask)) << out->Gshift |
                    static_cast<Uint32>(channel(p, in->Bmask)) << out->Bshift |
                    (out->Amask ? static_cast<Uint32>(channel(p, in->Amask)) << out->Ashift : 0);
        }
    }
    return 0;
}

}  // extern "C"
