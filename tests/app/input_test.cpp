// Keys and mouse as a player feels them: what a held or tapped key does frame by frame, when a
// click counts, and what rebinding a key writes.
#include "app/app.h"
#include "tempstorage.h"

#include <array>

namespace {

class Input : public TempStorage {
protected:
  void SetUp() override {
    TempStorage::SetUp();
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
    controls.assign(defaultControls, defaultControls + controlCount);
    screenButtons.assign(5, {});
    screenButtons[3].resize(17);
    keys.fill(0);
    p1Sensitivity = p2Sensitivity = 0.1;
    running = true;
    mouseClicked = mouseHeld = mouseDownLatch = mouseReleased = false;
    awaitingKeyBinding = false;
    computeActionFlags(keys.data()); // forget presses of earlier tests
  }
  void TearDown() override {
    SDL_Quit();
    screenButtons.clear();
    running = true;
    TempStorage::TearDown();
  }

  // Frames (1-based) on which flag was set while key was held for the given number of frames.
  std::vector<int> firingFrames(int32_t key, const bool& flag, int frames) {
    std::vector<int> fired;
    keys[key] = 1;
    for (int frame = 1; frame <= frames; ++frame) {
      computeActionFlags(keys.data());
      if (flag) fired.push_back(frame);
    }
    keys[key] = 0;
    computeActionFlags(keys.data());
    return fired;
  }
  void pushMouseButton(uint32_t type, uint8_t button) {
    SDL_Event event{};
    event.type = type;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }

