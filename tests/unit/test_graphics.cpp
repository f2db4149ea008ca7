#include <gtest/gtest.h>

#include <string>

#include "graphics.h"
#include "headless.h"

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
