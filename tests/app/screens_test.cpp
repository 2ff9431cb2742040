// The menu screens as a player uses them: rebinding, resetting, choosing pieces and levels.
#include "ai/ai.h"
#include "app/input.h"
#include "app/screens.h"
#include "scenario.h"

namespace {

using Screens = Scenario;

TEST_F(Screens, AControlTakesTheNextKeyUnlessAClickElsewhereCancelsIt) {
  currentScreen = 3;
  Button& p1Right = screenButtons[3][7];
  clickOn(p1Right);
  frame(750, 760);
  EXPECT_TRUE(p1Right.hovered); // lit while it waits for a key
  frame(750, 760, true);
  EXPECT_FALSE(p1Right.hovered);
  push({SDL_KEYDOWN});
  EXPECT_FALSE(std::filesystem::exists(controlsPath));
  clickOn(p1Right);
  push({SDL_KEYDOWN}); // the key is up again by now: the binding stays, yet the wait ends
  EXPECT_FALSE(awaitingKeyBinding);
  EXPECT_TRUE(std::filesystem::exists(controlsPath));
  clickOn(p1Right);
  uint8_t keys[SDL_NUM_SCANCODES] = {};
  keys[4] = keys[22] = 1; // A and S held together: the higher one is taken
  captureKey(keys);
  EXPECT_EQ(p1Right.valueText, "S");
  EXPECT_EQ(readFile(controlsPath), "7\n4\n26\n27\n22\n8\n20\n22\n80\n82\n44\n81\n229\n56\n");
}

TEST_F(Screens, ResetRestoresTheBindingsAndShowsDefaultSensitivitiesWithoutMovingKnobs) {
  controls.assign(controlCount, 4);
  currentScreen = 3;
  Slider& p1Slider = screenSliders[3][1];
  frame(static_cast<int>(p1Slider.knob.x), 850, true);
  frame(1100, 850, false, true);
  frame(1100, 850);
  EXPECT_NEAR(p1Sensitivity, 200.0 / 500 * 1.99 + 0.01, 1e-9);
  clickOn(screenButtons[3][15]);
  EXPECT_EQ(readFile(controlsPath), "7\n4\n26\n27\n22\n8\n20\n79\n80\n82\n44\n81\n229\n56\n");
  EXPECT_EQ(screenButtons[3][13].valueText, "RSLASH");
  EXPECT_EQ(p1Slider.value, 0.14);
  EXPECT_EQ(screenSliders[settingsScreen][0].value, 0.14);
  EXPECT_EQ(p1Slider.knob.x, 1100);
  EXPECT_EQ(readFile(sensitivityPath), "0.140000\n0.140000\n");
  // By keys: the focus on "Reset", Return; no release follows, and the file is kept all the same.
  writeFile(sensitivityPath, "0.5\n0.5\n");
  savedSensitivities = {0.5, 0.5};
  focusVisible = true;
  focusContext = currentFocusContext();
  focusIndex = 15;
  menuCommand(MenuCommand::press);
  updateFrame();
  EXPECT_EQ(readFile(sensitivityPath), "0.140000\n0.140000\n");
  // "Gamepad", then "Back": the focus is where it was, not on the first control again.
  focusIndex = 17;
  menuCommand(MenuCommand::press);
  updateFrame();
  ASSERT_EQ(currentScreen, gamepadScreen);
  menuCommand(MenuCommand::back);
  updateFrame();
  ASSERT_EQ(currentScreen, settingsScreen);
  EXPECT_EQ(focusedButton(), &screenButtons[settingsScreen][17]);
  focusVisible = false;
}

TEST_F(Screens, LevelsSetTheBotAndRunSimStartsThePopulation) {
  start({pieceFromPicture({"#"}), pieceFromPicture({"##"})});
  clickOn(screenButtons[0][2]);
  clickOn(screenButtons[2][6]); // "Impossible": no pauses, no stepping
  EXPECT_EQ(gameMode, versusBotMode);
  EXPECT_EQ(botStepInterval, 0);
  EXPECT_FALSE(botStepwise);
  EXPECT_FALSE(botUsesNetwork);
  score = 700;
  clickOn(backButton); // to the main menu, not back to the levels, with a fresh game
  EXPECT_EQ(gameMode, menuMode);
  EXPECT_EQ(currentScreen, mainMenuScreen);
  EXPECT_EQ(score, 0);
  clickOn(screenButtons[0][3]);
  clickOn(screenButtons[1][0]);
  EXPECT_EQ(gameMode, 3);
  ASSERT_EQ(population.size(), 20u);
  EXPECT_EQ(population[0].layers.front().size(), 402u); // two pieces + both boards
}

} // namespace
