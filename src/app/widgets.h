// Widgets and the menus made of them: buttons and sliders as records, the functions that make
// and update them, and every screen's list of them. State lives in state.h.
#pragma once

#include "app/state.h"

#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Widgets
// ---------------------------------------------------------------------------------------------

// A button at (x, y) of that size; an empty caption shows "TEXT" so the button is seen.
Button makeButton(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text,
                  int32_t textSize);
// A slider centred at position, its knob placed at value.
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

// ---------------------------------------------------------------------------------------------
// Menu size (ui_scale): the menus' captions and buttons grow; play screens stay as they are
// ---------------------------------------------------------------------------------------------

// How much a button grows about its centre for ui_scale: one factor per axis.
struct Growth {
  double x = 1.0; // widths times this
  double y = 1.0; // heights times this
};
// How far each box may grow about its centre, at most scale on each axis: none leaves the
// window, comes over a keep-clear area or nearer another than 10 pixels (or than it was, when
// nearer). Growing neighbours share the room between them; a column or row grows alike.
std::vector<Growth> allowedGrowth(const std::vector<SDL_Rect>& growing,
                                  const std::vector<SDL_Rect>& keepClear, double scale);
SDL_Rect grownArea(const SDL_Rect& area, Growth growth); // about its centre, whole pixels
void layOutScreen(int32_t screen); // its buttons, just built, kept as built and grown for ui_scale
void layOutMenus();                // layOutScreen for every screen
void relayOutMenus();              // every screen regrown from its buttons as built
bool openMenuFonts(const char* fontFile); // at ui_scale's size; none at 100
void applyUiScale();                      // uiScaleStep changed: fonts and buttons follow
