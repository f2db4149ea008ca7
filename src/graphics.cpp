// Video mode, GL ES context, the fixed 800 x 480 projection, and the drawing primitives.
#include "graphics.h"

#include <cstdio>

#include "frame.h"
#include "sprites.h"

SDL_Surface* screen = nullptr;
SDL_GLES_Context* context = nullptr;
int FULLSCREEN = 0;
int real_screen_w = GAME_WIDTH;
int real_screen_h = GAME_HEIGHT;
float proj_x_min = 0, proj_x_max = 0, proj_y_min = 0, proj_y_max = 0;
unsigned frames_presented = 0;

namespace {

struct s_vertex {
    GLfloat x, y;
};
struct s_texcoord {
    GLfloat u, v;
};
struct s_color {
    GLfloat r, g, b, a;
};
struct t_vertex_color {
    s_vertex vertex;
    s_color color;
};
struct t_vertex_texcoord_color {
    s_vertex vertex;
    s_texcoord texcoord;
    s_color color;
};

constexpr int VIDEO_DEPTH_BITS = 16;  // the device's display, 5-6-5
constexpr int DEPTH_BUFFER_BITS = 24;
// The projection's depth range. Everything is drawn at depth 0 with no depth test, so the
// order of drawing alone decides what lies on top.
constexpr GLfloat NEAR_PLANE = 0;
constexpr GLfloat FAR_PLANE = 20;

// Shuts the bridge and SDL down before printing, so that a text-mode video driver gives
// the terminal back first and the message stays readable.
int fail_video(const char* what) {
    char reason[256];
    snprintf(reason, sizeof reason, "%s", SDL_GetError());
    close_graphics();
    printf("ERROR: %s%s\n", what, reason);
    return 0;
}

}  // namespace

int init_graphics() {
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return fail_video("Unable to initialize SDL video: ");
    if (!SDL_GLES_DriverUsable()) return fail_video("");
    SDL_ShowCursor(0);
    reset_sprites();
    FULLSCREEN = 0;
    if (!init_sdl_video()) return 0;
    if (!init_gl()) return 0;
    // The picture and the pointer mapping follow the mode the display actually gave.
    if (!resize_window(screen->w, screen->h, FULLSCREEN)) return 0;
    clear_screen();
    return 1;
}

int init_sdl_video() {
    int width = 0, height = 0;
    SDL_GLES_VideoModeSize(&width, &height);
    screen = SDL_SetVideoMode(width, height, VIDEO_DEPTH_BITS,
                              SDL_FULLSCREEN | SDL_GLES_VideoModeFlags());
    if (!screen) return fail_video("");
    SDL_WM_SetCaption("Quorvel", "Quorvel");
    return 1;
}

int init_gl() {
    if (SDL_GLES_Init(SDL_GLES_VERSION_1_1) != 0) return fail_video("Unable to start OpenGL ES: ");
    SDL_GLES_SetAttribute(SDL_GLES_DEPTH_SIZE, DEPTH_BUFFER_BITS);
    context = SDL_GLES_CreateContext();
    if (!context) return fail_video("Unable to create the OpenGL ES context: ");
    if (SDL_GLES_MakeCurrent(context) != 0)
        return fail_video("Unable to make the OpenGL ES context current: ");
    glEnable(GL_TEXTURE_2D);
    glClearColor(0, 0, 0, 0);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glEnable(GL_BLEND);
    return 1;
}

