// Start-up and the GL ES bridge, off-screen and on an X display of the test's own, each in a
// process of its own: the other tests' shared context cannot be started twice.
#include <gtest/gtest.h>
// After GoogleTest: X11's headers define names such as None that it uses.
#include <EGL/egl.h>
#include <SDL/SDL_syswm.h>
#include <X11/Xutil.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <utility>

#include "fonts.h"
#include "game.h"
#include "graphics.h"
#include "hiscore.h"
#include "main.h"
#include "screen_helpers.h"
#include "sprites.h"

namespace {

// Runs `check` in a child process started afresh, which passes when `check` fails nothing
// within 30 s. The child leaves without the leak check at exit: that is the memory check's.
void expect_in_new_process(void (*check)()) {
#ifdef QUORVEL_EMULATED
    GTEST_SKIP() << "under user-mode emulation the test program cannot start itself anew";
#endif
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // the child runs the test from its start
    EXPECT_EXIT((alarm(30), check(), _exit(testing::Test::HasFailure())),
                testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, style);
}

testing::AssertionResult failed_with(int result, const char* why) {
    if (result == -1 && std::string(SDL_GetError()) == why) return testing::AssertionSuccess();
    return testing::AssertionFailure() << result << ": " << SDL_GetError();
}

// The bridge from SDL to GL ES, refusing what it cannot do and naming EGL's error.
void bridge_and_check() {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    ASSERT_TRUE(SDL_SetVideoMode(GAME_WIDTH, GAME_HEIGHT, 16, 0));
    const char* const uninitialised = "the GL ES bridge is not initialised";
    EXPECT_TRUE(failed_with(SDL_GLES_CreateContext() ? 0 : -1, uninitialised));
    EXPECT_TRUE(failed_with(SDL_GLES_Init(SDL_GLES_Version(2)),
                            "OpenGL ES 1.1 is the only version offered"));
    for (int attr : {-1, int(SDL_GLES_NUM_ATTRS)})
        EXPECT_EQ(SDL_GLES_SetAttribute(SDL_GLES_Attr(attr), 8), -1);
    EXPECT_EQ(SDL_GLES_SetAttribute(SDL_GLES_STENCIL_SIZE, 0), 0);
    ASSERT_EQ(init_gl(), 1);
    GLint depth = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    EXPECT_GE(depth, 24);
    int bogus = 0;
    EXPECT_TRUE(failed_with(SDL_GLES_MakeCurrent(&bogus),
                            "eglMakeCurrent failed: EGL_BAD_CONTEXT (0x3006)"));
    close_graphics();
    EXPECT_TRUE(failed_with(SDL_GLES_CreateContext() ? 0 : -1, uninitialised));
}

// The game starts at the menu with both fonts and draws into SDL's X11 window, which shows each
// frame once presented and is captioned with the game's name.
void window_and_check() {
    XServer x(24);
    std::optional<ScratchGameFolder> folder(std::in_place);  // gone before the process ends
    folder->write("hiscores.dat", "321 ST\n");
    game.state = EXITING;  // as a game before may have left it
    const time_t started = time(nullptr);
    ASSERT_EQ(initialize(), 1);
    EXPECT_EQ(game.state, MAIN_MENU);
    bool from_clock = false;  // the round dealt, addition at easy, is the one a second seeds
    for (time_t second = started; second <= time(nullptr); second++) {
        srand(static_cast<unsigned>(second));
        t_round round{};
        round_init(&round, ADDITION, EASY, ROUND_TIME_MS);
        from_clock |= !memcmp(&round, &bingo_round, sizeof round);
    }
    EXPECT_TRUE(from_clock);
    EXPECT_TRUE(small_font && large_font && hiscores[ADDITION][EASY][0].score == 321);
    EXPECT_EQ(std::pair(real_screen_w, real_screen_h), std::pair(GAME_WIDTH, GAME_HEIGHT));
    put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 1, 0, 0, 1);
    update_screen();
    glFinish();
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    ASSERT_EQ(SDL_GetWMInfo(&wm), 1);
    XImage* image =
        XGetImage(wm.info.x11.display, wm.info.x11.window, 400, 240, 1, 1, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 0, 0) & 0xFFFFFF, 0xFF0000u);
    XDestroyImage(image);
    char* name = nullptr;
    EXPECT_TRUE(XFetchName(wm.info.x11.display, wm.info.x11.wmwindow, &name) &&
                std::string(name) == "Quorvel");
    XFree(name);
    folder.reset();
    static const int glyphs[] = {small_font->chars[0], large_font->chars[0]};
    atexit([] {  // shut down: the fonts freed, the bridge closed and SDL quit
        _exit(!testing::Test::HasFailure() && game.state == EXITING &&
                      !sprites[glyphs[0]].filename[0] && !sprites[glyphs[1]].filename[0] &&
                      !SDL_WasInit(0) && eglGetCurrentContext() == EGL_NO_CONTEXT &&
                      failed_with(SDL_GLES_CreateContext() ? 0 : -1,
                                  "the GL ES bridge is not initialised")
                  ? 0
                  : 1);
    });
    exit_game();
}

// No display, and displays EGL cannot draw on (the program itself then ends with status 1): one
// whose visual it cannot use, and one with no EGL driver at all. One "ERROR: " line naming the
// failed step, and start-up fails; a text console driver SDL falls back on may write its own codes
// first.
int failing_display = 0;

void failing_display_and_check() {
    const struct {
        int depth;  // 0: no X server
        const char* vendors;
        const char* error;
    } cases[] = {{0, nullptr, "no X display: DISPLAY is not set"},
                 {8, nullptr,
                  "Unable to start OpenGL ES: eglInitialize failed: EGL_NOT_INITIALIZED (0x3001)"},
                 {24, "/nonexistent.json",
                  "Unable to start OpenGL ES: eglGetDisplay failed, "
                  "and EGL gives no error: is an EGL driver installed?"}};
    const auto& display = cases[failing_display];
    std::optional<XServer> x;
    if (display.depth) x.emplace(display.depth);
    if (!display.depth) {
        unsetenv("DISPLAY");
        unsetenv("SDL_VIDEODRIVER");
    }
    if (display.vendors) setenv("__EGL_VENDOR_LIBRARY_FILENAMES", display.vendors, 1);
    int started = 1;
    const std::string out = printed([&] { started = initialize(); });
    EXPECT_EQ(out.substr(out.rfind("ERROR: ")), std::string("ERROR: ") + display.error + "\n");
    EXPECT_EQ(started, 0);
    EXPECT_TRUE(
        failed_with(SDL_GLES_CreateContext() ? 0 : -1, "the GL ES bridge is not initialised"));
}

}  // namespace

TEST(StartUp, TheGlEsBridgeRefusesWhatItCannotDoAndNamesEglsError) {
    expect_in_new_process(bridge_and_check);
}

TEST(StartUp, OnAnXDisplayTheGameDrawsInItsWindowOrSaysWhyItCannot) {
    expect_in_new_process(window_and_check);
    for (failing_display = 0; failing_display < 3; failing_display++)
        expect_in_new_process(failing_display_and_check);
#ifndef QUORVEL_EMULATED  // the program built for another machine does not run here
    const int status = system("timeout 10 env -u DISPLAY -u SDL_VIDEODRIVER ./quorvel > /dev/null");
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 1) << "the program itself: " << status;
#endif
}
