// Buttons and sliders: construction, pointer tracking, and the content of every menu screen.
#include "app/widgets.h"
#include "app/input.h"
#include "app/screens.h"
#include "game/game.h"

#include <cmath>

Button makeButton(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text,
                  int32_t textSize) {
  Button button;
  button.position = {x, y};
  button.size = {width, height};
  // An empty caption would draw nothing at all; a placeholder shows the button exists.
  button.text = text.empty() ? "TEXT" : text;
  button.textSize = textSize;
  return button;
}

Slider makeSlider(SliderPoint position, int32_t trackWidth, double minValue, double maxValue,
                  const std::string& label, double value, bool isInteger) {
  Slider slider;
  slider.position = position;
  slider.trackWidth = trackWidth;
  slider.minValue = minValue;
  slider.maxValue = maxValue;
  slider.label = label;
  slider.value = value;
  slider.isInteger = isInteger;
  double trackLeft = position.x - trackWidth * 0.5;
  slider.knob = {(value - minValue) / (maxValue - minValue) * trackWidth + trackLeft, position.y};
  return slider;
}

void checkHover(Button& button) {
  // While keys or a pad drive the menus, the focus is the pointer.
  Button* focused = focusedButton();
  // Strict on every side: the border pixels belong to no button.
  button.hovered = focusVisible ? &button == focused
                                : mousePosition.x > button.position.x &&
                                      mousePosition.x < button.position.x + button.size.x &&
                                      mousePosition.y > button.position.y &&
                                      mousePosition.y < button.position.y + button.size.y;
  if (mouseClicked && button.hovered) playSound(SoundEffect::clickButton, 0);
}

void update(Slider& slider) {
  Slider* focused = focusedSlider();
  if (focusVisible) { // the keys step it (focus.cpp); the resting pointer does nothing
    slider.hovered = &slider == focused;
    slider.dragging = false;
    return;
  }
  double h = slider.knobSize * 0.5;
  double mx = mousePosition.x, my = mousePosition.y;
  if (slider.knob.x - h < mx && mx < slider.knob.x + h && slider.knob.y - h < my &&
      my < slider.knob.y + h)
    slider.hovered = true;
  double ox = mx + 2, oy = my + 2;
  if (ox < slider.knob.x - h || ox > slider.knob.x + h || oy < slider.knob.y - h ||
      oy > slider.knob.y + h)
    slider.hovered = false;
  if (!slider.hovered && !slider.dragging) return;
  if (!mouseHeld) slider.dragging = false;
  // A drag starts only with a click on the knob, then follows the pointer until release.
  if (mouseClicked)
    slider.dragging = true;
  else if (!slider.dragging)
    return;
  double trackLeft = slider.position.x - slider.trackWidth * 0.5;
  double trackRight = slider.position.x + slider.trackWidth * 0.5;
  slider.knob.x = mx < trackLeft ? trackLeft : (mx > trackRight ? trackRight : mx);
  slider.value =
      (slider.knob.x - trackLeft) / slider.trackWidth * (slider.maxValue - slider.minValue) +
      slider.minValue;
  if (slider.isInteger) slider.value = static_cast<double>(static_cast<int64_t>(slider.value));
}

std::vector<Button> playerControlButtons() {
  // TRANSLATORS: a player's control, its key's name follows after the spaces.
  const char* const captions[2][7] = {
      {trLater("P2 | Right:   "), trLater("P2 | Left:   "), trLater("P2 | Rotate CW:   "),
       trLater("P2 | Rotate CCW:   "), trLater("P2 | Soft Drop:   "), trLater("P2 | Hard Drop:   "),
       trLater("P2 | Hold:   ")},
      {trLater("P1 | Right:   "), trLater("P1 | Left:   "), trLater("P1 | Rotate CW:   "),
       trLater("P1 | Rotate CCW:   "), trLater("P1 | Soft Drop:   "), trLater("P1 | Hard Drop:   "),
       trLater("P1 | Hold:   ")}};
  std::vector<Button> buttons;
  // Player 2's column on the left, player 1's on the right: the order of the bindings.
  for (int player : {2, 1})
    for (int i = 0; i < 7; ++i)
      buttons.push_back(
          makeButton(player == 2 ? 100 : 900, 100 + 100 * i, 500, 75, captions[2 - player][i], 1));
  return buttons;
}

