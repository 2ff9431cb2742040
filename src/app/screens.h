// The frame update and each screen's frame: what a click or a key does on the menus and the
// settings screens. State lives in state.h.
#pragma once

#include "app/state.h"

#include <string>

// ---------------------------------------------------------------------------------------------
// Frame update and the original screens
// ---------------------------------------------------------------------------------------------

void updateFrame();             // one frame of the current mode
void runMainMenuScreen();       // screen 0
void runTrainingSetupScreen();  // screen 1
void runDifficultyScreen();     // screen 2
void runSettingsScreen();       // screen 3
void runPieceSelectionScreen(); // screen 4
void runGamepadScreen();        // screen 5

// ---------------------------------------------------------------------------------------------
// "Audio & Display"
// ---------------------------------------------------------------------------------------------

void applyVolumes();          // musicVolume, effectsVolume and soundMuted to the mixer
void setFullscreen(bool on);  // full screen at the desktop's resolution, or the window
void toggleFullscreen();      // and remember it
void applyVsync();            // vsyncOn to the renderer
void warnRisingGarbage();     // a short sound when a player's waiting garbage is about to rise
void runSettingsExtras();     // the settings screen's way to "Audio & Display"
void runAudioDisplayScreen(); // screen 6

// ---------------------------------------------------------------------------------------------
// Modes, replays and online
// ---------------------------------------------------------------------------------------------

void runModesScreen();   // screen 7
void runReplaysScreen(); // screen 8
void runOnlineScreen();  // screen 9

// ---------------------------------------------------------------------------------------------
// The networks screen: which network the "Neural Network" level plays
// ---------------------------------------------------------------------------------------------

void describeBotNetwork();      // botNetworkLabel from Storage/BestNeuralNet.txt and the archive
void noteNetworkForNextStart(); // nextNetworkLabel, after a training run rewrote the file
void openNetworksScreen();      // networkChoices and their buttons, then the screen
void runNetworksScreen();       // screen 10: a click chooses, "Back" returns
// Copies the named network (an archived one or "Shipped") over Storage/BestNeuralNet.txt,
// atomically, and gives it to the level; false with error when it could not.
bool chooseNetwork(const std::string& name, std::string* error);

// ---------------------------------------------------------------------------------------------
// The "Handling" screen: each player's handling, its sliders and presets
// ---------------------------------------------------------------------------------------------

void openHandlingScreen(); // the settings screen's door
void runHandlingScreen();  // screen 11: choices, presets, sliders, saving

// ---------------------------------------------------------------------------------------------
// The "Language" screen: the language chosen, and how captions fit in it
// ---------------------------------------------------------------------------------------------

void buildLanguageScreen(); // its widgets, and its door on the main menu
void openLanguageScreen();  // the main menu's door
void runLanguageScreen();   // a click chooses, shows and keeps a language; "Back" returns
// Each caption of the screen's buttons and sliders measured where it is drawn, in the language
// and at the size shown (the slider's drawn into the renderer, which the caller clears); blank
// and hidden buttons are left out.
std::vector<CaptionFit> captionFits(int32_t screen);
std::string handlingValueText(int slider, int32_t value); // "167 ms", "20×", "instant"
