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
#include <tuple>
#include <utility>

#include "fonts.h"
#include "game.h"
#include "graphics.h"
#include "hiscore.h"
#include "main.h"
#include "screen_helpers.h"
#include "sprites.h"

namespace {

constexpr int DEVICE_COLOUR_BITS = 16, TRUE_COLOUR_BITS = 24;

// Ends a child process: 1 after printing its failures where the parent shows them, 0 if none.
[[noreturn]] void exit_with_failures() {
    const testing::TestResult& result =
        *testing::UnitTest::GetInstance()->current_test_info()->result();
    for (int i = 0; i < result.total_part_count(); i++) {
        const testing::TestPartResult& part = result.GetTestPartResult(i);
        if (part.failed()) fprintf(stderr, "line %d: %s\n", part.line_number(), part.summary());
    }
    _exit(testing::Test::HasFailure());
}

// Runs `check` in a child process started afresh, which passes when `check` fails nothing
// within its deadline. The child leaves without the leak check at exit: that is the memory
// check's.
template <typename Check>
void expect_in_new_process(Check check) {
#ifdef QUORVEL_EMULATED
    GTEST_SKIP() << "under user-mode emulation the test program cannot start itself anew";
#endif
    const std::string style = GTEST_FLAG_GET(death_test_style);
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // the child runs the test from its start
    EXPECT_EXIT((alarm(CHILD_DEADLINE_S), check(), exit_with_failures()),
                testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, style);
}

testing::AssertionResult failed_with(int result, const char* why) {
    if (result == -1 && std::string(SDL_GetError()) == why) return testing::AssertionSuccess();
    return testing::AssertionFailure() << result << ": " << SDL_GetError();
}

testing::AssertionResult refuses_a_context_uninitialised() {
    return failed_with(SDL_GLES_CreateContext() ? 0 : -1, "the GL ES bridge is not initialised");
}

// The bridge from SDL to GL ES, refusing what it cannot do and naming EGL's error.
void bridge_and_check() {
    constexpr GLint DEPTH_BITS_WANTED = 24;
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    ASSERT_TRUE(SDL_SetVideoMode(GAME_WIDTH, GAME_HEIGHT, DEVICE_COLOUR_BITS, 0));
    EXPECT_TRUE(refuses_a_context_uninitialised()) << "before start-up";
    EXPECT_TRUE(failed_with(SDL_GLES_Init(SDL_GLES_Version(2)),
                            "OpenGL ES 1.1 is the only version offered"));
    for (int attribute : {-1, int(SDL_GLES_NUM_ATTRS)})
        EXPECT_EQ(SDL_GLES_SetAttribute(SDL_GLES_Attr(attribute), 8), -1) << attribute;
    EXPECT_EQ(SDL_GLES_SetAttribute(SDL_GLES_STENCIL_SIZE, 0), 0);
    ASSERT_EQ(init_gl(), 1);
    GLint depth = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    EXPECT_GE(depth, DEPTH_BITS_WANTED);
    int bogus = 0;
    EXPECT_TRUE(failed_with(SDL_GLES_MakeCurrent(&bogus),
                            "eglMakeCurrent failed: EGL_BAD_CONTEXT (0x3006)"));
    close_graphics();
    EXPECT_TRUE(refuses_a_context_uninitialised()) << "after shut-down";
}

// The game starts at the menu with both fonts and the table kept, and draws into SDL's X11
// window, which shows each frame once presented and is captioned with the game's name. It
// shuts down freeing the fonts, closing the bridge and quitting SDL.
void window_and_check() {
    constexpr int KEPT_SCORE = 321;
    constexpr unsigned long RED = 0xFF0000;
    XServer x(TRUE_COLOUR_BITS);
    std::optional<ScratchGameFolder> folder(std::in_place);  // gone before the process ends
    folder->write(HISCORES_FILE, std::to_string(KEPT_SCORE) + " ST\n");
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
    EXPECT_TRUE(from_clock) << "a round not seeded by the clock";
    EXPECT_NE(small_font, nullptr);
    EXPECT_NE(large_font, nullptr);
    EXPECT_EQ(hiscores[ADDITION][EASY][0].score, KEPT_SCORE);
    EXPECT_EQ(std::pair(real_screen_w, real_screen_h), std::pair(GAME_WIDTH, GAME_HEIGHT));
    put_quad(0, 0, GAME_WIDTH, GAME_HEIGHT, 1, 0, 0, 1);
    update_screen();
    glFinish();
    SDL_SysWMinfo wm;
    SDL_VERSION(&wm.version);
    ASSERT_EQ(SDL_GetWMInfo(&wm), 1);
    XImage* image = XGetImage(wm.info.x11.display, wm.info.x11.window, GAME_WIDTH / 2,
                              GAME_HEIGHT / 2, 1, 1, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(XGetPixel(image, 0, 0) & 0xFFFFFF, RED);
    XDestroyImage(image);
    char* name = nullptr;
    EXPECT_NE(XFetchName(wm.info.x11.display, wm.info.x11.wmwindow, &name), 0);
    EXPECT_STREQ(name, "Quorvel");
    XFree(name);
    folder.reset();
    static const int glyphs[] = {small_font->chars[0], large_font->chars[0]};
    atexit([] {
        EXPECT_EQ(game.state, EXITING);
        for (int glyph : glyphs) EXPECT_EQ(sprites[glyph].filename[0], '\0') << "a font kept";
        EXPECT_EQ(SDL_WasInit(0), 0u) << "SDL not quit";
        EXPECT_EQ(eglGetCurrentContext(), EGL_NO_CONTEXT);
        EXPECT_TRUE(refuses_a_context_uninitialised()) << "the bridge left open";
        exit_with_failures();
    });
    exit_game();
}

// On an X server of `depth` bits (none: 0) with the EGL drivers of `egl_vendors` (null: the
// system's), one "ERROR: " line naming the failed step, and start-up fails; a text console
// driver SDL falls back on may write its own codes first.
void failing_display_and_check(int depth, const char* egl_vendors, const char* error) {
    std::optional<XServer> x;
    if (depth) x.emplace(depth);
    if (!depth) {
        unsetenv("DISPLAY");
        unsetenv("SDL_VIDEODRIVER");
    }
    if (egl_vendors) setenv("__EGL_VENDOR_LIBRARY_FILENAMES", egl_vendors, 1);
    int started = 1;
    const std::string out = printed([&] { started = initialize(); });
    EXPECT_EQ(out.substr(out.rfind("ERROR: ")), std::string("ERROR: ") + error + "\n");
    EXPECT_EQ(started, 0);
    EXPECT_TRUE(refuses_a_context_uninitialised());
}

}  // namespace

TEST(StartUp, TheGlEsBridgeRefusesWhatItCannotDoAndNamesEglsError) {
    expect_in_new_process(bridge_and_check);
}

// It draws in its window; with no display, or one EGL cannot draw on (the program itself then
// ends with status 1), one whose visual it cannot use or with no EGL driver at all, it says why.
TEST(StartUp, OnAnXDisplayTheGameDrawsInItsWindowOrSaysWhyItCannot) {
    expect_in_new_process(window_and_check);
    constexpr int NO_SERVER = 0, EIGHT_BIT_COLOUR = 8;
    const std::tuple<int, const char*, const char*> displays[] = {
        {NO_SERVER, nullptr, "no X display: DISPLAY is not set"},
        {EIGHT_BIT_COLOUR, nullptr,
         "Unable to start OpenGL ES: eglInitialize failed: EGL_NOT_INITIALIZED (0x3001)"},
        {TRUE_COLOUR_BITS, "/nonexistent.json",
         "Unable to start OpenGL ES: eglGetDisplay failed, "
         "and EGL gives no error: is an EGL driver installed?"}};
    for (const auto& display : displays)
        expect_in_new_process([&] { std::apply(failing_display_and_check, display); });
#ifndef QUORVEL_EMULATED  // the program built for another machine does not run here
    const int status = system("timeout 10 env -u DISPLAY -u SDL_VIDEODRIVER ./quorvel > /dev/null");
    EXPECT_TRUE(WIFEXITED(status)) << "the program itself: " << status;
    EXPECT_EQ(WEXITSTATUS(status), 1) << "the program itself";
#endif
}
