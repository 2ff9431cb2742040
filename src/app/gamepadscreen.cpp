// The Gamepad screen, reached from the settings: each player's pad buttons, rebound the way the
// keys are, "Swap pads" and "Reset".
#include "app/input.h"
#include "app/screens.h"
#include "app/widgets.h"

namespace {

// After the fourteen controls (player 2's seven, then player 1's, as on the settings screen).
enum { padBackButton = 2 * padActionCount, padResetButton, swapPadsButton };

int playerOfControl(int index) {
  return index < padActionCount ? 2 : 1;
}

} // namespace

std::vector<Button> gamepadButtons() {
  std::vector<Button> buttons = playerControlButtons(); // laid out as the keys
  buttons.push_back(makeButton(675, 850, 150, 50, "Back", 1));
  buttons.push_back(makeButton(625, 400, 250, 100, "Reset", 1));
  buttons.push_back(makeButton(625, 560, 250, 50, "Swap pads", 1));
  return buttons;
}

void runGamepadScreen() {
  std::vector<Button>& buttons = screenButtons[gamepadScreen];
  if (mouseClicked) {
    awaitingPadBinding = false; // a click anywhere else cancels a pending binding
    for (int i = 0; i < 2 * padActionCount; ++i)
      if (buttons[i].hovered) {
        awaitingPadBinding = true;
        padBindingIndex = i;
      }
    if (buttons[padBackButton].hovered)
      currentScreen = settingsScreen;
    else if (buttons[padResetButton].hovered)
      resetPadButtons();
    else if (buttons[swapPadsButton].hovered)
      swapPads();
  }
  for (int i = 0; i < 2 * padActionCount; ++i) {
    int player = playerOfControl(i), action = i % padActionCount;
    bool waiting = awaitingPadBinding && padBindingIndex == i;
    buttons[i].valueText =
        waiting ? tr("Press a button") : padButtonName(padButtons(player)[action]);
    buttons[i].warning = padButtonClashes(player, action);
    if (waiting) buttons[i].hovered = true; // stays lit while the pointer wanders
  }
}