namespace {

std::vector<Button> mainMenuButtons() {
  // TRANSLATORS: the main menu; "Modes" and "Online" are small buttons, 180 pixels wide.
  return {makeButton(100, 200, 350, 100, "Solo Play", 2),
          makeButton(100, 350, 350, 100, "Player Versus", 2),
          makeButton(100, 500, 350, 100, "Versus Bot", 2),
          makeButton(100, 650, 350, 100, "Training AI", 2),
          makeButton(150, 800, 250, 50, "Settings", 1),
          makeButton(60, 880, 180, 50, "Modes", 1),
          makeButton(260, 880, 180, 50, "Online", 1)};
}

std::vector<Slider> trainingSliders() {
  return {
      makeSlider({650, 200}, 700, 1, 30, trLater("Population"), 20, true),
      makeSlider({650, 350}, 700, 0.001, 0.1, trLater("Learning Rate"), 0.01, false),
      makeSlider({650, 500}, 700, 1, 1000, trLater("Number of Moves"), 100, true),
      makeSlider({650, 650}, 700, 0, 5, trLater("Number of Hidden Layers"), 2, true),
      makeSlider({650, 800}, 700, 1, 256, trLater("Number of Neurons in Hidden Layers"), 64, true)};
}

std::vector<Button> difficultyButtons() {
  // TRANSLATORS: the bot's levels, from the easiest; playful names.
  const char* left[] = {trLater("Easy Peasy"), trLater("Easy"), trLater("Sorta Mid"),
                        trLater("Mid")};
  const char* right[] = {trLater("Mid to Hard"), trLater("Kinda Hard"), trLater("Impossible"),
                         trLater("Neural Network")};
  std::vector<Button> buttons;
  for (int i = 0; i < 4; ++i)
    buttons.push_back(makeButton(600, 200 + 150 * i, 400, 100, left[i], 1));
  for (int i = 0; i < 4; ++i)
    buttons.push_back(makeButton(1050, 200 + 150 * i, 400, 100, right[i], 1));
  // TRANSLATORS: "Back" is on almost every screen, on a button 150 pixels wide.
  buttons.push_back(makeButton(900, 800, 250, 50, "Back", 1));
  buttons.push_back(makeButton(1200, 800, 200, 50, "Network", 1)); // networkListButton
  return buttons;
}

std::vector<Button> settingsButtons() {
  std::vector<Button> buttons = playerControlButtons();
  buttons.push_back(makeButton(675, 850, 150, 50, "Back", 1));
  buttons.push_back(makeButton(625, 400, 250, 100, "Reset", 1));
  buttons.push_back(makeButton(650, 50, 200, 50, "More Settings", 1));
  buttons.push_back(makeButton(625, 560, 250, 50, "Gamepad", 1));
  return buttons;
}

std::vector<Button> pieceSelectionButtons() {
  std::vector<Button> buttons;
  int32_t count = static_cast<int32_t>(loadedPieces.size());
  for (int32_t k = 0; k < count; ++k)
    // A blank caption (no message of its own): the tile under it says what it is.
    buttons.push_back(
        makeButton((k % 10) * 150 + 50, (k / 10) * 250 + 200, 50, 50, std::string(" "), 1));
  buttons.push_back(makeButton(675, 850, 150, 50, "Back", 1));
  buttons.push_back(makeButton(400, 850, 200, 50, "Reset Pieces", 1));
  buttons.push_back(makeButton(950, 850, 200, 50, "Select All", 1));
  return buttons;
}

} // namespace

void buildMenus() {
  screenButtons.clear();
  screenSliders.clear();
  screenButtons.push_back(mainMenuButtons());
  screenSliders.push_back({});
  screenButtons.push_back(
      {makeButton(1100, 400, 300, 100, "Run Sim", 1), makeButton(1175, 550, 150, 50, "Back", 1)});
  screenSliders.push_back(trainingSliders());
  screenButtons.push_back(difficultyButtons());
  screenSliders.push_back({});
  screenButtons.push_back(settingsButtons());
  backButton = makeButton(1300, 900, 150, 50, "Back", 1);
  visualizationButton = makeButton(1000, 875, 250, 100, "Toggle Visualization", 1);
  screenSliders.push_back({makeSlider({350, 850}, 500, minSensitivity, maxSensitivity,
                                      trLater("Player 2 Sensitivity"), p2Sensitivity, false),
                           makeSlider({1150, 850}, 500, minSensitivity, maxSensitivity,
                                      trLater("Player 1 Sensitivity"), p1Sensitivity, false)});
  screenButtons.push_back(pieceSelectionButtons());
  screenSliders.push_back({});
  // The newer screens fill their own lists.
  screenButtons.resize(screenCount);
  screenSliders.resize(screenCount);
  screenButtons[gamepadScreen] = gamepadButtons();
  buildAudioDisplayScreen();
  screenButtons[modesScreen] = modesButtons();
  screenButtons[onlineScreen] = onlineScreenButtons();
  buildHandlingScreen();
  buildLanguageScreen();
  rematchButton = makeButton(600, 850, 300, 80, "Rematch", 2);
  layOutMenus();
}

void setSliderValue(Slider& slider, double value) {
  double range = slider.maxValue - slider.minValue;
  if (!(range > 0.0)) return;
  value = value < slider.minValue ? slider.minValue
                                  : (value > slider.maxValue ? slider.maxValue : value);
  if (slider.isInteger) value = std::trunc(value);
  slider.value = value;
  double trackLeft = slider.position.x - slider.trackWidth * 0.5;
  slider.knob.x = (value - slider.minValue) / range * slider.trackWidth + trackLeft;
}

void openDoor(const char* caption, int32_t screen) {
  if (!mouseClicked) return;
  for (const Button& button : screenButtons[settingsScreen])
    if (button.hovered && button.text == caption) {
      awaitingKeyBinding = false; // a control waiting for its key waits no more
      currentScreen = screen;
    }
}
