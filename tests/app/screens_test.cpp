// The menu screens as a player uses them: rebinding, resetting, choosing pieces and levels.
#include "ai/ai.h"
#include "scenario.h"

#include <gtest/gtest.h>

namespace {
using BotAndTrainingScreens = Scenario;
using PieceSelection = Scenario;
using SettingsScreen = Scenario;
void pressKey(SDL_Scancode key) {
  SDL_Event event{};
  event.type = SDL_KEYDOWN;
  event.key.keysym.scancode = key;
  SDL_PushEvent(&event);
  handleEvents();
}

int blocksOf(const PieceGrid& grid) {
  int blocks = 0;
  for (const auto& column : grid)
    for (int32_t cell : column) blocks += cell == 1;
  return blocks;
}
} // namespace

TEST_F(SettingsScreen, AControlClickedThenEmptySpaceClickedKeepsItsBinding) {
  ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
  clickOn(screenButtons[0][4]);
  ASSERT_EQ(currentScreen, 3);
  Button& p1Right = screenButtons[3][7];
  clickOn(p1Right);
  frame(750, 650);
  EXPECT_TRUE(p1Right.hovered); // lit while it waits for a key
  frame(750, 650, true);
  EXPECT_FALSE(p1Right.hovered);
  pressKey(SDL_SCANCODE_K);
  EXPECT_EQ(controls, std::vector<int32_t>(defaultControls, defaultControls + controlCount));
  EXPECT_FALSE(std::filesystem::exists(controlsPath));
  clickOn(p1Right); // while waiting, the same key press is taken
  pressKey(SDL_SCANCODE_K);
  EXPECT_TRUE(std::filesystem::exists(controlsPath));
  SDL_Quit();
}

TEST_F(SettingsScreen, ResetRestoresTheBindingsAndShowsDefaultSensitivitiesWithoutMovingKnobs) {
  controls.assign(controlCount, 4);
  currentScreen = 3;
  Slider& p1Slider = screenSliders[3][1];
  frame(static_cast<int>(p1Slider.knob.x), 850, true);
  frame(1100, 850, false, true);
  frame(1100, 850);
  EXPECT_NEAR(p1Sensitivity, 200.0 / 500 * 1.99 + 0.01, 1e-9);
  clickOn(screenButtons[3][15]);
  EXPECT_EQ(readFile(controlsPath), "7\n4\n26\n27\n22\n8\n20\n79\n80\n82\n44\n81\n229\n56\n");
  EXPECT_EQ(screenButtons[3][0].valueText, "D");
  EXPECT_EQ(screenButtons[3][13].valueText, "RSLASH");
  EXPECT_EQ(p1Slider.value, 0.14);
  EXPECT_EQ(screenSliders[3][0].value, 0.14);
  EXPECT_EQ(p1Slider.knob.x, 1100);
  frame(1000, 600); // release: the sensitivities follow and are kept
  EXPECT_EQ(readFile(sensitivityPath), "0.140000\n0.140000\n");
}

TEST_F(PieceSelection, PiecesSwitchedOffStayOutOfTheNextGame) {
  freshProgram({singleBlock(), pieceFromPicture({"##"}), pieceFromPicture({"###"})});
  for (int button : {4, 16}) clickOn(screenButtons[currentScreen][button]);
  ASSERT_EQ(currentScreen, 4);
  clickOn(screenButtons[4][0]);
  clickOn(screenButtons[4][3]); // "Back" rebuilds the catalogue
  EXPECT_EQ(currentScreen, 3);
  clickOn(screenButtons[3][14]);
  clickOn(screenButtons[0][0]);
  ASSERT_EQ(gameMode, 1);
  for (int piece = 0; piece < 40; ++piece) {
    EXPECT_GE(blocksOf(currentGrid(1)), 2);
    emptyBoard(p1Board);
    p1HardDrop = true;
    frame(700, 500);
  }
  p1HardDrop = false;
}

TEST_F(BotAndTrainingScreens, LevelsSetTheBotAndRunSimStartsThePopulation) {
  freshProgram({singleBlock(), pieceFromPicture({"##"})});
  clickOn(screenButtons[0][2]);
  frame(1250, 700); // hovering "Neural Network" only previews it
  EXPECT_FALSE(botUsesNetwork);
  clickOn(screenButtons[2][6]);
  EXPECT_EQ(gameMode, 4);
  EXPECT_EQ(botStepInterval, 0); // "Impossible": no pauses, no stepping
  EXPECT_FALSE(botStepwise);
  clickOn(backButton);
  clickOn(screenButtons[0][3]);
  clickOn(screenButtons[1][0]);
  EXPECT_EQ(gameMode, 3);
  ASSERT_EQ(population.size(), 20u);
  EXPECT_EQ(population[0].layers.front().size(), 402u); // two pieces + both boards
}
