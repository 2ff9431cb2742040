// The frame update: menus or the current play mode, then the effects that move in every mode.
#include "ai/ai.h"
#include "app/app.h"
#include "game/game.h"

#include <cmath>

namespace {

constexpr double fastestGravity = 5.0; // gravityInterval never falls below this

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
  case 0:
    runMainMenuScreen();
    break;
  case 1:
    runTrainingSetupScreen();
    break;
  case 2:
    runDifficultyScreen();
    break;
  case 3:
    runSettingsScreen();
    break;
  case 4:
    runPieceSelectionScreen();
    break;
  case networksScreen:
    runNetworksScreen();
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
  runCurrentScreen();
}

// A match ends when one player has topped out three times; that board stays as it fell.
void countTopOuts() {
  if (p1GameOver) {
    ++p1Losses;
    p1GameOver = false;
    if (p1Losses < 3) resetBoards(1);
  }
  if (p2GameOver) {
    ++p2Losses;
    p2GameOver = false;
    if (p2Losses < 3) resetBoards(2);
  }
  if (p1Losses >= 3 || p2Losses >= 3) matchOver = true;
}

void tickDamageTimers() {
  for (DamageRecord& record : p1IncomingDamage) record.timer -= frameDelta;
  for (DamageRecord& record : p2IncomingDamage) record.timer -= frameDelta;
}

void limitGravity() {
  if (gravityInterval <= fastestGravity) gravityInterval = fastestGravity;
}

void stepSolo() {
  if (p1GameOver) {
    matchOver = true;
    if (score > highscore) {
      highscore = score;
      writeHighscore();
    }
    return;
  }
  stepPlayer(1);
  gravityInterval -= frameDelta / 1000.0;
  limitGravity();
}

void stepPlayerVersus() {
  if (matchOver) return;
  stepPlayer(1);
  stepPlayer(2);
  tickDamageTimers();
  gravityInterval -= gravityInterval / 10.0 * (frameDelta / 1000.0);
  limitGravity();
  countTopOuts();
}

void stepVersusBot() {
  if (matchOver) return;
  stepPlayer(1);
  botTurn(2);
  countTopOuts();
  tickDamageTimers();
}

void stepTraining() {
  trainingStep();
  checkHover(visualizationButton);
  if (mouseClicked && visualizationButton.hovered) showFitnessGraph = !showFitnessGraph;
}

void moveParticles() {
  for (size_t i = 0; i < lineClearParticles.size();) {
    LineClearParticle& p = lineClearParticles[i];
    p.speed += p.acceleration;
    double dx = p.targetX - p.x, dy = p.targetY - p.y;
    double distance = std::sqrt(dx * dx + dy * dy);
    // A particle already on its target has no direction to fly in: it has arrived.
    if (distance == 0.0) {
      lineClearParticles.erase(lineClearParticles.begin() + i);
      continue;
    }
    p.x += dx / distance * p.speed * frameDelta;
    p.y += dy / distance * p.speed * frameDelta;
    if (p.size > p.targetSize)
      p.size -= frameDelta * 0.7;
    else
      p.size += frameDelta * 0.7;
    if (p.targetSize > p.size - frameDelta && p.size + frameDelta > p.targetSize)
      p.size = p.targetSize;
    bool passed = (p.targetX - p.x) * dx < 0 || (p.targetY - p.y) * dy < 0;
    if (passed)
      lineClearParticles.erase(lineClearParticles.begin() + i);
    else
      ++i;
  }
}

double fadedFlash(double flash) {
  flash -= 3 * frameDelta;
  return flash < 0.0 ? 0.0 : (flash > 255.0 ? 255.0 : flash);
}

} // namespace

void updateFrame() {
  reseedOnClick();
  if (gameMode != 0) {
    checkHover(backButton);
    // Leaving any play mode always lands on the main menu with fresh demo games.
    if (mouseClicked && backButton.hovered) {
      if (gameMode == 3) savePendingElite();
      currentScreen = 0;
      gameMode = 0;
      setUpGame();
    }
  } else {
    updateMenus();
  }
  bool pausable = gameMode == 1 || gameMode == 2 || gameMode == 4;
  if (pauseRequested && pausable) gamePaused = !gamePaused;
  pauseRequested = false;
  // A paused game is frozen whole: no timer, bot, garbage or particle moves.
  if (gamePaused && gameMode != 0) return;
  switch (gameMode) {
  case 1:
    stepSolo();
    break;
  case 2:
    stepPlayerVersus();
    break;
  case 3:
    stepTraining();
    break;
  case 4:
    stepVersusBot();
    break;
  default:
    break;
  }
  moveParticles();
  if (versusMode()) {
    p1DamageFlash = fadedFlash(p1DamageFlash);
    p2DamageFlash = fadedFlash(p2DamageFlash);
  }
}
