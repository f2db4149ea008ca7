// Scratch folders and whole files, for tests of the game's file readers and writers.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

// A fresh folder, removed with all it holds when the object goes. Its path is short, so a
// file name in it fits the 31 characters a font description keeps of a strip's name.
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

// Paths in `dir` that no reader may take for data: a named pipe with no writer (opening it
// could wait for ever), a link to /dev/zero (endless) and a folder.
std::vector<std::string> odd_files(const ScratchFolder& dir);
// Makes `name` in `dir` a file of 1 GiB of zero bytes that takes no room on disk.
std::string huge_file(const ScratchFolder& dir, const std::string& name);

// What `action` printed.
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
