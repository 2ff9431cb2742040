// Keys and mouse as a player feels them: what a held or tapped key does frame by frame, when a
// click counts and where the pointer is.
#include "app/input.h"
#include "app/play.h"
#include "app/screens.h"
#include "app/shell.h"
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
  EXPECT_TRUE(mouseClicked);
  EXPECT_TRUE(mouseHeld);
  handleEvents();
  EXPECT_FALSE(mouseClicked);
  EXPECT_TRUE(mouseHeld);
  push({SDL_MOUSEBUTTONUP});
  EXPECT_TRUE(mouseReleased);
  EXPECT_FALSE(mouseHeld);
  EXPECT_FALSE(mouseClicked);
  handleEvents();
  EXPECT_FALSE(mouseReleased);
  push({SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}); // a touchpad tap, or a click in a slow frame
  EXPECT_TRUE(mouseClicked);
  EXPECT_TRUE(mouseReleased);
  EXPECT_FALSE(mouseHeld);
  handleEvents();
  EXPECT_FALSE(mouseClicked);
  EXPECT_FALSE(mouseReleased);
  push({SDL_QUIT});
  EXPECT_FALSE(running);
}

TEST(FrameTiming, FramesLastAtLeastSixteenMillisecondsExceptInTraining) {
  EXPECT_DOUBLE_EQ(frameDeltaBetween(1000, 1000 + 16000000, 1000000000), 1.6);
  EXPECT_EQ(frameSleepMilliseconds(100, 100, 3), 0u);
  EXPECT_EQ(frameSleepMilliseconds(0xFFFFFFFEu, 1, 2), 13u); // the tick count wrapped
}

} // namespace

// Frames (1-based) on which player 1 moved, with the columns (negative: left), while keys go
// down and up (0: never) on their frames, on a clock of delta hundredths of a second a frame.
using Moves = std::vector<std::pair<int, int32_t>>;
struct Held {
  int down, up;
  SDL_Scancode scancode;
};
Moves movesOf(const std::vector<Held>& script, int frames, double delta = 1.6) {
  Moves moves;
  for (int frame = 1; frame <= frames; ++frame) {
    for (const Held& key : script) {
      if (key.down == frame) keyEvent(key.scancode, true);
      if (key.up == frame) keyEvent(key.scancode, false);
    }
    frameDelta = delta;
    handleEvents();
    if (p1MoveRight) moves.push_back({frame, p1MoveCells});
    if (p1MoveLeft) moves.push_back({frame, -p1MoveCells});
  }
  return moves;
}

TEST_F(Input, CustomHandlingCountsMillisecondsAndTheNewestDirectionWins) {
  const SDL_Scancode right = SDL_SCANCODE_RIGHT;
  // Classic stays what it was, through the queue too: frames 1, 12, 22.
  EXPECT_EQ(movesOf({{1, 25, right}}, 26), (Moves{{1, 1}, {12, 1}, {22, 1}}));
  p1Handling = {customHandling, 167, 33, 20, 0};
  // 16 ms frames: the first repeat once 167 ms are held (frame 12, 176 ms), then every 33 ms.
  EXPECT_EQ(movesOf({{1, 17, right}}, 18), (Moves{{1, 1}, {12, 1}, {14, 1}, {16, 1}}));
  // 8 ms frames: the same milliseconds (0, 168, 200, 240), not the same frames.
  EXPECT_EQ(movesOf({{1, 33, right}}, 34, 0.8), (Moves{{1, 1}, {22, 1}, {26, 1}, {31, 1}}));
  // Zero repeat: the first repeat frame takes the piece to the wall, and so does every frame on.
  p1Handling.dasMs = 100;
  p1Handling.arrMs = 0;
  EXPECT_EQ(movesOf({{1, 10, right}}, 10), (Moves{{1, 1}, {8, boardWidth}, {9, boardWidth}}));
  // Left pressed over a held right wins at once; let go, right takes over as if pressed anew.
  EXPECT_EQ(movesOf({{1, 7, right}, {3, 5, SDL_SCANCODE_LEFT}}, 7),
            (Moves{{1, 1}, {3, -1}, {5, 1}}));
  // A rotation with a 50 ms cut holds the charged repeat back for the next three 16 ms frames.
  p1Handling.dasCutMs = 50;
  EXPECT_EQ(movesOf({{1, 14, right}, {9, 10, SDL_SCANCODE_UP}}, 14),
            (Moves{{1, 1}, {8, boardWidth}, {9, boardWidth}, {13, boardWidth}}));
  // The soft drop asks the rules for its factor; classic asks for the original rule.
  keyEvent(SDL_SCANCODE_DOWN, true);
  handleEvents();
  EXPECT_EQ(p1SoftDropFactor, 20);
  EXPECT_EQ(p2SoftDropFactor, classicSoftDrop);
  keyEvent(SDL_SCANCODE_DOWN, false);
  handleEvents();
}

TEST_F(Input, AChargedDirectionMovesTheNextPieceAtOnce) {
  p1Handling = {customHandling, 100, 0, 20, 0};
  startGameOfMode(1);
  // Held right: the one-cell piece reaches column 9; a hard drop brings the next one at 3...
  movesOf({{1, 0, SDL_SCANCODE_RIGHT}}, 8);
  updateFrame();
  EXPECT_EQ(p1Position.x, 9);
  playFrame({{SDL_SCANCODE_RSHIFT, true}});
  EXPECT_EQ(p1Position.x, 3);
  // ...which the charge still held carries to the wall in the very next frame.
  playFrame({{SDL_SCANCODE_RSHIFT, false}});
  EXPECT_EQ(p1Position.x, 9);
  keyEvent(SDL_SCANCODE_RIGHT, false);
  handleEvents();
}
