// The frame update: menus or the current play mode, then the effects that move in every mode.
#include "ai/ai.h"
#include "app/play.h"
#include "app/records.h"
#include "app/screens.h"
#include "app/settings.h"
#include "app/widgets.h"
#include "game/game.h"

namespace {

// Every click re-seeds, so the piece sequence and the bots depend on where people click.
void reseedOnClick() {
  if (!mouseClicked) return;
  uint32_t extra = static_cast<uint32_t>(randomDraw() % 1000);
  seedRandom(static_cast<uint32_t>(mousePosition.x + mousePosition.y) + extra);
}

void driftBackdrop() {
  for (MenuPiece& piece : menuPieces) {
    piece.x += frameDelta * piece.blockWidth / 20.0;
    if (piece.x <= windowWidth) continue;
    // Off the right edge: come back from the left as a new piece at a new height.
    int32_t index = randomDraw();
    if (!pieceCatalogue.empty())
      piece.pieceIndex = index % static_cast<int32_t>(pieceCatalogue.size());
    piece.rotation = randomDraw() % 4;
    piece.x = -piece.blockWidth * 4.0;
    piece.y = randomDraw() % 1050 - 50;
  }
}

void runCurrentScreen() {
  switch (currentScreen) {
  case mainMenuScreen:
    runMainMenuScreen();
    openLanguageScreen();
    break;
  case trainingScreen:
    runTrainingSetupScreen();
    break;
  case difficultyScreen:
    runDifficultyScreen();
    break;
  case settingsScreen:
    runSettingsScreen();
    runSettingsExtras();
    openHandlingScreen();
    break;
  case piecesScreen:
    runPieceSelectionScreen();
    if (mouseClicked) rememberPieceSelection();
    break;
  case audioDisplayScreen:
    runAudioDisplayScreen();
    break;
  case gamepadScreen:
    runGamepadScreen();
    break;
  case modesScreen:
    runModesScreen();
    break;
  case replaysScreen:
    runReplaysScreen();
    break;
  case onlineScreen:
    runOnlineScreen();
    break;
  case networksScreen:
    runNetworksScreen();
    break;
  case handlingScreen:
    runHandlingScreen();
    break;
  case languageScreen:
    runLanguageScreen();
    break;
  default:
    break;
  }
}

void updateMenus() {
  // The demo games behind the menus top out now and then; they simply start again.
  if (p1GameOver) {
    resetBoards(1);
    p1GameOver = false;
  }
  if (p2GameOver) {
    resetBoards(2);
    p2GameOver = false;
  }
  driftBackdrop();
  if (currentScreen < 0 || currentScreen >= static_cast<int32_t>(screenButtons.size())) return;
  for (Button& button : screenButtons[currentScreen]) checkHover(button);
  for (Slider& slider : screenSliders[currentScreen]) update(slider);
  if (mouseClicked) menuNotice.clear(); // read: the next click goes on
  runCurrentScreen();
}

// Only the marathon keeps the solo high score; sprint and ultra games have their own bests.
void saveNewHighscore() {
  if (gameMode != soloPlayMode || soloVariant != marathonVariant || !matchOver) return;
  if (score > highscore) {
    newHighscore = true; // the banner says so until the next game
    highscore = score;
    writeHighscore();
  }
}

void stepTraining() {
  trainingStep();
  checkHover(visualizationButton);
  if (mouseClicked && visualizationButton.hovered) showFitnessGraph = !showFitnessGraph;
}

} // namespace

void updateFrame() {
  // A replay's own inputs drive the game: no click may re-seed its stream.
  if (replayPlaying) {
    updateReplayPlayback();
    return;
  }
  reseedOnClick();
  updateOnline();
  if (gameMode != menuMode) {
    checkHover(backButton);
    if (mouseClicked && backButton.hovered) leavePlay();
  } else {
    updateMenus();
  }
  // A paused game is frozen whole: no timer, bot, garbage or particle moves.
  if (updatePause()) {
    if (isPlayMode(gameMode)) recordReplayFrame(false);
    return;
  }
  if (holdForCountdown()) {
    recordReplayFrame(false);
    advanceEffects();
    return;
  }
  if (gameMode == trainingMode) stepTraining();
  if (gameMode == onlineVersusMode) stepOnlineGame();
  if (isPlayMode(gameMode)) {
    recordReplayFrame(true);
    advanceBotPlay();
    warnRisingGarbage();
    noteSprintSplits();
    trackFinesse();
    saveNewHighscore();
    finishPlayedGame();
  }
  advanceEffects();
}
