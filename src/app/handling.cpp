// The "Handling" screen: each player's handling, classic (the sensitivity's repeat) or custom
// milliseconds, with a slider per figure and three presets. Player 2's column is on the left,
// as on the settings screen.
#include "app/screens.h"
#include "app/settings.h"
#include "app/widgets.h"

namespace {

enum { kindButton, classicPreset, relaxedPreset, fastPreset, buttonsPerPlayer };
enum { dasSlider, arrSlider, softDropSlider, dasCutSlider, slidersPerPlayer };
constexpr int handlingBackButton = 2 * buttonsPerPlayer;
const char* const doorCaption = "Handling"; // the settings screen's button

const char* const prefixes[2] = {"p2_", "p1_"};
const char* const fields[] = {"handling", "das_ms", "arr_ms", "soft_drop_factor", "das_cut_ms"};

int playerOfColumn(int column) {
  return column == 0 ? 2 : 1;
}

Handling& handlingOf(int column) {
  return playerOfColumn(column) == 1 ? p1Handling : p2Handling;
}

int32_t* figure(Handling& handling, int slider) {
  int32_t* figures[slidersPerPlayer] = {&handling.dasMs, &handling.arrMs, &handling.softDropFactor,
                                        &handling.dasCutMs};
  return figures[slider];
}

void showHandling(int column) {
  Handling& handling = handlingOf(column);
  Button& kind = screenButtons[handlingScreen][column * buttonsPerPlayer + kindButton];
  kind.valueText = handling.kind == customHandling ? tr("Custom") : tr("Classic");
  for (int i = 0; i < slidersPerPlayer; ++i) {
    Slider& slider = screenSliders[handlingScreen][column * slidersPerPlayer + i];
    setSliderValue(slider, *figure(handling, i));
    slider.shownValue = handlingValueText(i, *figure(handling, i));
  }
}

// Once no knob of the column is held: only the rows whose value moved, since a save rewrites
// the file.
void saveHandling(int column) {
  for (int i = 0; i < slidersPerPlayer; ++i)
    if (screenSliders[handlingScreen][column * slidersPerPlayer + i].dragging) return;
  Handling& now = handlingOf(column);
  Handling& saved = savedHandlings[column];
  int32_t old[] = {saved.kind, saved.dasMs, saved.arrMs, saved.softDropFactor, saved.dasCutMs};
  int32_t changed[] = {now.kind, now.dasMs, now.arrMs, now.softDropFactor, now.dasCutMs};
  for (int i = 0; i < 5; ++i)
    if (old[i] != changed[i]) savePreference((std::string(prefixes[column]) + fields[i]).c_str());
  saved = now;
}

} // namespace

std::string handlingValueText(int slider, int32_t value) {
  if (slider != softDropSlider) return trf("%d ms", value);
  return value == instantSoftDrop ? tr("instant") : std::to_string(value) + "\u00d7";
}

void buildHandlingScreen() {
  screenButtons[settingsScreen].push_back(makeButton(625, 200, 250, 50, doorCaption, 1));
  std::vector<Button>& buttons = screenButtons[handlingScreen];
  std::vector<Slider>& sliders = screenSliders[handlingScreen];
  buttons.clear();
  sliders.clear();
  // TRANSLATORS: DAS (delayed auto shift), ARR (auto repeat rate): players' own abbreviations.
  const char* const labels[slidersPerPlayer] = {trLater("DAS"), trLater("ARR"),
                                                trLater("Soft Drop"), trLater("DAS Cut")};
  const double maxima[slidersPerPlayer] = {500, 200, 40, 100};
  for (int column = 0; column < 2; ++column) {
    int32_t left = column == 0 ? 100 : 900;
    const char* player =
        playerOfColumn(column) == 1 ? trLater("Player 1: ") : trLater("Player 2: ");
    buttons.push_back(makeButton(left, 150, 500, 75, player, 1));
    buttons.push_back(makeButton(left, 260, 150, 60, "Classic", 1));
    buttons.push_back(makeButton(left + 175, 260, 150, 60, "Relaxed", 1));
    buttons.push_back(makeButton(left + 350, 260, 150, 60, "Fast", 1));
    // The knob travels inside the 500-pixel track, so at either end it stays within the
    // column of buttons above rather than standing out half its width.
    for (int i = 0; i < slidersPerPlayer; ++i) {
      Slider slider =
          makeSlider({left + 250.0, 430.0 + 120.0 * i}, 500, 0, maxima[i], labels[i], 0, true);
      slider.trackWidth -= slider.knobSize;
      slider.trackMargin = slider.knobSize / 2;
      sliders.push_back(slider); // showHandling places the knob on the narrower travel
    }
    showHandling(column);
    savedHandlings[column] = handlingOf(column);
  }
  buttons.push_back(makeButton(675, 900, 150, 50, "Back", 1));
}

void openHandlingScreen() {
  openDoor(doorCaption, handlingScreen);
}

void runHandlingScreen() {
  std::vector<Button>& buttons = screenButtons[handlingScreen];
  std::vector<Slider>& sliders = screenSliders[handlingScreen];
  for (int column = 0; column < 2; ++column) {
    Handling& handling = handlingOf(column);
    Handling before = handling;
    for (int i = 0; i < slidersPerPlayer; ++i)
      *figure(handling, i) = static_cast<int32_t>(sliders[column * slidersPerPlayer + i].value);
    auto pressed = [&](int button) {
      return mouseClicked && buttons[column * buttonsPerPlayer + button].hovered;
    };
    if (pressed(kindButton))
      handling.kind = handling.kind == customHandling ? classicHandling : customHandling;
    if (pressed(classicPreset)) handling.kind = classicHandling;
    // A figure moved by hand means the player wants it used.
    if (handling.dasMs != before.dasMs || handling.arrMs != before.arrMs ||
        handling.softDropFactor != before.softDropFactor || handling.dasCutMs != before.dasCutMs)
      handling.kind = customHandling;
    if (pressed(relaxedPreset)) handling = {customHandling, 200, 50, handling.softDropFactor, 0};
    if (pressed(fastPreset)) handling = {customHandling, 100, 0, handling.softDropFactor, 0};
    showHandling(column);
    saveHandling(column);
  }
  if (mouseClicked && buttons[handlingBackButton].hovered) currentScreen = settingsScreen;
}
