// Sprint and Ultra: starting any mode afresh (menus, restart, the command line) and the
// screen that picks one.
#include "app/play.h"
#include "app/records.h"
#include "app/screens.h"
#include "app/widgets.h"
#include "game/game.h"

#include <algorithm>

namespace {

enum { sprintButton, ultraButton, replaysButton, modesBackButton };

} // namespace

void startGameOfMode(int32_t mode, int32_t variant) {
  gameMode = mode;
  // Only solo play has variants; versus and bot games are always whole matches.
  soloVariant = mode == soloPlayMode ? variant : marathonVariant;
  gamePaused = false;
  newHighscore = false;
  lastGameShown = false;
  // Races start on "Go", not while the window is still opening or the hands still on the mouse.
  countdownLeft = soloVariant == marathonVariant ? 0.0 : countdownLength;
  sprintSplits.clear();
  pendingKey = PendingKey::none;
  setUpGame();
  startFinesse();
}

bool holdForCountdown() {
  if (countdownLeft <= 0.0 || !isPlayMode(gameMode)) return false;
  countdownLeft = std::max(0.0, countdownLeft - frameDelta);
  return true;
}

void noteSprintSplits() {
  if (gameMode != soloPlayMode || soloVariant != sprintVariant) return;
  while (sprintSplits.size() < sprintLines / splitLines &&
         p1Lines >= splitLines * static_cast<int32_t>(sprintSplits.size() + 1))
    sprintSplits.push_back(gameClock / 100.0);
}

bool startNamedMode(const std::string& name) {
  if (name == "solo")
    startGameOfMode(soloPlayMode, marathonVariant);
  else if (name == "sprint")
    startGameOfMode(soloPlayMode, sprintVariant);
  else if (name == "ultra")
    startGameOfMode(soloPlayMode, ultraVariant);
  else
    return false;
  return true;
}

std::vector<Button> modesButtons() {
  return {makeButton(600, 250, 300, 100, "Sprint", 3), makeButton(600, 450, 300, 100, "Ultra", 3),
          makeButton(625, 650, 250, 50, "Replays", 1), makeButton(675, 850, 150, 50, "Back", 1)};
}

void runModesScreen() {
  if (!mouseClicked) return;
  const std::vector<Button>& buttons = screenButtons[modesScreen];
  if (buttons.size() <= modesBackButton) return;
  if (buttons[sprintButton].hovered) {
    startGameOfMode(soloPlayMode, sprintVariant);
  } else if (buttons[ultraButton].hovered) {
    startGameOfMode(soloPlayMode, ultraVariant);
  } else if (buttons[replaysButton].hovered) {
    replayPage = 0;
    listReplays();
    currentScreen = replaysScreen;
  } else if (buttons[modesBackButton].hovered) {
    currentScreen = mainMenuScreen;
  }
}

void applyLaunchOptions() {
  readBests();
  if (!launchOptions.replay.empty())
    openReplay(launchOptions.replay);
  else if (!launchOptions.play.empty())
    startNamedMode(launchOptions.play);
}