  std::array<uint8_t, SDL_NUM_SCANCODES> keys{};
};

TEST(KeyNames, LettersDigitsAndNamedKeys) {
  EXPECT_EQ(keyDisplayName(4), "A");
  EXPECT_EQ(keyDisplayName(7), "D");
  EXPECT_EQ(keyDisplayName(29), "Z");
  EXPECT_EQ(keyDisplayName(30), "["); // the digit-one key
  EXPECT_EQ(keyDisplayName(39), "d"); // the digit-zero key
  EXPECT_EQ(keyDisplayName(79), "RIGHT ARROW");
  EXPECT_EQ(keyDisplayName(80), "LEFT ARROW");
  EXPECT_EQ(keyDisplayName(81), "DOWN ARROW");
  EXPECT_EQ(keyDisplayName(82), "UP ARROW");
  EXPECT_EQ(keyDisplayName(44), "SPACE");
  EXPECT_EQ(keyDisplayName(229), "RSHIFT");
  EXPECT_EQ(keyDisplayName(56), "RSLASH");
  EXPECT_EQ(keyDisplayName(228), "!"); // right control: the code wraps past 255
  EXPECT_EQ(keyDisplayName(195).size(), 1u);
}

TEST_F(Input, HeldMoveKeyRepeatsAtTheSensitivityOfItsPlayer) {
  EXPECT_EQ(firingFrames(79, p1MoveRight, 35), (std::vector<int>{1, 12, 22, 32}));
  // Released and pressed again: moves at once, the repeat count starts afresh.
  EXPECT_EQ(firingFrames(79, p1MoveRight, 12), (std::vector<int>{1, 12}));
  EXPECT_EQ(firingFrames(80, p1MoveLeft, 3), (std::vector<int>{1}));

  p2Sensitivity = 1.0;
  EXPECT_EQ(firingFrames(7, p2MoveRight, 4), (std::vector<int>{1, 2, 3, 4}));
  p2Sensitivity = 0.5;
  EXPECT_EQ(firingFrames(4, p2MoveLeft, 6), (std::vector<int>{1, 3, 5}));
  EXPECT_FALSE(p2MoveLeft); // nothing after the release
}

TEST_F(Input, RotationsAndHardDropsFireOncePerPressWhileDropsAndHoldFollowTheKey) {
  EXPECT_EQ(firingFrames(82, p1RotateCw, 5), (std::vector<int>{1}));
  EXPECT_EQ(firingFrames(82, p1RotateCw, 5), (std::vector<int>{1})); // pressed again
  EXPECT_EQ(firingFrames(44, p1RotateCcw, 3), (std::vector<int>{1}));
  EXPECT_EQ(firingFrames(229, p1HardDrop, 3), (std::vector<int>{1}));
  EXPECT_EQ(firingFrames(26, p2RotateCw, 3), (std::vector<int>{1}));
  EXPECT_EQ(firingFrames(27, p2RotateCcw, 3), (std::vector<int>{1}));
  EXPECT_EQ(firingFrames(8, p2HardDrop, 3), (std::vector<int>{1}));
  EXPECT_EQ(firingFrames(81, p1SoftDrop, 3), (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(firingFrames(56, p1Hold, 2), (std::vector<int>{1, 2}));
  EXPECT_EQ(firingFrames(22, p2SoftDrop, 2), (std::vector<int>{1, 2}));
  EXPECT_EQ(firingFrames(20, p2Hold, 2), (std::vector<int>{1, 2}));
  EXPECT_FALSE(p1SoftDrop || p1Hold || p2SoftDrop || p2Hold);

  // Two controls on one key both react; the other player's controls stay quiet.
  controls[12] = 82;
  keys[82] = 1;
  computeActionFlags(keys.data());
  EXPECT_TRUE(p1RotateCw && p1HardDrop);
  EXPECT_FALSE(p2RotateCw || p2HardDrop || p1MoveRight);
}

TEST_F(Input, ClickLastsOneFrameAndAQuickTapInsideOneFrameIsNoClick) {
  pushMouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
  handleEvents();
  EXPECT_TRUE(mouseClicked && mouseHeld);
  for (int frame = 0; frame < 3; ++frame) {
    handleEvents();
    EXPECT_FALSE(mouseClicked);
    EXPECT_TRUE(mouseHeld);
  }
  pushMouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
  handleEvents();
  EXPECT_TRUE(mouseReleased);
  EXPECT_FALSE(mouseHeld || mouseClicked);
  handleEvents();
  EXPECT_FALSE(mouseReleased);

  pushMouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT);
  pushMouseButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT);
  handleEvents();
  EXPECT_FALSE(mouseClicked);
  EXPECT_TRUE(mouseReleased);

  pushMouseButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
  handleEvents();
  EXPECT_FALSE(mouseClicked || mouseHeld);
  EXPECT_TRUE(running);

  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  handleEvents();
  EXPECT_FALSE(running);
}

TEST_F(Input, CapturedKeyBindsTheHighestKeyDownAndWritesAllFourteenLines) {
  awaitingKeyBinding = true;
  bindingIndex = 3;
  keys[4] = keys[22] = 1; // A and S held together
  captureKey(keys.data());
  EXPECT_FALSE(awaitingKeyBinding);
  EXPECT_EQ(controls[3], 22);
  EXPECT_EQ(screenButtons[3][3].valueText, "S");
  EXPECT_EQ(readFile(controlsPath), "7\n4\n26\n22\n22\n8\n20\n79\n80\n82\n44\n81\n229\n56\n");

  // A key-down event whose key is already up again: no change, but the file is rewritten and
  // the wait ends.
  std::filesystem::remove(controlsPath);
  awaitingKeyBinding = true;
  bindingIndex = 0;
  SDL_Event key{};
  key.type = SDL_KEYDOWN;
  key.key.keysym.scancode = SDL_SCANCODE_J;
  SDL_PushEvent(&key);
  handleEvents();
  EXPECT_FALSE(awaitingKeyBinding);
  EXPECT_EQ(controls[0], 7);
  EXPECT_EQ(readFile(controlsPath), "7\n4\n26\n22\n22\n8\n20\n79\n80\n82\n44\n81\n229\n56\n");

  // Before the menus exist the binding still changes.
  screenButtons.clear();
  awaitingKeyBinding = true;
  bindingIndex = 13;
  keys.fill(0);
  keys[30] = 1;
  captureKey(keys.data());
  EXPECT_EQ(controls[13], 30);
}

TEST(FrameTiming, FramesLastAtLeastSixteenMillisecondsExceptInTraining) {
  EXPECT_DOUBLE_EQ(frameDeltaBetween(1000, 1000 + 16000000, 1000000000), 1.6);
  EXPECT_DOUBLE_EQ(frameDeltaBetween(5, 5 + 3000, 1000000), 0.3);
  EXPECT_EQ(frameSleepMilliseconds(100, 103, 1), 13u);
  EXPECT_EQ(frameSleepMilliseconds(100, 116, 0), 0u);
  EXPECT_EQ(frameSleepMilliseconds(100, 150, 4), 0u);
  EXPECT_EQ(frameSleepMilliseconds(100, 100, 3), 0u);
  EXPECT_EQ(frameSleepMilliseconds(0xFFFFFFFEu, 1, 2), 13u); // the tick count wrapped
}

} // namespace
