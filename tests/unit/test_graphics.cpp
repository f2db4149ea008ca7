#include <gtest/gtest.h>

#include <string>

#include "graphics.h"
#include "headless.h"
#include "sprite_helpers.h"

namespace {

class Graphics : public ::testing::Test {
   protected:
    void SetUp() override {
        headless_start();
        resize_window(800, 480, 0);
        clear_screen();
    }
};

void expect_rgb(std::array<GLubyte, 4> got, int r, int g, int b, int tolerance = 2) {
    EXPECT_NEAR(got[0], r, tolerance);
    EXPECT_NEAR(got[1], g, tolerance);
    EXPECT_NEAR(got[2], b, tolerance);
}

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

// Sprites cut from a 4 x 2 image: red, green, blue, white on the top row, magenta then
// black on the bottom row.
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
        expect_rgb(pixel_at(x, y), 255, 0, 0);
        expect_rgb(pixel_at(x + 3, y), 255, 255, 255);
        expect_rgb(pixel_at(x, y + 1), 255, 255, 255);  // magenta: the white below shows
        expect_rgb(pixel_at(x + 1, y + 1), 0, 0, 0);
    }

    ScratchSpriteTable table_;
    int sprite_ = -1;
};

}  // namespace

TEST_F(Graphics, StartUpGivesTheGameSpaceAndAnOpenGlEs11Context) {
    const std::string version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
    EXPECT_EQ(version.rfind("OpenGL ES-CM 1.1", 0), 0u) << version;
    EXPECT_EQ(real_screen_w, 800);
    EXPECT_EQ(real_screen_h, 480);
    EXPECT_EQ(proj_x_max, 800.0f);
    EXPECT_EQ(proj_y_max, 480.0f);
    expect_fixed_state();
}

TEST_F(Graphics, ResizeKeepsTheProjectionFixed) {
    resize_window(1600, 960, 0);
    EXPECT_EQ(real_screen_w, 1600);
    EXPECT_EQ(real_screen_h, 960);
    resize_window(800, 600, SDL_FULLSCREEN);
    EXPECT_EQ(proj_x_min, 0.0f);
    EXPECT_EQ(proj_x_max, 800.0f);
    EXPECT_EQ(proj_y_min, 0.0f);
    EXPECT_EQ(proj_y_max, 480.0f);
    GLint viewport[4];
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
}

TEST_F(Graphics, ToggleFullscreenTwiceRestoresTheFlag) {
    const int before = FULLSCREEN;
    toggle_fullscreen();
    EXPECT_NE(FULLSCREEN, before);
    toggle_fullscreen();
    EXPECT_EQ(FULLSCREEN, before);
    EXPECT_EQ(real_screen_w, 800);
}

TEST_F(Graphics, FullWindowQuadCoversEveryCorner) {
    put_quad(0, 0, 800, 480, 0, 0, 0, 1);
    for (auto [x, y] : {std::pair{0, 0}, {799, 0}, {0, 479}, {799, 479}, {400, 240}})
        expect_rgb(pixel_at(x, y), 0, 0, 0);
    render_world();
    expect_rgb(pixel_at(400, 240), 0, 0, 0);
}

TEST_F(Graphics, QuadsLandTopDownAndNegativeWidthFillsLeft) {
    put_quad(100, 50, 20, 10, 1, 0, 0, 1);
    expect_rgb(pixel_at(105, 55), 255, 0, 0);
    expect_rgb(pixel_at(105, 65), 0, 0, 0);  // below it: y grows downward
    put_quad(300, 100, -50, 10, 0, 1, 0, 1);
    expect_rgb(pixel_at(270, 105), 0, 255, 0);
    expect_rgb(pixel_at(310, 105), 0, 0, 0);
    expect_fixed_state();
}

