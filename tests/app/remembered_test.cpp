// What the game remembers between starts: sound, full screen, keys, window place and pieces.
#include "app/settings.h"
#include "scenario.h"

#include <sys/stat.h>

namespace {

using Remembered = Scenario;

TEST_F(Remembered, ChoicesComeBackNextStartBesideUnknownNamesAndBadValuesFallBack) {
  writeFile(preferencesPath, "# mine\nfuture_setting = 7\nvolume_music = 150\n");
  EXPECT_NE(errorsOf(readPreferences).find("volume_music"), std::string::npos);
  EXPECT_EQ(musicVolume, 100);
  musicVolume = 35, soundMuted = fullscreenOn = true, restartKey = SDL_SCANCODE_F2;
  windowPlace = {-20, 40, 900, 600};
  for (const char* name : {"volume_music", "volume_muted", "display_fullscreen", "key_restart"})
    ASSERT_TRUE(savePreference(name));
  saveWindowPlace();
  musicVolume = restartKey = 0, soundMuted = fullscreenOn = false, windowPlace = {};
  readPreferences();
  EXPECT_EQ(musicVolume, 35);
  EXPECT_TRUE(soundMuted);
  EXPECT_TRUE(fullscreenOn);
  EXPECT_EQ(restartKey, SDL_SCANCODE_F2);
  EXPECT_EQ(windowPlace.x, -20);
  EXPECT_EQ(windowPlace.y, 40);
  EXPECT_EQ(windowPlace.w, 900);
  std::string text = readFile(preferencesPath);
  EXPECT_EQ(text.rfind("# mine\nfuture_setting = 7\nvolume_music = 35\n", 0), 0u) << text;
  EXPECT_EQ(preferencesWithValue("a = 1", "b", "2"), "a = 1\nb = 2\n"); // a new name goes last
}

TEST_F(Remembered, ARefusedPreferencesFileIsSaidOnceAndNeverWrittenOver) {
  const std::string tooLarge = "volume_music = 35\n" + std::string(settingsFileLimit, '#');
  const std::string longLine = "volume_music = 35\n#" + std::string(5000, 'x') + "\n";
  for (const std::string& text : {tooLarge, longLine, std::string("folder"), std::string("fifo")}) {
    std::filesystem::remove_all(preferencesPath);
    if (text == "folder")
      std::filesystem::create_directory(preferencesPath);
    else if (text == "fifo")
      ASSERT_EQ(mkfifo(preferencesPath, 0644), 0);
    else
      writeFile(preferencesPath, text);
    std::string said = errorsOf([] {
      readPreferences();
      musicVolume = 20;
      EXPECT_FALSE(savePreference("volume_music"));
      saveWindowPlace();
    });
    EXPECT_EQ(lineCount(said), 1) << said;
    if (text == "folder")
      EXPECT_TRUE(std::filesystem::is_directory(preferencesPath));
    else if (text == "fifo")
      EXPECT_TRUE(std::filesystem::is_fifo(preferencesPath));
    else
      EXPECT_EQ(readFile(preferencesPath), text);
  }
  std::filesystem::remove_all(preferencesPath);
  readPreferences();
  EXPECT_TRUE(savePreference("volume_music")); // a mended file is written again
}

TEST_F(Remembered, HandlingRowsFallBackOneByOneAndKeepTheirWords) {
  writeFile(preferencesPath, "p1_handling = custom\np1_das_ms = 90\np1_arr_ms = fast\n"
                             "p2_handling = quick\np2_soft_drop_factor = 0\n");
  std::string said = errorsOf(readPreferences);
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
  EXPECT_EQ(p1Handling.kind, customHandling);
  EXPECT_EQ(p1Handling.dasMs, 90);
  EXPECT_EQ(p1Handling.arrMs, 33);
  EXPECT_EQ(p2Handling.kind, classicHandling);
  EXPECT_EQ(p2Handling.softDropFactor, instantSoftDrop);
  ASSERT_TRUE(savePreference("p1_handling"));
  EXPECT_NE(readFile(preferencesPath).find("p1_handling = custom\n"), std::string::npos);
}

TEST_F(Remembered, ThePieceSelectionSurvivesAndAPieceNoLongerInTheFilesIsLeftOut) {
  Piece one = pieceFromPicture({"#"}), two = pieceFromPicture({"##"});
  start({one, two, two, pieceFromPicture({"###"})});
  clickOn(screenButtons[mainMenuScreen][4]); // "Settings", then "More Settings"
  clickOn(screenButtons[settingsScreen][16]);
  ASSERT_EQ(currentScreen, piecesScreen);
  clickOn(screenButtons[piecesScreen][2]); // the second two-block piece out
  clickOn(screenButtons[piecesScreen][0]); // and the one-block piece
  EXPECT_EQ(piecesKept, "2:1 3:1");
  EXPECT_NE(readFile(preferencesPath).find("pieces_selected = 2:1 3:1"), std::string::npos);

  start({one, two}); // next start: the files now hold one two-block piece and no three
  readPreferences();
  std::string said = errorsOf(applyRememberedPieces);
  EXPECT_EQ(pieceSelection, (std::vector<bool>{false, true}));
  EXPECT_NE(said.find(": 3:1;"), std::string::npos) << said;
}

TEST_F(Remembered, TheFirstWindowFitsTheUsableAreaWithItsFrame) {
  SDL_Rect usable = {0, 30, 1366, 738};
  WindowFrame frame = {30, 2, 2, 2};
  SDL_Rect first = fittedWindow(usable, frame, {});
  EXPECT_EQ(first.w, 1059);
  EXPECT_EQ(first.h, 706);
  EXPECT_EQ(first.y, 60);
  EXPECT_EQ(first.x, 153);
  // A remembered place half off a screen that is smaller now comes back whole onto it.
  SDL_Rect moved = fittedWindow(usable, frame, {1200, -50, 1500, 1000});
  EXPECT_EQ(moved.x, 2);
  EXPECT_EQ(moved.y, 60);
  EXPECT_EQ(moved.w, 1362);
  EXPECT_EQ(moved.h, 706);
}

} // namespace
