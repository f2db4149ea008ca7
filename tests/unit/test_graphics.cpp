// The GL ES context, the fixed 800 x 480 projection, and the drawing primitives read back
// pixel by pixel.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "frame.h"
#include "graphics.h"
#include "pixels.h"
#include "sprite_helpers.h"

namespace {

class Graphics : public ::testing::Test {
   protected:
    void SetUp() override { start_frame(); }
};

// The fixed state that every primitive must find and leave.
void expect_fixed_state() {
    EXPECT_TRUE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_ARRAY));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_COORD_ARRAY));
    GLfloat colour[4], width = 0;
    glGetFloatv(GL_CURRENT_COLOR, colour);
    glGetFloatv(GL_LINE_WIDTH, &width);
    EXPECT_EQ(colour[0] + colour[1] + colour[2] + colour[3], 4.0f);
    EXPECT_EQ(width, 1.0f);
}

constexpr t_rgb RED = {255, 0, 0}, GREEN = {0, 255, 0}, DIM_BLUE = {0, 0, 153};

// Sprites cut from a 4 x 2 image: red, green, blue, white on the top row, magenta then
// black on the bottom row; drawn over white.
class SpriteDrawing : public Graphics {
   protected:
    void SetUp() override {
        Graphics::SetUp();
        SDL_Surface* image = magenta_surface(4, 2);
        const Uint8 top[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
        for (int x = 0; x < 4; x++) paint(image, x, 0, 1, 1, top[x][0], top[x][1], top[x][2]);
        paint(image, 1, 1, 1, 1, 0, 0, 0);
        SDL_SetAlpha(image, SDL_SRCALPHA, 100);  // a source's own alpha is not copied
        sprite_ = ogl_load_sprite_from_surface(image, rect_of(4, 2));
        SDL_FreeSurface(image);
        put_quad(0, 0, 800, 480, 1, 1, 1, 1);
    }

    // The texels of the sprite drawn with its top-left corner at (x, y).
    void expect_texels_at(int x, int y) {
        expect_pixel(x, y, RED);
        expect_pixel(x + 3, y, WHITE);
        expect_pixel(x, y + 1, WHITE);  // magenta: the white below shows
        expect_pixel(x + 1, y + 1, BLACK);
    }

    ScratchSpriteTable table_;
    int sprite_ = -1;
};

}  // namespace

TEST_F(Graphics, StartUpGivesAnOpenGlEs11ContextAndResizingKeepsTheProjection) {
    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    EXPECT_EQ(version.rfind("OpenGL ES-CM 1.1", 0), 0u) << version;
    expect_fixed_state();

    resize_window(800, 600, SDL_FULLSCREEN);
    EXPECT_EQ(real_screen_w, 800);
    EXPECT_EQ(real_screen_h, 600);
    EXPECT_EQ(proj_x_min + proj_y_min, 0.0f);
    EXPECT_EQ(proj_x_max, 800.0f);
    EXPECT_EQ(proj_y_max, 480.0f);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
}

TEST_F(Graphics, QuadsCoverTheWindowLandTopDownAndFillLeftForANegativeWidth) {
    put_quad(0, 0, 800, 480, 1, 1, 1, 1);
    for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 479}, {799, 479}}) expect_pixel(x, y, WHITE);
    clear_screen();
    put_quad(100, 50, 20, 10, 1, 0, 0, 1);
    expect_pixel(105, 55, RED);
    expect_pixel(105, 65, BLACK);  // below it: y grows downward
    put_quad(300, 100, -50, 10, 0, 1, 0, 1);
    expect_pixel(270, 105, GREEN);
    expect_pixel(310, 105, BLACK);
    expect_fixed_state();
}

TEST_F(Graphics, TranslucentTriangleBlendsOverWhite) {
    put_quad(0, 0, 200, 200, 1, 1, 1, 1);
    put_triangle(0, 0, 200, 0, 0, 200, 0, 0, 0, 0.7f);
    expect_pixel(20, 20, {77, 77, 77});  // 30 per cent of white shows
    expect_pixel(190, 190, WHITE);       // outside the triangle
    expect_fixed_state();
}

TEST_F(Graphics, LineWidthIsRestoredAfterAWideLine) {
    draw_line(100, 100, 300, 100, 1, 1, 1, 1, 7);
    expect_pixel(200, 102, WHITE);
    expect_fixed_state();
    clear_screen();
    draw_line(100, 100, 300, 100, 1, 1, 1, 1, 1);
    int lit = 0;
    for (int y = 95; y <= 105; y++) lit += pixel_at(200, y)[0] > 128;
    EXPECT_EQ(lit, 1);
}

TEST_F(SpriteDrawing, MagentaIsTransparentBlackOpaqueAndTheMarginEmpty) {
    put_quad(0, 0, 800, 480, 0, 0, 0.6f, 1);
    put_quad(100, 100, 10, 10, 1, 1, 1, 1);
    put_sprite(sprite_, 100, 100);
    expect_texels_at(100, 100);
    expect_pixel(104, 100, WHITE);  // the texture is 4 x 2: no margin
    expect_fixed_state();

    SDL_Surface* glyph = magenta_surface(12, 40);
    paint(glyph, 0, 0, 12, 40, 0, 0, 0);
    const int id = ogl_load_sprite_from_surface(glyph, rect_of(12, 40));
    SDL_FreeSurface(glyph);
    put_sprite(id, 200, 100);  // a 16 x 64 quad, the image in its top-left corner
    expect_pixel(211, 139, BLACK);
    expect_pixel(212, 139, DIM_BLUE);
    expect_pixel(211, 140, DIM_BLUE);
    expect_pixel(215, 163, DIM_BLUE);
}

