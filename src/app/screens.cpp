// What each menu screen does with its buttons and sliders, and the demo games behind them.
#include "app/screens.h"
#include "ai/ai.h"
#include "app/input.h"
#include "app/play.h"
#include "app/settings.h"
#include "app/widgets.h"
#include "game/game.h"

namespace {

// Main menu button numbers.
enum {
  soloButton,
  versusButton,
  botButton,
  trainingButton,
  settingsButton,
  modesButton,
  onlineButton
};
// Training set-up.
enum { runSimButton, trainingBackButton };
enum { populationSlider, learningRateSlider, movesSlider, layersSlider, neuronsSlider };
// Difficulty screen: 0..6 search levels, 7 the network, 8 back.
constexpr int networkLevelButton = 7;
constexpr int difficultyBackButton = 8;
// Settings screen: 0..13 controls, then these.
enum { settingsBackButton = controlCount, resetButton, moreSettingsButton, gamepadButton };
enum { p2SensitivitySlider, p1SensitivitySlider };

constexpr double resetSensitivity = 0.14; // what "Reset" shows on both sliders

struct Level {
  double stepInterval;
  bool stepwise;
};
// The search levels, easiest first; the network level is handled on its own.
constexpr Level levels[7] = {{50, true}, {45, true}, {40, true}, {35, true},
                             {30, true}, {25, true}, {0, false}};

bool hovered(int screen, int button) {
  return screenButtons[screen][button].hovered;
}

void emptyBoards() {
  for (Board* board : {&p1Board, &p2Board})
    for (auto& column : *board) column.fill(0);
}

void startMode(int32_t mode) {
  startGameOfMode(mode);
}

// The game behind the main menu previews the hovered choice.
void runMainMenuDemo() {
  for (int i = soloButton; i <= trainingButton; ++i)
    if (hovered(mainMenuScreen, i) && i != lastHoveredChoice) {
      emptyBoards();
      lastHoveredChoice = i;
    }
  switch (lastHoveredChoice) {
  case soloButton:
  case versusButton:
    botStepInterval = 20;
    botStepwise = true;
    botTurn(1);
    if (lastHoveredChoice == versusButton) botTurn(2);
    break;
  case botButton:
    botStepInterval = 20;
    botStepwise = true;
    botTurn(1);
    botStepInterval = 5;
    botStepwise = false;
    botTurn(2);
    break;
  case trainingButton:
    botStepInterval = 0;
    botStepwise = false;
    botTurn(1);
    break;
  default:
    break;
  }
}

void resetSettings() {
  std::vector<Slider>& sliders = screenSliders[settingsScreen];
  // Only the values change: the knobs stay until they are dragged again.
  sliders[p2SensitivitySlider].value = resetSensitivity;
  sliders[p1SensitivitySlider].value = resetSensitivity;
  // Kept now: a Return on "Reset" has no release to wait for, as a click has.
  p1Sensitivity = p2Sensitivity = resetSensitivity;
  writeSensitivities();
  controls.assign(defaultControls, defaultControls + controlCount);
  // Labels come back from the file just written; if it could not be written they must still
  // show the bindings now in force.
  if (writeControls())
    readControls(false);
  else
    labelControlButtons(controls);
}

} // namespace

void runMainMenuScreen() {
  if (!mouseClicked) {
    runMainMenuDemo();
    return;
  }
  if (hovered(mainMenuScreen, soloButton))
    startMode(soloPlayMode);
  else if (hovered(mainMenuScreen, versusButton))
    startMode(playerVersusMode);
  else if (hovered(mainMenuScreen, botButton))
    currentScreen = difficultyScreen;
  else if (hovered(mainMenuScreen, trainingButton))
    currentScreen = trainingScreen;
  else if (hovered(mainMenuScreen, settingsButton))
    currentScreen = settingsScreen;
  else if (hovered(mainMenuScreen, modesButton))
    currentScreen = modesScreen;
  else if (hovered(mainMenuScreen, onlineButton))
    currentScreen = onlineScreen;
}

