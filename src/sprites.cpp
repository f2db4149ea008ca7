// The sprite table: slots of GL textures cut from BMP images and surfaces.
#include "sprites.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "datafile.h"
#include "main.h"

sprite_t sprites[MAX_SPRITES];

namespace {

// Texels are stored R, G, B, A in memory, whatever the byte order of a Uint32.
constexpr bool BIG_ENDIAN_PIXELS = SDL_BYTEORDER == SDL_BIG_ENDIAN;
constexpr Uint32 RMASK = BIG_ENDIAN_PIXELS ? 0xFF000000 : 0x000000FF;
constexpr Uint32 GMASK = BIG_ENDIAN_PIXELS ? 0x00FF0000 : 0x0000FF00;
constexpr Uint32 BMASK = BIG_ENDIAN_PIXELS ? 0x0000FF00 : 0x00FF0000;
constexpr Uint32 AMASK = BIG_ENDIAN_PIXELS ? 0x000000FF : 0xFF000000;

// SDL 1.2 keeps a surface's row length in 16 bits, so 32-bit rows stop short of 16384.
constexpr int MAX_TEXTURE_SIDE = 8192;

// The smallest power of two, at least 1, not below `size`.
int texture_side(int size) {
    int side = 1;
    while (size > side) side *= 2;
    return side;
}

void set_name(sprite_t* slot, const char* name) {
    snprintf(slot->filename, sizeof slot->filename, "%s", name);
}

// Copies `rect` of `source` into a fresh power-of-two RGBA surface: the key colour and
// the margin stay transparent, every other pixel becomes opaque. Null when out of memory
// or too large.
SDL_Surface* make_texels(SDL_Surface* source, SDL_Rect rect) {
    const int w = texture_side(rect.w), h = texture_side(rect.h);
    SDL_Surface* texels = w <= MAX_TEXTURE_SIDE && h <= MAX_TEXTURE_SIDE
                              ? SDL_CreateRGBSurface(0, w, h, 32, RMASK, GMASK, BMASK, AMASK)
                              : nullptr;
    if (!texels) {
        printf("ERROR: Unable to allocate sprite texture.\n");
        return nullptr;
    }
    SDL_SetColorKey(source, SDL_SRCCOLORKEY, SDL_MapRGB(source->format, 255, 0, 255));
    // No blending from the source: the copy writes the surface alpha, 255, to every texel.
    SDL_SetAlpha(source, 0, 255);
    SDL_Rect at = {0, 0, 0, 0};
    SDL_UpperBlit(source, &rect, texels, &at);
    return texels;
}

GLuint make_texture(SDL_Surface* texels) {
    GLuint name = 0;
    glGenTextures(1, &name);
    glBindTexture(GL_TEXTURE_2D, name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, texels->w, texels->h, 0, GL_RGBA, GL_UNSIGNED_BYTE,
                 texels->pixels);
    return name;
}

// Fills the slot with `rect` of `source`; on failure the slot is left as it was. A texture
// the slot held before is deleted, since nothing else refers to it.
bool upload(SDL_Surface* source, SDL_Rect rect, sprite_t* slot) {
    SDL_Surface* texels = make_texels(source, rect);
    if (!texels) return false;
    slot->w = texels->w;
    slot->h = texels->h;
    slot->tw = rect.w;
    slot->th = rect.h;
    slot->s = 0.0f;
    slot->t = 0.0f;
    slot->s2 = 1.0f;
    slot->t2 = 1.0f;
    const GLuint texture = make_texture(texels);
    SDL_FreeSurface(texels);
    if (slot->texture) glDeleteTextures(1, &slot->texture);
    slot->texture = texture;
    return true;
}

// The first free slot; when there is none, the oldest mortal one (the lowest index among
// equals), or slot 0 when no mortal slot is older than now.
int choose_slot() {
    int oldest_index = 0;
    int oldest_timestamp = static_cast<int>(SDL_GetTicks());
    for (int i = 0; i < MAX_SPRITES; i++) {
        const sprite_t& slot = sprites[i];
        if (!slot.texture) return i;
        if (slot.timestamp < oldest_timestamp && !slot.immortal) {
            oldest_index = i;
            oldest_timestamp = slot.timestamp;
        }
    }
    if (debug)
        printf("MAX_SPRITES exceeded... Overwriting oldest cached sprite: %s; %d.\n",
               sprites[oldest_index].filename, oldest_index);
    return oldest_index;
}

// Whether every pixel is whole bytes and every row holds them all. SDL 1.2 accepts BMP
// headers with bit counts it cannot lay out (2, 32769, ...) and makes surfaces of rows
// packed too short for their width, which get_pixel and the blitter would read past.
bool has_whole_pixels(const SDL_Surface* image) {
    const SDL_PixelFormat* format = image->format;
    return format->BitsPerPixel >= 8 && format->BytesPerPixel <= 4 &&
           image->pitch >= image->w * format->BytesPerPixel;
}

// The BMP header fields that say how much the loader will allocate and read.
constexpr int BMP_HEADER_SIZE = 54;  // file header and the usual 40-byte info header
constexpr int CORE_INFO_SIZE = 12;   // the old OS/2 info header, with 16-bit sizes
constexpr int MAX_PALETTE = 256;
// Byte offsets of the fields, from the file's start.
constexpr int BMP_PIXELS_AT = 10;          // where the rows begin
constexpr int BMP_INFO_SIZE = 14;          // which info header follows
constexpr int BMP_WIDTH = 18;              // then the height, a field further on
constexpr int BMP_CORE_BITS = 24;          // bits per pixel in the old header
constexpr int BMP_BITS = 28;               // and in the usual one
constexpr int BMP_COLOURS = 46;            // palette entries used; 0 for all
constexpr int BMP_SHORTEST_READABLE = 26;  // the old header's fields, whole

int64_t read_le(const unsigned char* p, int bytes) {
    uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; i--) value = value << 8 | p[i];
    return bytes == 2 ? static_cast<int16_t>(value) : static_cast<int32_t>(value);
}

