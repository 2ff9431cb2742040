// Controls that never betray the player: in a game its keys play and nothing else, a clash
// between two bindings is shown, and a stray key cannot end a two-sided match.
#include "app/input.h"
#include "app/play.h"
#include "app/screens.h"
#include "app/settings.h"
#include "net/state.h"
#include "render/render.h"
#include "scenario.h"

namespace {

using Controls = Scenario;

void key(SDL_Scancode scancode) {
  keyEvent(scancode, true);
  keyEvent(scancode, false);
  handleEvents();
}

TEST_F(Controls, KeysInAGameNeverMoveTheFocusAndReturnOnlineDoesNothing) {
  gameMode = onlineVersusMode;
  onlinePhase = OnlinePhase::playing;
  for (SDL_Scancode scancode : {SDL_SCANCODE_TAB, SDL_SCANCODE_RIGHT, SDL_SCANCODE_RETURN,
                                SDL_SCANCODE_RETURN, SDL_SCANCODE_KP_ENTER}) {
    key(scancode);
    EXPECT_FALSE(focusVisible) << scancode;
    EXPECT_FALSE(mouseClicked) << scancode;
  }
  // Once the game is over the keys work the buttons again.
  matchOver = true;
  key(SDL_SCANCODE_TAB);
  EXPECT_TRUE(focusVisible);
  onlinePhase = OnlinePhase::idle;
  gameMode = menuMode;
  matchOver = false;
}

TEST_F(Controls, AClashIsMarkedAndNamedAndAVersusMatchAsksForItsKeysTwice) {
  readPreferences();            // the default pad buttons, which clash with nothing
  controls[6] = SDL_SCANCODE_R; // P2 Hold on the restart key
  EXPECT_TRUE(bindingClashes(6));
  EXPECT_TRUE(bindingClashes(restartKeyIndex));
  EXPECT_FALSE(bindingClashes(pauseKeyIndex));
  currentScreen = audioDisplayScreen;
  frame(0, 0);
  int32_t marked = 0;
  for (const Button& button : screenButtons[audioDisplayScreen]) marked += button.warning;
  EXPECT_EQ(marked, 1);
  startGameOfMode(2);
  frame(0, 0);
  EXPECT_EQ(playNotice, "P2 Hold and Restart share R");

  // R once: the match goes on and says how to restart; again within two seconds: it restarts.
  controls[6] = SDL_SCANCODE_Q;
  lockPiece(1);
  ASSERT_EQ(p1PieceCount, 1);
  pressKey(SDL_SCANCODE_R);
  EXPECT_EQ(p1PieceCount, 1);
  EXPECT_EQ(playNotice, "Press R again to restart");
  for (int i = 0; i < 130; ++i) frame(0, 0); // 2.08 s: the first press has lapsed
  pressKey(SDL_SCANCODE_R);
  EXPECT_EQ(p1PieceCount, 1);
  pressKey(SDL_SCANCODE_R);
  EXPECT_EQ(p1PieceCount, 0);
  pressKey(SDL_SCANCODE_BACKSPACE);
  EXPECT_EQ(gameMode, 2);
  EXPECT_EQ(playNotice, "Press Backspace again to leave");
  pressKey(SDL_SCANCODE_BACKSPACE);
  EXPECT_EQ(gameMode, 0);
  // Solo games restart at once, as they always did.
  startGameOfMode(1);
  lockPiece(1);
  pressKey(SDL_SCANCODE_R);
  EXPECT_EQ(p1PieceCount, 0);
}

TEST_F(Controls, AWallReachedByAHeldKeyIsOneInputAndAWalkIsAFault) {
  startGameOfMode(1);
  playFrame({{SDL_SCANCODE_RIGHT, true}});
  for (int i = 0; i < 60; ++i) playFrame({});
  playFrame({{SDL_SCANCODE_RIGHT, false}, {SDL_SCANCODE_RSHIFT, true}});
  playFrame({{SDL_SCANCODE_RSHIFT, false}});
  EXPECT_EQ(p1Board[9][19], 1);
  EXPECT_EQ(finesseCounts[0].faults, 0);
  auto tapRightThenDrop = [](int taps) {
    for (int i = 0; i < taps; ++i) {
      pressKey(SDL_SCANCODE_RIGHT);
      playFrame({});
    }
    pressKey(SDL_SCANCODE_RSHIFT);
  };
  tapRightThenDrop(6);
  EXPECT_EQ(p1Board[9][18], 1);
  EXPECT_EQ(finesseCounts[0].faults, 1);
  EXPECT_EQ(finesseCounts[0].placements, 2);
  EXPECT_DOUBLE_EQ(keysPerPiece(finesseCounts[0]), 4.5); // (1 + 1 + 6 + 1) / 2
  // One input more than the fewest is already a fault: four taps where the wall and two back
  // take three.
  tapRightThenDrop(4);
  EXPECT_EQ(finesseCounts[0].placements, 3);
  EXPECT_EQ(finesseCounts[0].faults, 2);
}

TEST_F(Controls, TheHandlingScreenShowsUnitsAndItsPresetsAreKept) {
  currentScreen = settingsScreen;
  for (const Button& button : screenButtons[settingsScreen])
    if (button.text == "Handling") clickOn(button);
  ASSERT_EQ(currentScreen, handlingScreen);
  const std::vector<Slider>& sliders = screenSliders[handlingScreen];
  EXPECT_EQ(sliders[0].shownValue, "167 ms");
  EXPECT_EQ(sliders[1].shownValue, "33 ms");
  EXPECT_EQ(sliders[2].shownValue, "20\u00d7");
  clickOn(screenButtons[handlingScreen][7]); // player 1's "Fast"
  EXPECT_EQ(p1Handling.kind, customHandling);
  EXPECT_EQ(p1Handling.arrMs, 0);
  EXPECT_EQ(sliders[4].shownValue, "100 ms");
  EXPECT_EQ(p2Handling.kind, classicHandling);
  std::string text = readFile(preferencesPath);
  EXPECT_NE(text.find("p1_handling = custom\np1_das_ms = 100\np1_arr_ms = 0\n"), std::string::npos)
      << text;
  EXPECT_EQ(handlingValueText(2, 0), "instant");
  // Player 2's DAS Cut at its least: the knob inside its track, which lines up with DAS's.
  ASSERT_EQ(sliders[3].value, 0.0);
  EXPECT_GE(sliders[3].knob.x - sliders[3].knobSize * 0.5, sliderTrack(sliders[3]).x);
  EXPECT_EQ(sliderTrack(sliders[3]).x, sliderTrack(sliders[0]).x);
}

} // namespace
