// Scratch folders, whole files and printed lines, for tests of the game's file readers.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

// A fresh folder with a short path, removed with all it holds when the object goes.
class ScratchFolder {
   public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::string& path() const { return dir_; }
    std::string file(const std::string& name) const { return dir_ + "/" + name; }
    // Writes `text` to `name` in the folder; returns its path.
    std::string write(const std::string& name, const std::string& text) const;

   private:
    std::string dir_;
};

std::string read_file(const std::string& path);
// A named pipe with no writer, a link to /dev/zero and a folder in `dir`: no data file.
std::vector<std::string> odd_files(const ScratchFolder& dir);
// `name` in `dir` made 1 GiB of zero bytes that take no room on disk.
std::string huge_file(const ScratchFolder& dir, const std::string& name);

template <typename F>
std::string printed(F action) {
    testing::internal::CaptureStdout();
    action();
    return testing::internal::GetCapturedStdout();
}
// Whether `out` is exactly one "ERROR: " line naming `name`.
testing::AssertionResult one_error(const std::string& out, const std::string& name);

// Ends the test program with SIGALRM when a reader hangs instead of returning promptly.
struct Deadline {
    explicit Deadline(unsigned seconds) { alarm(seconds); }
    ~Deadline() { alarm(0); }
};
