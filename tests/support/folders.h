// Files and scratch folders for the suites: each test gets a fresh folder holding an empty
// Storage/, removed afterwards, so no test writes into the data or into another checkout's run.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

inline std::string readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

inline void writeFile(const std::filesystem::path& path, const std::string& text) {
  if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

// A file of this test process alone: other checkouts may run the same tests at the same time.
inline std::string scratchPath(const std::string& name) {
  return testing::TempDir() + "brikka-" + std::to_string(getpid()) + "-" + name;
}

// Entries in a folder: a temporary file left behind shows as one more.
inline long filesIn(const std::filesystem::path& folder) {
  return std::distance(std::filesystem::directory_iterator(folder), {});
}

class TempFolder : public testing::Test {
protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() /
             ("brikka-" + std::to_string(getpid()) + "-" +
              testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "Storage");
  }
  void TearDown() override {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
  }
  void enter() { std::filesystem::current_path(folder); } // the game's files are relative
  std::string path(const std::string& name) const { return (folder / name).string(); }

  std::filesystem::path folder, previous = std::filesystem::current_path();
};
