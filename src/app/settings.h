// The files the settings live in: the original controls, sensitivities and high score, and
// Storage/preferences.txt with what newer versions remember between starts. State lives in
// state.h.
#pragma once

#include "app/state.h"

#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Settings files
// ---------------------------------------------------------------------------------------------

extern const int32_t defaultControls[controlCount]; // the bindings "Reset" restores
constexpr double defaultSensitivity = 0.1;          // both players', when none is stored

void readSensitivities();        // p1/p2Sensitivity; defaults and a fresh file if malformed
bool writeSensitivities();       // two "%f" lines; only the values this game moved change
void readControls(bool startUp); // start-up fills controls; both forms relabel the buttons
bool writeControls();            // every entry of controls, one per line
bool saveControl(int32_t index); // entry index into the file as it is now; others kept
std::string controlsFileText(const std::vector<int32_t>& bindings); // one scancode per line
std::string sensitivityFileText(double p1, double p2);              // two "%f" lines
void labelControlButtons(const std::vector<int32_t>& bindings);     // key names on the buttons
void readHighscore();  // highscore; 0 when missing or empty
bool writeHighscore(); // the number, no line feed
// Storage/preferences.txt: every row of the table in preferences.cpp. Missing names take their
// defaults; a bad value takes its default with one line on standard error.
void readPreferences();
// Rewrites the named preference's line of the file as it is now on disk, keeping every other
// line (other games' changes, names this version does not know).
bool savePreference(const char* name);
bool restorePreference(const char* name); // back to its default, saved
std::string preferencesWithValue(const std::string& text, const std::string& name,
                                 const std::string& value); // the file's text with one line set

// ---------------------------------------------------------------------------------------------
// Remembered between starts in the preferences file: the window's place, the piece selection
// ---------------------------------------------------------------------------------------------

struct WindowFrame {
  int top = 0, left = 0, bottom = 0, right = 0; // the decorations around the window, in pixels
};
// The first window: the remembered place, else the largest 3:2 up to 1500 x 1000, centred;
// either way held on the usable area with its frame.
SDL_Rect fittedWindow(SDL_Rect usable, WindowFrame frame, SDL_Rect remembered);
SDL_Rect usableAreaAround(SDL_Rect remembered); // that display's usable area, else the first's
void noteWindowPlace();                         // the ordinary window's place, into windowPlace
void saveWindowPlace();                         // windowPlace into the preferences file
std::string pieceSelectionText();               // the player's own pieces as "blocks:ordinal" words
void rememberPieceSelection();                  // into the preferences file, when it changed
void applyRememberedPieces();                   // the remembered selection over the default one