int resize_window(int width, int height, int /*fullscreen: the mode never changes*/) {
    // A window shrunk to nothing keeps the last size, which the pointer mapping divides by.
    if (width <= 0 || height <= 0) return 1;
    real_screen_w = width;
    real_screen_h = height;
    proj_x_min = 0.0f;
    proj_x_max = static_cast<float>(GAME_WIDTH);
    proj_y_min = 0.0f;
    proj_y_max = static_cast<float>(GAME_HEIGHT);
    glViewport(0, 0, width, height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrthof(0, GAME_WIDTH, GAME_HEIGHT, 0, NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    return 1;
}

void close_graphics() {
    SDL_GLES_DeleteContext(context);
    context = nullptr;
    SDL_GLES_Quit();
    SDL_Quit();
}

void follow_window() {
    int width = 0, height = 0;
    if (!SDL_GLES_WindowSpoiled(&width, &height)) return;
    resize_window(width, height, FULLSCREEN);
    frame_mark_stale();
}

void toggle_fullscreen() {
    FULLSCREEN = FULLSCREEN ? 0 : static_cast<int>(SDL_FULLSCREEN);
    resize_window(real_screen_w, real_screen_h, FULLSCREEN);
}

void clear_screen() {
    constexpr GLbitfield buffers = GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT;
    if (frame_signing) {
        frame_fold(buffers);
        return;
    }
    glClear(buffers);
}

void update_screen() {
    SDL_GLES_SwapBuffers();
    frames_presented++;
}

void render_debug_info() {}

void render_status_area() {}

void render_world() {
    clear_screen();
    glFlush();
    update_screen();
}

// ---- Primitives ----

namespace {

// One flat-coloured shape; texturing is off while it draws and the fixed state comes back.
void draw_flat(GLenum mode, const t_vertex_color* v, GLsizei count, float linewidth) {
    constexpr GLsizei stride = sizeof(t_vertex_color);
    if (frame_signing) {
        const GLfloat shape[3] = {static_cast<GLfloat>(mode), static_cast<GLfloat>(count),
                                  linewidth};
        frame_fold(shape);
        frame_fold(v, static_cast<size_t>(count));
        return;
    }
    glDisable(GL_TEXTURE_2D);
    if (mode == GL_LINES) glLineWidth(linewidth);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, stride, &v[0].vertex);
    glColorPointer(4, GL_FLOAT, stride, &v[0].color);
    glDrawArrays(mode, 0, count);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    if (mode == GL_LINES) glLineWidth(1.0f);
    glEnable(GL_TEXTURE_2D);
    glColor4f(1, 1, 1, 1);
}

// What decides a sprite's pixels: its slot and texture, its corners and its colour (white
// when untinted, the colour every primitive leaves current).
void sign_sprite(int id, float x0, float y0, float x1, float y1, const s_color* tint) {
    const GLuint slot[2] = {static_cast<GLuint>(id), sprites[id].texture};
    const GLfloat corners[4] = {x0, y0, x1, y1};
    const s_color colour = tint ? *tint : s_color{1, 1, 1, 1};
    frame_fold(slot);
    frame_fold(corners);
    frame_fold(colour);
}

// A textured quad over the whole texture; a tint adds a colour array, otherwise the
// texture is modulated by the current colour, which every primitive leaves white.
void draw_sprite(int id, float x0, float y0, float x1, float y1, const s_color* tint) {
    constexpr GLsizei stride = sizeof(t_vertex_texcoord_color);
    if (frame_signing) {
        sign_sprite(id, x0, y0, x1, y1, tint);
        return;
    }
    t_vertex_texcoord_color v[4] = {{{x0, y0}, {0, 0}, {}},
                                    {{x1, y0}, {1, 0}, {}},
                                    {{x0, y1}, {0, 1}, {}},
                                    {{x1, y1}, {1, 1}, {}}};
    glBindTexture(GL_TEXTURE_2D, sprites[id].texture);
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_TEXTURE_COORD_ARRAY);
    if (tint) {
        for (auto& vertex : v) vertex.color = *tint;
        glEnableClientState(GL_COLOR_ARRAY);
    }
    glVertexPointer(2, GL_FLOAT, stride, &v[0].vertex);
    glTexCoordPointer(2, GL_FLOAT, stride, &v[0].texcoord);
    if (tint) glColorPointer(4, GL_FLOAT, stride, &v[0].color);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_TEXTURE_COORD_ARRAY);
    if (tint) {
        glDisableClientState(GL_COLOR_ARRAY);
        glColor4f(1, 1, 1, 1);
    }
}

}  // namespace

