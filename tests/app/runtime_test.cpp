// The runtime folder the game prepares before it loads anything: shipped files refreshed, the
// player's files created once and never overwritten, and the data folder found in the right
// place.
#include "app/shell.h"
#include "folders.h"
#include "game/game.h"

#include <optional>
#include <set>

namespace fs = std::filesystem;

namespace {

std::set<std::string> filesUnder(const fs::path& folder) {
  std::set<std::string> files;
  for (const fs::directory_entry& entry : fs::recursive_directory_iterator(folder))
    if (!entry.is_directory()) files.insert(fs::relative(entry.path(), folder).string());
  return files;
}

// The environment variables a test sets are put back afterwards.
class Runtime : public TempFolder {
protected:
  void SetUp() override {
    TempFolder::SetUp();
    for (const char* name : variables) {
      const char* value = std::getenv(name);
      saved.push_back(value ? std::optional<std::string>(value) : std::nullopt);
    }
  }
  void TearDown() override {
    for (size_t i = 0; i < saved.size(); ++i)
      saved[i] ? setenv(variables[i], saved[i]->c_str(), 1) : unsetenv(variables[i]);
    TempFolder::TearDown();
  }
  void makeDataFolder(const fs::path& data) {
    writeFile(data / "Storage/4BlockPieces.txt", "pieces v1");
    writeFile(data / "Storage/colorPieces.txt", "colours v1");
    writeFile(data / "Fonts/nasaFont.ttf", std::string("font\0bytes", 10));
    writeFile(data / "Mixer/clickButton.wav", "click");
    writeFile(data / seedNetworkPath, "seed network");
  }
  static constexpr const char* variables[] = {"BRIKKA_DATA", "BRIKKA_HOME", "XDG_DATA_HOME"};
  std::vector<std::optional<std::string>> saved;
  const fs::path& root = folder;
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
  EXPECT_EQ(filesUnder(runtime), expected); // what they hold: tests/install/installed.sh
  const char* const playerFiles[] = {"controls.txt", "sens.txt", "highscore.txt",
                                     "BestNeuralNet.txt"};

  // The player plays and a shipped file goes stale; then an update ships new pieces, a new seed
  // network and, by mistake, a bindings file of its own.
  for (const char* name : playerFiles)
    writeFile(runtime / "Storage" / name, std::string("my ") + name);
  writeFile(runtime / "Storage/colorPieces.txt", "stale");
  writeFile(data / "Storage/4BlockPieces.txt", "pieces v2");
  writeFile(data / "Storage/controls.txt", "shipped bindings");
  writeFile(data / seedNetworkPath, "seed network v2");
  ASSERT_TRUE(prepareRuntimeFolder(runtime.string(), data.string(), &error)) << error;
  for (const char* name : playerFiles)
    EXPECT_EQ(readFile(runtime / "Storage" / name), std::string("my ") + name);
  EXPECT_EQ(readFile(runtime / "Storage/4BlockPieces.txt"), "pieces v2");
  EXPECT_EQ(readFile(runtime / "Storage/colorPieces.txt"), "colours v1");
  EXPECT_EQ(readFile(runtime / "Storage/networks/Shipped.txt"), "seed network v2");
  EXPECT_EQ(filesUnder(runtime), expected) << "a temporary file was left behind";

  // What a killed write left in any folder the game writes goes at the next start.
  for (const char* folder : {"Storage", "Storage/replays", "Storage/networks", "Mixer"}) {
    fs::path left = runtime / folder / ".brikka-partial-x.XXXXXX";
    writeFile(left, "half");
    fs::last_write_time(left, fs::file_time_type::clock::now() - std::chrono::hours(2));
  }
  ASSERT_TRUE(prepareRuntimeFolder(runtime.string(), data.string(), &error)) << error;
  EXPECT_EQ(filesUnder(runtime), expected);

  // A file that cannot be replaced (a folder stands in its way) stops the preparation with its
  // name, and no half-written copy stays beside it.
  fs::remove(runtime / "Mixer/clickButton.wav");
  writeFile(runtime / "Mixer/clickButton.wav/in the way", "");
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

  // With none there, the error names every place looked at. (A chosen folder that is missing
  // stops the search: tests/install/installed.sh.)
  unsetenv("BRIKKA_DATA");
  fs::remove_all(installed);
  EXPECT_EQ(findDataFolder(program.string(), &error), "");
  EXPECT_NE(error.find(beside.string()), std::string::npos) << error;
  EXPECT_NE(error.find(installed.string()), std::string::npos) << error;

  unsetenv("BRIKKA_HOME"); // HOME alone: tests/install/installed.sh
  setenv("XDG_DATA_HOME", "/data/home", 1);
  EXPECT_EQ(runtimeFolder(), "/data/home/brikka");
  setenv("BRIKKA_HOME", "/tmp/brikka-test", 1);
  EXPECT_EQ(runtimeFolder(), "/tmp/brikka-test");
}

} // namespace
