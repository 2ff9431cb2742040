// Sprint and Ultra: starting any mode afresh (menus, restart, the command line) and the
// screen that picks one.
#include "app/app.h"
#include "game/game.h"

namespace {

enum { sprintButton, ultraButton, replaysButton, modesBackButton };

} // namespace

void startGameOfMode(int32_t mode, int32_t variant) {
  gameMode = mode;
  // Only solo play has variants; versus and bot games are always whole matches.
  soloVariant = mode == 1 ? variant : marathonVariant;
  gamePaused = false;
  newHighscore = false;
  lastGameShown = false;
  pendingKey = PendingKey::none;
  setUpGame();
  startFinesse();
}

bool startNamedMode(const std::string& name) {
  if (name == "solo")
    startGameOfMode(1, marathonVariant);
  else if (name == "sprint")
    startGameOfMode(1, sprintVariant);
  else if (name == "ultra")
    startGameOfMode(1, ultraVariant);
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
    startGameOfMode(1, sprintVariant);
  } else if (buttons[ultraButton].hovered) {
    startGameOfMode(1, ultraVariant);
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