void runTrainingSetupScreen() {
  const std::vector<Slider>& sliders = screenSliders[trainingScreen];
  populationSize = static_cast<int32_t>(sliders[populationSlider].value);
  learningRate = sliders[learningRateSlider].value;
  movesPerSubject = static_cast<int32_t>(sliders[movesSlider].value);
  hiddenLayerCount = static_cast<int32_t>(sliders[layersSlider].value);
  hiddenLayerNeurons = static_cast<int32_t>(sliders[neuronsSlider].value);
  if (!mouseClicked) return;
  if (hovered(trainingScreen, runSimButton)) {
    startTrainingRun();
    gameMode = trainingMode;
  } else if (hovered(trainingScreen, trainingBackButton)) {
    currentScreen = mainMenuScreen;
  }
}

void runDifficultyScreen() {
  if (mouseClicked) {
    for (int i = 0; i < networkLevelButton; ++i)
      if (hovered(difficultyScreen, i)) {
        botStepInterval = levels[i].stepInterval;
        botStepwise = levels[i].stepwise;
        botUsesNetwork = false;
        botLevelName = screenButtons[difficultyScreen][i].text;
        startMode(versusBotMode);
      }
    if (hovered(difficultyScreen, networkLevelButton)) {
      botUsesNetwork = true;
      botStepwise = true;
      botStepInterval = 30;
      botLevelName = screenButtons[difficultyScreen][networkLevelButton].text;
      startMode(versusBotMode);
    } else if (hovered(difficultyScreen, difficultyBackButton)) {
      currentScreen = mainMenuScreen;
    } else if (hovered(difficultyScreen, networkListButton)) {
      openNetworksScreen();
    }
    return;
  }
  // Preview of the hovered level on player 1's board. It leaves botUsesNetwork alone: only a
  // click hands a game to the network.
  for (int i = 0; i <= networkLevelButton; ++i)
    if (hovered(difficultyScreen, i)) lastHoveredChoice = i;
  if (lastHoveredChoice >= 0 && lastHoveredChoice <= networkLevelButton) {
    botStepInterval = 40 - 5 * lastHoveredChoice;
    botStepwise = true;
    botTurn(1);
  }
}

void runSettingsScreen() {
  std::vector<Slider>& sliders = screenSliders[settingsScreen];
  p2Sensitivity = sliders[p2SensitivitySlider].value;
  p1Sensitivity = sliders[p1SensitivitySlider].value;
  // Written at the end of every drag (and any release on this screen).
  if (mouseReleased) writeSensitivities();
  if (mouseClicked) {
    awaitingKeyBinding = false;
    for (int i = 0; i < controlCount; ++i)
      if (hovered(settingsScreen, i)) {
        awaitingKeyBinding = true;
        bindingIndex = i;
      }
    if (hovered(settingsScreen, settingsBackButton))
      currentScreen = mainMenuScreen;
    else if (hovered(settingsScreen, resetButton))
      resetSettings();
    else if (hovered(settingsScreen, moreSettingsButton))
      currentScreen = piecesScreen;
    else if (hovered(settingsScreen, gamepadButton))
      currentScreen = gamepadScreen;
  }
  for (int i = 0; i < controlCount; ++i) {
    screenButtons[settingsScreen][i].valueText = bindingLabel(i); // "Press a key" while waiting
    screenButtons[settingsScreen][i].warning = bindingClashes(i);
  }
  // The control waiting for its key stays lit while the pointer wanders.
  if (awaitingKeyBinding && bindingIndex >= 0 && bindingIndex < controlCount)
    screenButtons[settingsScreen][bindingIndex].hovered = true;
}

void runPieceSelectionScreen() {
  if (!mouseClicked) return;
  int32_t count = static_cast<int32_t>(loadedPieces.size());
  if (hovered(piecesScreen, count)) {
    setUpGame(); // the catalogue follows the new selection
    currentScreen = settingsScreen;
  } else if (hovered(piecesScreen, count + 1)) {
    resetPieceSelection();
  } else if (hovered(piecesScreen, count + 2)) {
    selectAllPieces();
  } else {
    for (int32_t k = 0; k < count; ++k)
      if (hovered(piecesScreen, k)) togglePieceSelected(k);
  }
}