// Whether the header of the BMP file `fd`, `size` bytes long, claims an image that fits a
// texture and whose rows the file holds. SDL allocates the whole surface from the header
// before it reads a row, so a few bytes claiming a huge image would cost that much memory.
bool header_fits(int fd, off_t size) {
    unsigned char h[BMP_HEADER_SIZE] = {};
    if (pread(fd, h, sizeof h, 0) < BMP_SHORTEST_READABLE) return false;
    const bool core = read_le(h + BMP_INFO_SIZE, 4) == CORE_INFO_SIZE;
    const int field = core ? 2 : 4;
    const int64_t w = read_le(h + BMP_WIDTH, field);
    const int64_t rows = std::llabs(read_le(h + BMP_WIDTH + field, field));
    const int64_t bits = read_le(h + (core ? BMP_CORE_BITS : BMP_BITS), 2) & 0xFFFF;
    const int64_t colours = core ? 0 : read_le(h + BMP_COLOURS, 4) & 0xFFFFFFFF;
    if (w < 1 || rows < 1 || w > MAX_TEXTURE_SIDE || rows > MAX_TEXTURE_SIDE) return false;
    if (bits < 1 || bits > 32 || colours > MAX_PALETTE) return false;
    const int64_t row_bytes = (w * bits + 31) / 32 * 4;  // rows are padded to 4 bytes
    const int64_t pixels_at = read_le(h + BMP_PIXELS_AT, 4) & 0xFFFFFFFF;
    return pixels_at + row_bytes * rows <= size;
}

// Opens a BMP that is a regular file and whose header fits; null when it is not one.
SDL_RWops* open_bmp(const char* filename) {
    int fd = -1;
    struct stat info {};
    if (datafile_open_fd(filename, &fd, &info) != 0) return nullptr;
    FILE* file = header_fits(fd, info.st_size) ? fdopen(fd, "rb") : nullptr;
    if (file == nullptr) {
        close(fd);
        return nullptr;
    }
    SDL_RWops* rw = SDL_RWFromFP(file, SDL_TRUE);
    if (rw == nullptr) fclose(file);
    return rw;
}

}  // namespace

void reset_sprites() {
    for (sprite_t& slot : sprites) {
        slot.filename[0] = '\0';
        slot.image = nullptr;
        slot.texture = 0;
        slot.timestamp = 0;
        slot.tw = 1;
        slot.th = 1;
        slot.in_spriteset = 0;
    }
}

SDL_Surface* load_image(const char* filename) {
    SDL_RWops* file = open_bmp(filename);
    SDL_Surface* image = file ? SDL_LoadBMP_RW(file, 1) : nullptr;
    if (image && !has_whole_pixels(image)) {
        SDL_FreeSurface(image);
        image = nullptr;
    }
    if (!image) printf("ERROR: Unable to load image %s\n", filename);
    return image;
}

int ogl_load_sprite_from_surface(SDL_Surface* surface, SDL_Rect rect) {
    const int index = choose_slot();
    sprite_t* slot = &sprites[index];
    if (!upload(surface, rect, slot)) return -1;
    set_name(slot, "surface");
    slot->timestamp = static_cast<int>(SDL_GetTicks());
    return index;
}

void ogl_load_graphic_from_surface(SDL_Surface* surface, SDL_Rect src_rect, int sprite_index) {
    upload(surface, src_rect, &sprites[sprite_index]);
}

void ogl_load_graphic(const char* filename, int sprite_index) {
    SDL_Surface* image = load_image(filename);
    if (!image) return;
    SDL_Rect whole = {0, 0, static_cast<Uint16>(image->w), static_cast<Uint16>(image->h)};
    upload(image, whole, &sprites[sprite_index]);
    SDL_FreeSurface(image);
}

void free_sprite(int index) {
    if (index < 0 || index >= MAX_SPRITES) {
        printf("Tried to free sprite: %d\n", index);
        return;
    }
    sprites[index].filename[0] = '\0';
}

void free_sprites() {
    for (sprite_t& slot : sprites) {
        if (slot.image) {
            SDL_FreeSurface(slot.image);
            slot.image = nullptr;
        }
        // The deleted name stays in the slot, which so keeps counting as occupied.
        if (slot.texture) glDeleteTextures(1, &slot.texture);
    }
}

Uint32 get_pixel(SDL_Surface* surface, int x, int y) {
    const int bpp = surface->format->BytesPerPixel;
    const Uint8* p = static_cast<const Uint8*>(surface->pixels) +
                     static_cast<ptrdiff_t>(y) * surface->pitch + static_cast<ptrdiff_t>(x) * bpp;
    switch (bpp) {
        case 1:
            return p[0];
        case 2: {
            Uint16 word = 0;
            memcpy(&word, p, sizeof word);
            return word;
        }
        case 3:
            return p[0] | p[1] << 8 | p[2] << 16;
        case 4: {
            Uint32 word = 0;
            memcpy(&word, p, sizeof word);
            return word;
        }
        default:
            return 0;
    }
}

int get_sprite_width(int id) { return sprites[id].tw; }

int get_sprite_height(int id) { return sprites[id].th; }