void put_triangle(float x1, float y1, float x2, float y2, float x3, float y3, float r, float g,
                  float b, float a) {
    const s_color c = {r, g, b, a};
    const t_vertex_color v[3] = {{{x1, y1}, c}, {{x2, y2}, c}, {{x3, y3}, c}};
    draw_flat(GL_TRIANGLE_STRIP, v, 3, 1.0f);
}

void put_quad(float x, float y, float w, float h, float r, float g, float b, float a) {
    const s_color c = {r, g, b, a};
    const t_vertex_color v[4] = {
        {{x, y}, c}, {{x + w, y}, c}, {{x, y + h}, c}, {{x + w, y + h}, c}};
    draw_flat(GL_TRIANGLE_STRIP, v, 4, 1.0f);
}

namespace {

// The widest line the GL draws; WebGL draws none wider than one pixel. Asked once: the
// question costs the browser a round trip, and the answer is the GL's, the same for every
// context of the run.
float widest_line() {
    static GLfloat range[2] = {0.0f, 0.0f};
    if (range[1] <= 0.0f) glGetFloatv(GL_ALIASED_LINE_WIDTH_RANGE, range);
    return range[1];
}

// A line too wide for the GL, drawn as the band a wide line covers: `linewidth` window
// pixels across, measured upright for a line that runs more across than down, sideways
// otherwise.
void draw_band(const t_vertex_color (&ends)[2], float linewidth) {
    const float dx = (ends[1].vertex.x - ends[0].vertex.x) * static_cast<float>(real_screen_w);
    const float dy = (ends[1].vertex.y - ends[0].vertex.y) * static_cast<float>(real_screen_h);
    const bool across = dx * dx * GAME_HEIGHT * GAME_HEIGHT >= dy * dy * GAME_WIDTH * GAME_WIDTH;
    const float ox = across ? 0.0f : linewidth / 2 * GAME_WIDTH / static_cast<float>(real_screen_w);
    const float oy =
        across ? linewidth / 2 * GAME_HEIGHT / static_cast<float>(real_screen_h) : 0.0f;
    t_vertex_color band[4] = {ends[0], ends[1], ends[0], ends[1]};
    for (int i = 0; i < 4; i++) {
        const float side = i < 2 ? -1.0f : 1.0f;
        band[i].vertex.x += side * ox;
        band[i].vertex.y += side * oy;
    }
    draw_flat(GL_TRIANGLE_STRIP, band, 4, 1.0f);
}

}  // namespace

void draw_line(float x1, float y1, float x2, float y2, float r, float g, float b, float a,
               float linewidth) {
    const s_color c = {r, g, b, a};
    const t_vertex_color v[2] = {{{x1, y1}, c}, {{x2, y2}, c}};
    // A frame being signed folds the line as it is, however it would be drawn.
    if (!frame_signing && linewidth > 1.0f && linewidth > widest_line())
        draw_band(v, linewidth);
    else
        draw_flat(GL_LINES, v, 2, linewidth);
}

// Sprites are drawn at their power-of-two texture size, corners summed as integers.
void put_sprite(int id, int x, int y) {
    draw_sprite(id, static_cast<float>(x), static_cast<float>(y),
                static_cast<float>(x + sprites[id].w), static_cast<float>(y + sprites[id].h),
                nullptr);
}

void put_sprite_scaled_w_h(int id, int x, int y, int w, int h) {
    draw_sprite(id, static_cast<float>(x), static_cast<float>(y), static_cast<float>(x + w),
                static_cast<float>(y + h), nullptr);
}

void put_sprite_colored(int id, int x, int y, float r, float g, float b, float a) {
    const s_color tint = {r, g, b, a};
    draw_sprite(id, static_cast<float>(x), static_cast<float>(y),
                static_cast<float>(x + sprites[id].w), static_cast<float>(y + sprites[id].h),
                &tint);
}

void put_sprite_coloredf(int id, float x, float y, float r, float g, float b, float a) {
    const s_color tint = {r, g, b, a};
    draw_sprite(id, x, y, x + static_cast<float>(sprites[id].w),
                y + static_cast<float>(sprites[id].h), &tint);
}