TEST_F(Graphics, TranslucentTriangleBlendsOverWhite) {
    put_quad(0, 0, 200, 200, 1, 1, 1, 1);
    put_triangle(0, 0, 200, 0, 0, 200, 0, 0, 0, 0.7f);
    expect_rgb(pixel_at(20, 20), 77, 77, 77, 3);    // 30 per cent of white shows
    expect_rgb(pixel_at(190, 190), 255, 255, 255);  // outside the triangle
    expect_fixed_state();
}

TEST_F(Graphics, LineWidthIsRestoredAfterAWideLine) {
    draw_line(100, 100, 300, 100, 1, 1, 1, 1, 7);
    expect_rgb(pixel_at(200, 102), 255, 255, 255);
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
    expect_rgb(pixel_at(100, 100), 255, 0, 0);
    expect_rgb(pixel_at(100, 101), 255, 255, 255);
    expect_rgb(pixel_at(101, 101), 0, 0, 0);
    expect_rgb(pixel_at(104, 100), 255, 255, 255);  // the texture is 4 x 2: no margin
    expect_fixed_state();

    SDL_Surface* glyph = magenta_surface(12, 40);
    paint(glyph, 0, 0, 12, 40, 0, 0, 0);
    const int id = ogl_load_sprite_from_surface(glyph, rect_of(12, 40));
    SDL_FreeSurface(glyph);
    put_sprite(id, 200, 100);  // a 16 x 64 quad, the image in its top-left corner
    expect_rgb(pixel_at(211, 139), 0, 0, 0);
    expect_rgb(pixel_at(212, 139), 0, 0, 153);
    expect_rgb(pixel_at(211, 140), 0, 0, 153);
    expect_rgb(pixel_at(215, 163), 0, 0, 153);
}

TEST_F(SpriteDrawing, SpriteKeepsItsOwnColoursAfterColouredShapes) {
    put_quad(0, 0, 800, 480, 0, 0, 0.6f, 0.8f);
    put_sprite(sprite_, 10, 10);
    draw_line(0, 50, 800, 50, 1, 0, 0, 0.5f, 7);
    put_sprite(sprite_, 20, 48);
    put_triangle(0, 0, 5, 0, 0, 5, 0, 1, 0, 0.3f);
    put_sprite(sprite_, 30, 10);
    expect_rgb(pixel_at(10, 10), 255, 0, 0);
    expect_rgb(pixel_at(13, 10), 255, 255, 255);
    expect_rgb(pixel_at(23, 48), 255, 255, 255);
    expect_rgb(pixel_at(31, 11), 0, 0, 0);
}

TEST_F(SpriteDrawing, EveryMemberOfTheFamilyPlacesTheImageAndOnlyTintsItself) {
    put_sprite(sprite_, 100, 100);
    expect_texels_at(100, 100);
    put_sprite_colored(sprite_, 200, 100, 1, 1, 1, 1);
    expect_texels_at(200, 100);
    put_sprite_coloredf(sprite_, 300.0f, 100.0f, 1, 1, 1, 1);
    expect_texels_at(300, 100);

    put_sprite_scaled_w_h(sprite_, 400, 100, 40, 20);  // each texel 10 x 10 units
    expect_rgb(pixel_at(405, 105), 255, 0, 0);
    expect_rgb(pixel_at(415, 105), 0, 255, 0);
    expect_rgb(pixel_at(415, 115), 0, 0, 0);
    expect_rgb(pixel_at(405, 115), 255, 255, 255);

    put_sprite_colored(sprite_, 100, 200, 0, 1, 0, 1);
    expect_rgb(pixel_at(103, 200), 0, 255, 0);  // white texel tinted green
    expect_rgb(pixel_at(100, 200), 0, 0, 0);    // red texel tinted green
    put_sprite_coloredf(sprite_, 200.0f, 200.0f, 1, 1, 1, 0.5f);
    expect_rgb(pixel_at(200, 200), 255, 128, 128, 3);
    expect_fixed_state();
    put_sprite(sprite_, 300, 200);
    expect_texels_at(300, 200);
}
