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
    controls.assign(defaultControls, defaultControls + controlCount);
    screenButtons.assign(5, std::vector<Button>(17));
    p1Sensitivity = p2Sensitivity = 0.1;
    running = true;
    mouseClicked = mouseHeld = mouseDownLatch = mouseReleased = false;
    computeActionFlags(keys.data()); // forget presses of earlier tests
  }
  void TearDown() override {
    SDL_Quit();
    screenButtons.clear();
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
    EXPECT_FALSE(flag) << "still set after the release of key " << key;
    return fired;
  }
  static void push(uint32_t type, uint8_t button = SDL_BUTTON_LEFT) {
    SDL_Event event{};
    event.type = type;
    if (type == SDL_KEYDOWN) {
      event.key.keysym.scancode = SDL_SCANCODE_J;
    } else {
      event.button.button = button;
    }
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }
  std::array<uint8_t, SDL_NUM_SCANCODES> keys{};
};

TEST(KeyNames, LettersDigitsAndNamedKeys) {
  const std::pair<int32_t, const char*> names[] = {
      {4, "A"},           {29, "Z"},          {30, "["},        {39, "d"},     {79, "RIGHT ARROW"},
      {80, "LEFT ARROW"}, {81, "DOWN ARROW"}, {82, "UP ARROW"}, {44, "SPACE"}, {229, "RSHIFT"},
      {56, "RSLASH"},     {228, "!"}};
  for (const auto& [scancode, name] : names) EXPECT_EQ(keyDisplayName(scancode), name);
  EXPECT_EQ(keyDisplayName(195).size(), 1u); // character code 0 is still one character
}

TEST_F(Input, HeldMoveKeyRepeatsAtTheSensitivityOfItsPlayer) {
  EXPECT_EQ(firingFrames(79, p1MoveRight, 35), (std::vector<int>{1, 12, 22, 32}));
  EXPECT_EQ(firingFrames(80, p1MoveLeft, 12), (std::vector<int>{1, 12})); // counts afresh
  p2Sensitivity = 1.0;
  EXPECT_EQ(firingFrames(7, p2MoveRight, 3), (std::vector<int>{1, 2, 3}));
  p2Sensitivity = 0.5;
  EXPECT_EQ(firingFrames(4, p2MoveLeft, 6), (std::vector<int>{1, 3, 5}));
}

TEST_F(Input, RotationsAndHardDropsFireOncePerPressWhileDropsAndHoldFollowTheKey) {
  const std::pair<int32_t, const bool*> once[] = {
      {82, &p1RotateCw}, {82, &p1RotateCw},  {44, &p1RotateCcw}, {229, &p1HardDrop},
      {26, &p2RotateCw}, {27, &p2RotateCcw}, {8, &p2HardDrop}};
  for (const auto& [key, flag] : once) EXPECT_EQ(firingFrames(key, *flag, 4), std::vector<int>{1});
  const std::pair<int32_t, const bool*> held[] = {
      {81, &p1SoftDrop}, {56, &p1Hold}, {22, &p2SoftDrop}, {20, &p2Hold}};
  for (const auto& [key, flag] : held) {
    EXPECT_EQ(firingFrames(key, *flag, 3), (std::vector<int>{1, 2, 3}));
  }
  controls[12] = 82; // two controls on one key both react; the other player's stay quiet
  keys[82] = 1;
  computeActionFlags(keys.data());
  EXPECT_TRUE(p1RotateCw && p1HardDrop);
  EXPECT_FALSE(p2RotateCw || p2HardDrop || p1MoveRight);
}

TEST_F(Input, ClickLastsOneFrameAndAQuickTapInsideOneFrameIsNoClick) {
  push(SDL_MOUSEBUTTONDOWN);
  handleEvents();
  EXPECT_TRUE(mouseClicked && mouseHeld);
  handleEvents();
  handleEvents();
  EXPECT_TRUE(!mouseClicked && mouseHeld);
  push(SDL_MOUSEBUTTONUP);
  handleEvents();
  EXPECT_TRUE(mouseReleased && !mouseHeld && !mouseClicked);
  handleEvents();
  EXPECT_FALSE(mouseReleased);

  push(SDL_MOUSEBUTTONDOWN);
  push(SDL_MOUSEBUTTONUP);
  handleEvents();
  EXPECT_TRUE(!mouseClicked && mouseReleased);
  push(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT);
  handleEvents();
  EXPECT_FALSE(mouseClicked || mouseHeld);
  EXPECT_TRUE(running);
  push(SDL_QUIT);
  handleEvents();
  EXPECT_FALSE(running);
}

TEST_F(Input, CapturedKeyBindsTheHighestKeyDownAndWritesAllFourteenLines) {
  const std::string expected = "7\n4\n26\n22\n22\n8\n20\n79\n80\n82\n44\n81\n229\n56\n";
  awaitingKeyBinding = true;
  bindingIndex = 3;
  keys[4] = keys[22] = 1; // A and S held together
  captureKey(keys.data());
  EXPECT_FALSE(awaitingKeyBinding);
  EXPECT_EQ(screenButtons[3][3].valueText, "S");
  EXPECT_EQ(readFile(controlsPath), expected);

  // A key-down event whose key is up again by now: no change, but the file is rewritten and
  // the wait ends.
  std::filesystem::remove(controlsPath);
  awaitingKeyBinding = true;
  bindingIndex = 0;
  push(SDL_KEYDOWN);
  handleEvents();
  EXPECT_FALSE(awaitingKeyBinding);
  EXPECT_EQ(readFile(controlsPath), expected);

  screenButtons.clear(); // before the menus exist the binding still changes
  bindingIndex = 13;
  captureKey(keys.data());
  EXPECT_EQ(controls[13], 22);
}

TEST(FrameTiming, FramesLastAtLeastSixteenMillisecondsExceptInTraining) {
  EXPECT_DOUBLE_EQ(frameDeltaBetween(1000, 1000 + 16000000, 1000000000), 1.6);
  EXPECT_DOUBLE_EQ(frameDeltaBetween(5, 5 + 3000, 1000000), 0.3);
  EXPECT_EQ(frameSleepMilliseconds(100, 103, 1), 13u);
  EXPECT_EQ(frameSleepMilliseconds(100, 116, 0), 0u);
  EXPECT_EQ(frameSleepMilliseconds(100, 100, 3), 0u);
  EXPECT_EQ(frameSleepMilliseconds(0xFFFFFFFEu, 1, 2), 13u); // the tick count wrapped
}

} // namespace
