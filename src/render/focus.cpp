// The widgets the menu focus moves between, in the order the screen lists them: the shell moves
// the focus over them, drawing rings the one it rests on.
#include "render/render.h"

namespace {

SDL_Rect buttonArea(const Button& button) {
  return {button.position.x, button.position.y, button.size.x, button.size.y};
}

} // namespace

bool validScreen() {
  return currentScreen >= 0 && currentScreen < static_cast<int32_t>(screenButtons.size()) &&
         currentScreen < static_cast<int32_t>(screenSliders.size());
}

// A paused game is a small menu of its own: "Resume", "Quit to menu" and "Back".
bool pausedGame() {
  return gamePaused && gameMode != menuMode;
}

int32_t currentFocusContext() {
  return gameMode == menuMode ? currentScreen : (pausedGame() ? 200 : 100) + gameMode;
}

int32_t focusItemCount() {
  if (pausedGame()) return 3;
  if (gameMode == trainingMode) return 2;
  if (gameMode != menuMode) return 1;
  if (!validScreen()) return 0;
  return static_cast<int32_t>(screenButtons[currentScreen].size() +
                              screenSliders[currentScreen].size());
}

FocusItem focusItem(int32_t index) {
  if (pausedGame()) {
    Button* button = index == 0 ? &resumeButton : (index == 1 ? &quitToMenuButton : &backButton);
    return {buttonArea(*button), button, nullptr};
  }
  if (gameMode != menuMode) {
    Button* button = gameMode == trainingMode && index == 0 ? &visualizationButton : &backButton;
    return {buttonArea(*button), button, nullptr};
  }
  if (!validScreen() || index < 0 || index >= focusItemCount())
    return {{0, 0, 0, 0}, nullptr, nullptr};
  std::vector<Button>& buttons = screenButtons[currentScreen];
  if (index < static_cast<int32_t>(buttons.size()))
    return {buttonArea(buttons[index]), &buttons[index], nullptr};
  Slider& slider = screenSliders[currentScreen][index - buttons.size()];
  return {sliderTrack(slider), nullptr, &slider};
}
