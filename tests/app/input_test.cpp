// Keys and mouse as a player feels them: what a held or tapped key does frame by frame, when a
// click counts and where the pointer is.
#include "scenario.h"

namespace {

using Input = Scenario;

TEST_F(Input, KeyNamesNameTheKeyAndEscapeIsNeverBound) {
  // Letters, the game's own names, SDL's names, and a number where nobody has a name.
  const std::pair<int32_t, const char*> names[] = {
      {4, "A"}, {29, "Z"}, {79, "RIGHT ARROW"}, {229, "RSHIFT"}, {225, "Left Shift"}, {300, "300"}};
  for (const auto& [scancode, name] : names) EXPECT_EQ(keyDisplayName(scancode), name);
  // Escape held while P1 Left waits for its key: the old key stays and the wait ends.
  uint8_t keys[SDL_NUM_SCANCODES] = {};
  keys[escapeScancode] = 1;
  awaitingKeyBinding = true;
  bindingIndex = 8;
  captureKey(keys);
  EXPECT_EQ(controls[8], 80);
  EXPECT_EQ(screenButtons[3][8].valueText, "");
  EXPECT_FALSE(awaitingKeyBinding);
}

// Frames (1-based) on which flag was set while key was held for the given number of frames.
std::vector<int> firingFrames(int32_t key, const bool& flag, int frames) {
  uint8_t keys[SDL_NUM_SCANCODES] = {};
  std::vector<int> fired;
  keys[key] = 1;
  for (int frame = 1; frame <= frames; ++frame) {
    computeActionFlags(keys);
    if (flag) fired.push_back(frame);
  }
  keys[key] = 0;
  computeActionFlags(keys);
  EXPECT_FALSE(flag) << "still set after the release of key " << key;
  return fired;
}

TEST_F(Input, MovesRepeatAtTheirPlayersSensitivityOthersFireOnceOrWhileHeld) {
  EXPECT_EQ(firingFrames(79, p1MoveRight, 35), (std::vector<int>{1, 12, 22, 32}));
  EXPECT_EQ(firingFrames(80, p1MoveLeft, 12), (std::vector<int>{1, 12})); // counts afresh
  p2Sensitivity = 0.5;
  EXPECT_EQ(firingFrames(4, p2MoveLeft, 6), (std::vector<int>{1, 3, 5}));
  const std::pair<int32_t, const bool*> once[] = {
      {82, &p1RotateCw}, {44, &p1RotateCcw}, {229, &p1HardDrop}, {27, &p2RotateCcw}};
  for (const auto& [key, flag] : once) EXPECT_EQ(firingFrames(key, *flag, 4), std::vector<int>{1});
  for (const auto& [key, flag] : {std::pair{81, &p1SoftDrop}, {20, &p2Hold}})
    EXPECT_EQ(firingFrames(key, *flag, 3), (std::vector<int>{1, 2, 3}));
}

TEST_F(Input, ClickLastsOneFrameEvenATapInsideOneFrame) {
  push({SDL_MOUSEBUTTONDOWN});
  EXPECT_TRUE(mouseClicked && mouseHeld);
  handleEvents();
  EXPECT_TRUE(!mouseClicked && mouseHeld);
  push({SDL_MOUSEBUTTONUP});
  EXPECT_TRUE(mouseReleased && !mouseHeld && !mouseClicked);
  handleEvents();
  EXPECT_FALSE(mouseReleased);
  push({SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}); // a touchpad tap, or a click in a slow frame
  EXPECT_TRUE(mouseClicked && mouseReleased && !mouseHeld);
  handleEvents();
  EXPECT_TRUE(!mouseClicked && !mouseReleased);
  push({SDL_QUIT});
  EXPECT_FALSE(running);
}

TEST(FrameTiming, FramesLastAtLeastSixteenMillisecondsExceptInTraining) {
  EXPECT_DOUBLE_EQ(frameDeltaBetween(1000, 1000 + 16000000, 1000000000), 1.6);
  EXPECT_EQ(frameSleepMilliseconds(100, 100, 3), 0u);
  EXPECT_EQ(frameSleepMilliseconds(0xFFFFFFFEu, 1, 2), 13u); // the tick count wrapped
}

} // namespace
