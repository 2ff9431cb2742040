// Application shell: start-up and frame loop, input, settings files, widgets, the frame update
// and the menu screens' actions. State lives in state.h.
#pragma once

#include "app/state.h"

#include <string>

// ---------------------------------------------------------------------------------------------
// Start-up, frame loop, shutdown
// ---------------------------------------------------------------------------------------------

int runGame();                                         // the whole program; returns the exit status
void printError(const char* format, ...);              // printf-style, to standard output
void playSoundEffect(SoundEffect effect, int channel); // the core's sound hook
// Frame timing: a frame's length in hundredths of a second from two performance counter
// readings, and the sleep that makes a frame last at least 16 ms (none in training).
double frameDeltaBetween(uint64_t previous, uint64_t current, uint64_t frequency);
uint32_t frameSleepMilliseconds(uint32_t frameStart, uint32_t now, int32_t mode);
// The first window: 1500 x 1000 when the usable area holds it, else the largest 3:2 that fits.
SDL_Point firstWindowSize(int usableWidth, int usableHeight);

// ---------------------------------------------------------------------------------------------
// Runtime folder: chosen, filled from the data folder and entered before anything is loaded
// ---------------------------------------------------------------------------------------------

constexpr const char* seedNetworkPath = "seed/BestNeuralNet.txt"; // in the data folder
bool enterRuntimeFolder(); // find the data, prepare the runtime folder, enter it; else one line
// Where the data folder is looked for: $BRIKKA_DATA alone when set, else beside the program
// (a build) and then under the install prefix.
std::vector<std::string> dataFolderCandidates(const std::string& programFolder);
std::string findDataFolder(const std::string& programFolder, std::string* error); // "" if none
// Shipped files refreshed (through a temporary file), the player's files created when missing.
bool prepareRuntimeFolder(const std::string& runtime, const std::string& data, std::string* error);

// ---------------------------------------------------------------------------------------------
// Input
// ---------------------------------------------------------------------------------------------

void handleEvents();                          // mouse, events, key capture, action flags
Point logicalPoint(int windowX, int windowY); // window pixels to the 1500 x 1000 drawing
void computeActionFlags(const uint8_t* keys); // the 14 flags from a keyboard state array
void captureKey(const uint8_t* keys);         // store the pressed key for bindingIndex
std::string keyDisplayName(int32_t scancode); // text shown on a control button

// ---------------------------------------------------------------------------------------------
// Settings files
// ---------------------------------------------------------------------------------------------

extern const int32_t defaultControls[controlCount]; // the bindings "Reset" restores
constexpr double defaultSensitivity = 0.1;          // both players', when none is stored

void readSensitivities();        // p1/p2Sensitivity; defaults and a fresh file if malformed
bool writeSensitivities();       // two "%f" lines
void readControls(bool startUp); // start-up fills controls; both forms relabel the buttons
bool writeControls();            // every entry of controls, one per line
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
std::string preferencesWithValue(const std::string& text, const std::string& name,
                                 const std::string& value); // the file's text with one line set

// ---------------------------------------------------------------------------------------------
// Widgets and menus
// ---------------------------------------------------------------------------------------------

Button makeButton(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text,
                  int32_t textSize);
Slider makeSlider(SliderPoint position, int32_t trackWidth, double minValue, double maxValue,
                  const std::string& label, double value, bool isInteger);
void checkHover(Button& button); // hover test; click sound when clicked on it
void update(Slider& slider);     // hover, drag and value of one slider
void buildMenus();               // every screen's buttons and sliders

// ---------------------------------------------------------------------------------------------
// Frame update and screen actions
// ---------------------------------------------------------------------------------------------

void updateFrame();             // one frame of the current mode
void runMainMenuScreen();       // screen 0
void runTrainingSetupScreen();  // screen 1
void runDifficultyScreen();     // screen 2
void runSettingsScreen();       // screen 3
void runPieceSelectionScreen(); // screen 4

// The networks screen (networks.cpp): which network the "Neural Network" level plays.
constexpr int networkListButton = 9; // "Network" on the difficulty screen
void describeBotNetwork(); // botNetworkLabel from Storage/BestNeuralNet.txt and the archive
void openNetworksScreen(); // networkChoices and their buttons, then the screen
void runNetworksScreen();  // screen 10: a click chooses, "Back" returns
// Copies the named network (an archived one or "Shipped") over Storage/BestNeuralNet.txt,
// atomically, and gives it to the level; false with error when it could not.
bool chooseNetwork(const std::string& name, std::string* error);
