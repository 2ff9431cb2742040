// A fresh working folder with an empty Storage/ for tests that read and write the settings
// files; the previous working folder comes back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

class TempStorage : public testing::Test {
protected:
  void SetUp() override {
    previous = std::filesystem::current_path();
    std::string pattern = (std::filesystem::temp_directory_path() / "brikka-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder = pattern;
    std::filesystem::create_directory(folder / "Storage");
    std::filesystem::current_path(folder);
  }
  void TearDown() override {
    std::filesystem::current_path(previous);
    std::filesystem::remove_all(folder);
  }

  static std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  static void writeFile(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }

  std::filesystem::path previous, folder;
};
