// The runtime folder the game prepares before it loads anything: shipped files refreshed, the
// player's files created once and never overwritten, and the data folder found in the right
// place.
#include "app/app.h"
#include "game/game.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace {

std::string read(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

void write(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << text;
}

std::set<std::string> filesUnder(const fs::path& folder) {
  std::set<std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    if (!entry.is_directory()) files.insert(fs::relative(entry.path(), folder).string());
  return files;
}

// A fresh scratch folder per test, and the environment variables it sets put back afterwards.
class Runtime : public ::testing::Test {
protected:
  void SetUp() override {
    root = fs::path(::testing::TempDir()) /
           ("brikka-runtime-" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(root);
    for (const char* name : variables) {
      const char* value = std::getenv(name);
      saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  void TearDown() override {
    for (size_t i = 0; i < saved.size(); ++i) {
      if (saved[i])
        setenv(variables[i], saved[i]->c_str(), 1);
      else
        unsetenv(variables[i]);
    }
    fs::remove_all(root);
  }
  void makeDataFolder(const fs::path& data) {
    write(data / "Storage/4BlockPieces.txt", "pieces v1");
    write(data / "Storage/colorPieces.txt", "colours v1");
    write(data / "Fonts/nasaFont.ttf", std::string("font\0bytes", 10));
    write(data / "Mixer/clickButton.wav", "click");
    write(data / seedNetworkPath, "seed network");
  }
  static constexpr const char* variables[] = {"BRIKKA_DATA", "BRIKKA_HOME", "XDG_DATA_HOME",
                                              "HOME"};
  std::vector<std::optional<std::string>> saved;
  fs::path root;
};

TEST_F(Runtime, ShippedFilesAreRefreshedAndThePlayersFilesSeededOnceAndKept) {
  const fs::path data = root / "data", runtime = root / "home/.local/share/brikka";
  makeDataFolder(data);
  std::string error;
  ASSERT_TRUE(prepareRuntimeFolder(runtime.string(), data.string(), &error)) << error;
  const std::set<std::string> expected = {
      "Storage/4BlockPieces.txt", "Storage/colorPieces.txt",   "Fonts/nasaFont.ttf",
      "Mixer/clickButton.wav",    "Storage/controls.txt",      "Storage/sens.txt",
      "Storage/highscore.txt",    "Storage/BestNeuralNet.txt", "Storage/networks/Shipped.txt"};
  EXPECT_EQ(filesUnder(runtime), expected);
  EXPECT_EQ(read(runtime / "Fonts/nasaFont.ttf"), read(data / "Fonts/nasaFont.ttf"));
  EXPECT_EQ(read(runtime / "Storage/controls.txt"),
            "7\n4\n26\n27\n22\n8\n20\n79\n80\n82\n44\n81\n229\n56\n");
  EXPECT_EQ(read(runtime / "Storage/sens.txt"), "0.100000\n0.100000\n");
  EXPECT_EQ(read(runtime / "Storage/highscore.txt"), "0");
  EXPECT_EQ(read(runtime / "Storage/BestNeuralNet.txt"), "seed network");

  // The player plays and a shipped file goes stale; then an update ships new pieces, a new seed
  // network and, by mistake, a bindings file of its own.
  const char* const playerFiles[] = {"controls.txt", "sens.txt", "highscore.txt",
                                     "BestNeuralNet.txt"};
  for (const char* name : playerFiles) write(runtime / "Storage" / name, std::string("my ") + name);
  write(runtime / "Storage/colorPieces.txt", "stale");
  write(data / "Storage/4BlockPieces.txt", "pieces v2");
  write(data / "Storage/controls.txt", "shipped bindings");
  write(data / seedNetworkPath, "seed network v2");
  ASSERT_TRUE(prepareRuntimeFolder(runtime.string(), data.string(), &error)) << error;
  for (const char* name : playerFiles)
    EXPECT_EQ(read(runtime / "Storage" / name), std::string("my ") + name);
  EXPECT_EQ(read(runtime / "Storage/4BlockPieces.txt"), "pieces v2");
  EXPECT_EQ(read(runtime / "Storage/colorPieces.txt"), "colours v1");
  EXPECT_EQ(read(runtime / "Storage/networks/Shipped.txt"), "seed network v2");
  EXPECT_EQ(filesUnder(runtime), expected) << "a temporary file was left behind";

  // A file that cannot be replaced (a folder stands in its way) stops the preparation with its
  // name, and no half-written copy stays beside it.
  fs::remove(runtime / "Mixer/clickButton.wav");
  write(runtime / "Mixer/clickButton.wav/in the way", "");
  EXPECT_FALSE(prepareRuntimeFolder(runtime.string(), data.string(), &error));
  EXPECT_NE(error.find("clickButton.wav"), std::string::npos) << error;
  EXPECT_EQ(filesUnder(runtime / "Mixer"), std::set<std::string>{"clickButton.wav/in the way"});
}

TEST_F(Runtime, DataFolderIsFoundInLookupOrderAndAMissingOneIsNamed) {
  const fs::path program = root / "prefix/bin", beside = program / "data",
                 installed = root / "prefix/share/brikka", chosen = root / "chosen";
  for (const fs::path& folder : {beside, installed, chosen}) makeDataFolder(folder);
  unsetenv("BRIKKA_DATA");
  std::string error;
  EXPECT_EQ(findDataFolder(program.string(), &error), beside.string());
  fs::remove_all(beside / "Mixer"); // a folder without all three parts is not the data
  EXPECT_EQ(findDataFolder(program.string(), &error), installed.string());
  setenv("BRIKKA_DATA", chosen.c_str(), 1);
  EXPECT_EQ(findDataFolder(program.string(), &error), chosen.string());

  // A chosen folder that is not there is an error, not a reason to look elsewhere.
  setenv("BRIKKA_DATA", (root / "nowhere").c_str(), 1);
  EXPECT_EQ(findDataFolder(program.string(), &error), "");
  EXPECT_NE(error.find((root / "nowhere").string()), std::string::npos) << error;
  EXPECT_EQ(error.find(installed.string()), std::string::npos) << error;
  unsetenv("BRIKKA_DATA");
  fs::remove_all(installed);
  EXPECT_EQ(findDataFolder(program.string(), &error), "");
  EXPECT_NE(error.find(beside.string()), std::string::npos) << error;
  EXPECT_NE(error.find(installed.string()), std::string::npos) << error;

  setenv("HOME", "/home/player", 1);
  unsetenv("BRIKKA_HOME");
  unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(runtimeFolder(), "/home/player/.local/share/brikka");
  setenv("XDG_DATA_HOME", "/data/home", 1);
  EXPECT_EQ(runtimeFolder(), "/data/home/brikka");
  setenv("BRIKKA_HOME", "/tmp/brikka-test", 1);
  EXPECT_EQ(runtimeFolder(), "/tmp/brikka-test");
}

} // namespace
