// Input: the keyboard and its bindings, the gamepads, and the menu focus that keys and pads
// move. State lives in state.h.
#pragma once

#include "app/state.h"
#include "render/render.h"

#include <string>

// ---------------------------------------------------------------------------------------------
// Input
// ---------------------------------------------------------------------------------------------

void handleEvents();                          // mouse, events, key capture, action flags
Point logicalPoint(int windowX, int windowY); // window pixels to the 1500 x 1000 drawing
void computeActionFlags(const uint8_t* keys); // the 14 flags from a keyboard state array
void captureKey(const uint8_t* keys);         // store the pressed key for bindingIndex
std::string keyDisplayName(int32_t scancode); // text shown on a control button
// Any entry of controls: its key's name, or "Press a key" while it waits for one; and whether
// another entry holds the same key.
std::string bindingLabel(int32_t index);
// Every binding (both players' keys, pause, restart, mute, both pads' buttons) against all the
// others: entry index of controls (or pauseKeyIndex, restartKeyIndex), a pad's action, and the
// first clash as one line ("P2 Hold and Restart share R"; "" when none).
bool bindingClashes(int32_t index);
bool padButtonClashes(int player, int action);
std::string firstBindingClash();
// Auto-repeat shared by the keys, the pads and the menus: true on the first held frame, then
// each time the held frames add up to one whole step.
bool autoRepeat(bool down, bool& wasDown, double& accumulator, double sensitivity);

// ---------------------------------------------------------------------------------------------
// Gamepads
// ---------------------------------------------------------------------------------------------

void startGamepads();                        // extra mappings, then every pad already there
void closePads();                            // at shutdown
void handlePadEvent(const SDL_Event& event); // hot-plug, buttons, rebinding
void pollPadMenu();                          // D-pad and left stick as menu arrows
bool padActionDown(int player, int action);  // action 0..6 in key order
void swapPads();                             // player 1's pad becomes player 2's and back
std::string padButtonName(int32_t button);   // "A", "D-pad Up", "LB"
std::string padPreferenceName(int player, int action); // "pad_p1_rotate_cw"
void resetPadButtons();                                // the default buttons, both players
int32_t* padButtons(int player);                       // p1PadButtons or p2PadButtons

// ---------------------------------------------------------------------------------------------
// Menu focus
// ---------------------------------------------------------------------------------------------

// The widgets it moves over, focusItem and the rest, are drawing's (render/render.h).
enum class MenuCommand { up, down, left, right, next, previous, press, back };
// A game (online too) runs unpaused and not yet over: the keys and pads play, the focus stays away.
bool inPlay();
void menuCommand(MenuCommand command); // a menu key or pad button went down
Button* focusedButton();               // null unless the focus shows on a button
Slider* focusedSlider();               // null unless the focus shows on a slider