// Each member of the family places the image; a tint colours only its own sprite, and a
// sprite drawn after coloured shapes keeps its own colours.
TEST_F(SpriteDrawing, EveryMemberOfTheFamilyPlacesTheImageAndOnlyTintsItself) {
    put_sprite_coloredf(sprite_, 300.0f, 100.0f, 1, 1, 1, 1);
    expect_texels_at(300, 100);
    put_sprite_scaled_w_h(sprite_, 400, 100, 40, 20);  // each texel 10 x 10 units
    expect_pixel(405, 105, RED);
    expect_pixel(415, 105, GREEN);
    expect_pixel(415, 115, BLACK);
    expect_pixel(405, 115, WHITE);

    put_sprite_colored(sprite_, 100, 200, 0, 1, 0, 1);
    expect_pixel(103, 200, GREEN);  // white texel tinted green
    expect_pixel(100, 200, BLACK);  // red texel tinted green
    put_sprite_coloredf(sprite_, 200.0f, 200.0f, 1, 1, 1, 0.5f);
    expect_pixel(200, 200, {255, 128, 128});
    expect_fixed_state();

    put_quad(0, 300, 800, 100, 0, 0, 0.6f, 0.8f);
    draw_line(0, 350, 800, 350, 1, 0, 0, 0.5f, 7);
    put_triangle(0, 300, 5, 300, 0, 305, 0, 1, 0, 0.3f);
    put_sprite(sprite_, 20, 348);
    expect_pixel(20, 348, RED);
    expect_pixel(23, 348, WHITE);
    expect_pixel(21, 349, BLACK);
}

// A frame is drawn again when anything it draws changes: each argument of each primitive,
// the sprite drawn, the texture in its slot, the clear and the window's size. Signing
// draws nothing, and drawing goes on as usual after it.
TEST_F(SpriteDrawing, EveryArgumentOfEveryPrimitiveDecidesWhetherAFrameChanged) {
    const int id = sprite_;
    auto i = [](float v) { return static_cast<int>(v); };
    using Draw = std::function<void(const std::vector<float>&)>;
    const struct {
        Draw draw;
        std::vector<float> args;
    } shapes[] = {
        {[](auto& a) { put_triangle(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8], a[9]); },
         {1, 2, 30, 4, 5, 60, 0.5f, 0.5f, 0.5f, 0.5f}},
        {[](auto& a) { put_quad(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7]); },
         {1, 2, 30, 40, 0.5f, 0.5f, 0.5f, 0.5f}},
        {[](auto& a) { draw_line(a[0], a[1], a[2], a[3], a[4], a[5], a[6], a[7], a[8]); },
         {1, 2, 30, 40, 0.5f, 0.5f, 0.5f, 0.5f, 2}},
        {[&](auto& a) { put_sprite(id, i(a[0]), i(a[1])); }, {10, 20}},
        {[&](auto& a) { put_sprite_scaled_w_h(id, i(a[0]), i(a[1]), i(a[2]), i(a[3])); },
         {10, 20, 30, 40}},
        {[&](auto& a) { put_sprite_colored(id, i(a[0]), i(a[1]), a[2], a[3], a[4], a[5]); },
         {10, 20, 0.5f, 0.5f, 0.5f, 0.5f}},
        {[&](auto& a) { put_sprite_coloredf(id, a[0], a[1], a[2], a[3], a[4], a[5]); },
         {10, 20, 0.5f, 0.5f, 0.5f, 0.5f}},
    };
    auto changed = [](const std::function<void()>& draw) { return frame_changed(draw); };
    for (const auto& shape : shapes) {
        auto same = [&] { shape.draw(shape.args); };
        changed(same);
        EXPECT_FALSE(changed(same));
        for (size_t k = 0; k < shape.args.size(); k++) {
            std::vector<float> args = shape.args;
            args[k] += 1;
            EXPECT_TRUE(changed([&] { shape.draw(args); })) << &shape - shapes << " " << k;
            changed(same);
        }
    }

    auto sprite_at_10 = [&] { put_sprite(sprite_, 10, 10); };
    changed(sprite_at_10);
    SDL_Surface* image = magenta_surface(4, 2);
    const int other = ogl_load_sprite_from_surface(image, rect_of(4, 2));
    EXPECT_TRUE(changed([&] { put_sprite(other, 10, 10); }));
    changed(sprite_at_10);
    ogl_load_graphic_from_surface(image, rect_of(4, 2), sprite_);  // new texels, same slot
    SDL_FreeSurface(image);
    EXPECT_TRUE(changed(sprite_at_10));
    EXPECT_TRUE(changed([&] {
        clear_screen();
        sprite_at_10();
    }));
    resize_window(GAME_WIDTH, GAME_HEIGHT + 1, 0);
    EXPECT_TRUE(changed(sprite_at_10));
    resize_window(GAME_WIDTH, GAME_HEIGHT, 0);

    clear_screen();
    changed([] { put_quad(0, 0, 800, 480, 1, 1, 1, 1); });
    expect_pixel(10, 10, BLACK);
    put_quad(0, 0, 800, 480, 1, 1, 1, 1);
    expect_pixel(10, 10, WHITE);
}
