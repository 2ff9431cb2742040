// Play in the window: starting a mode's game, pausing and restarting it, the keys every mode
// shares, the finesse count, and an online game's frame. State lives in state.h.
#pragma once

#include "app/state.h"
#include "render/render.h"

#include <string>

// ---------------------------------------------------------------------------------------------
// Modes: every start and restart of a game
// ---------------------------------------------------------------------------------------------

// A fresh game of a mode: 1 with a solo variant, 2 or 4. Every start and restart comes here.
void startGameOfMode(int32_t mode, int32_t variant = marathonVariant);
bool startNamedMode(const std::string& name); // "solo", "sprint" or "ultra" (--play)
void applyLaunchOptions();                    // --play and --replay, after start-up
// Sprint and Ultra's 3-2-1-Go: true while it holds the game (the frame update then steps
// nothing). Its text is drawing's (countdownText).
bool holdForCountdown();
void noteSprintSplits(); // into sprintSplits, as the lines come

// ---------------------------------------------------------------------------------------------
// Pause, restart and the keys of every mode
// ---------------------------------------------------------------------------------------------

bool updatePause(); // pause and restart requests, the paused frame's buttons; true = frozen
void restartGame(); // a fresh game of the mode in play, nothing kept from the last one
// The restart key and leaving by key (Backspace, a pad's Back): at once in solo games and after
// a game is over; in a running versus game only at a second press within confirmMilliseconds.
// Online games cannot be restarted by one side.
void restartByKey();
void leaveByKey(const char* keyName);
void tickPlayNotice();  // the prompt's and the pending key's milliseconds run down
void leavePlay();       // back to the main menu from any play mode
void releaseHeldKeys(); // every key up, as after the window lost the keyboard
void handleShellKey(const SDL_KeyboardEvent& key);    // pause, restart, mute, full screen
void handleWindowEvent(const SDL_WindowEvent& event); // focus loss pauses; moves are noted
bool captureExtraKey(const uint8_t* keys); // the pause or restart key, when bindingIndex is theirs

// ---------------------------------------------------------------------------------------------
// Finesse: each player's inputs per piece against the fewest that would do
// ---------------------------------------------------------------------------------------------

void countPresses(int player, const bool* down); // the seven actions' keys this frame
void startFinesse();                             // fresh counts for the game just set up
void trackFinesse();                             // after a frame of play: placements and faults

// ---------------------------------------------------------------------------------------------
// Online versus: the game's frame and typing into the screen's fields
// ---------------------------------------------------------------------------------------------

void updateOnline();                          // every frame: the connection's events
void stepOnlineGame();                        // mode 8: the local player, reports, rematch
void onlineTextEvent(const SDL_Event& event); // typing and pasting into the focused field
void leaveOnlineGame();                       // Back or quitting: close and restore the pieces
void startOnlineFromCommandLine();            // --host or --join
