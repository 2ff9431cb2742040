// The accessibility settings: remembered, refused when bad, and never a change to the game.
#include "app/settings.h"
#include "game/replay.h"
#include "render/render.h"
#include "scenario.h"

namespace {

using Access = Scenario;

TEST_F(Access, PaletteMarksAndMotionRowsFallBackOneLineEachAndKeepGoodWords) {
  writeFile(preferencesPath, "palette = sepia\npiece_symbols = yes\nreduce_motion = 1\n");
  std::string errors = errorsOf(readPreferences);
  EXPECT_EQ(lineCount(errors), 3);
  EXPECT_NE(errors.find("standard, okabe-ito or high-contrast; using standard"), std::string::npos)
      << errors;
  EXPECT_EQ(palette, standardPalette);
  EXPECT_FALSE(pieceSymbolsOn);
  EXPECT_FALSE(reduceMotion);
  writeFile(preferencesPath,
            "palette = high-contrast\npiece_symbols = true\nreduce_motion = true\n");
  EXPECT_EQ(errorsOf(readPreferences), "");
  EXPECT_EQ(palette, highContrastPalette);
  EXPECT_TRUE(pieceSymbolsOn);
  EXPECT_TRUE(reduceMotion);
  palette = okabeItoPalette;
  ASSERT_TRUE(savePreference("palette"));
  EXPECT_NE(readFile(preferencesPath).find("palette = okabe-ito\n"), std::string::npos);
  readPreferences();
  EXPECT_EQ(palette, okabeItoPalette);
  palette = standardPalette, pieceSymbolsOn = reduceMotion = false;
}

// A versus game with cleared rows (so particles fly and garbage waits), drawn every frame.
struct PlayedGame {
  uint64_t boards = 0;
  int32_t score = 0;
  size_t particles = 0, waitingGarbage = 0;
  double backdropX = 0.0;
};

PlayedGame playDrawnGame(bool calm) {
  reduceMotion = calm;
  SDL_Surface* canvas = SDL_CreateRGBSurfaceWithFormat(0, 1500, 1000, 32, SDL_PIXELFORMAT_ARGB8888);
  renderer = SDL_CreateSoftwareRenderer(canvas);
  seedRandom(7);
  setUpGame();                                               // the same backdrop both times
  for (int f = 0; f < 30; ++f) frame(100, 100), drawFrame(); // the backdrop drifts
  PlayedGame result;
  result.backdropX = menuPieces.empty() ? 0.0 : menuPieces[0].x;
  clickOn(screenButtons[0][1]);
  countdownLeft = 0.0;
  for (int f = 0; f < 400; ++f) {
    if (f % 25 == 0) {
      // The monomino's column left open in the bottom two rows: each drop clears rows.
      for (int32_t i = 0; i < boardWidth; ++i)
        for (int32_t j : {boardHeight - 1, boardHeight - 2})
          p1Board[i][j] = i == p1Position.x ? 0 : 1;
    }
    p1HardDrop = f % 25 == 1;
    frame(700, 500);
    drawFrame();
    if (f == 290) result.particles = lineClearParticles.size();
  }
  result.boards = boardHash();
  result.score = score;
  result.waitingGarbage = p2IncomingDamage.size();
  SDL_DestroyRenderer(renderer);
  renderer = nullptr;
  SDL_FreeSurface(canvas);
  reduceMotion = false;
  return result;
}

TEST_F(Access, ReducedMotionPlaysTheSameGameFrameForFrame) {
  PlayedGame moving = playDrawnGame(false);
  start({pieceFromPicture({"#"})});
  PlayedGame calm = playDrawnGame(true);
  EXPECT_GT(moving.score, 0); // rows were cleared: there was motion to reduce
  EXPECT_GT(moving.particles, 0u);
  EXPECT_EQ(calm.boards, moving.boards);
  EXPECT_EQ(calm.score, moving.score);
  EXPECT_EQ(calm.particles, moving.particles);
  EXPECT_EQ(calm.waitingGarbage, moving.waitingGarbage);
  EXPECT_EQ(calm.backdropX, moving.backdropX);
}

std::vector<SoundEffect> soundsHeard;
void hearSound(SoundEffect effect, int) {
  soundsHeard.push_back(effect);
}

TEST_F(Access, GarbageAboutToRiseSoundsOnceForEachNewWaitingRecord) {
  clickOn(screenButtons[0][1]);
  ASSERT_EQ(gameMode, 2);
  countdownLeft = 0.0;
  soundHook = hearSound;
  soundsHeard.clear();
  // Two records, the second arriving later: each crosses into its last third once.
  p1IncomingDamage = {{1, 0, damageDelay / 3 + 3.0}};
  for (int f = 0; f < 10; ++f) frame(700, 500);
  p1IncomingDamage.push_back({2, 0, damageDelay / 3 + 1.0});
  for (int f = 0; f < 10; ++f) frame(700, 500);
  soundHook = nullptr;
  EXPECT_EQ(std::count(soundsHeard.begin(), soundsHeard.end(), SoundEffect::clickButton), 2);
}

} // namespace
