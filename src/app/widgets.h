// Widgets and the menus made of them: buttons and sliders as records, the functions that make
// and update them, and every screen's list of them. State lives in state.h.
#pragma once

#include "app/state.h"

#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Widgets
// ---------------------------------------------------------------------------------------------

Button makeButton(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text,
                  int32_t textSize);
Slider makeSlider(SliderPoint position, int32_t trackWidth, double minValue, double maxValue,
                  const std::string& label, double value, bool isInteger);
void checkHover(Button& button);                    // hover test; click sound when clicked on it
void update(Slider& slider);                        // hover, drag and value of one slider
void setSliderValue(Slider& slider, double value);  // value, clamped, and the knob to match
void openDoor(const char* caption, int32_t screen); // a click on that settings button opens it

// ---------------------------------------------------------------------------------------------
// Menus: every screen's buttons and sliders
// ---------------------------------------------------------------------------------------------

void buildMenus();                          // every screen's buttons and sliders
std::vector<Button> playerControlButtons(); // seven per player: player 2's column, player 1's
std::vector<Button> gamepadButtons();       // screen 5's buttons
std::vector<Button> modesButtons();         // Sprint, Ultra, Replays, Back
std::vector<Button> onlineScreenButtons();  // Host, Join, Back and the two fields
void buildAudioDisplayScreen();             // its widgets, and its button on the settings screen
void buildHandlingScreen();                 // its widgets, and its door on the settings screen
constexpr int networkListButton = 9;        // "Network" on the difficulty screen
