// Application shell state: SDL objects, frame timing, input, settings and the menu widgets.
// Defined once in state.cpp.
#pragma once

#include "game/state.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Records: menu widgets
// ---------------------------------------------------------------------------------------------

struct Button {
  Point position;        // top-left corner
  Point size;            // width, height
  std::string text;      // caption
  std::string valueText; // shown right after text (a bound key's name)
  bool hovered = false;  // pointer inside when last tested, or forced on
  int32_t textSize = 1;  // 2 medium font, 3 large, anything else small
};

struct SliderPoint {
  double x = 0.0;
  double y = 0.0;
};

struct Slider {
  SliderPoint position;     // centre of the track
  SliderPoint knob;         // centre of the knob; y never changes
  double minValue = 0.0;    // value at the left end
  double maxValue = 1.0;    // value at the right end
  double value = 0.0;       // current value
  std::string label;        // caption
  int32_t trackWidth = 500; // track length in pixels
  int32_t trackHeight = 50; // track height in pixels
  int32_t knobSize = 54;    // side of the square knob
  bool isInteger = false;   // values truncated to whole numbers
  bool dragging = false;    // the knob follows the pointer
  bool hovered = false;     // the pointer is on the knob
};

// ---------------------------------------------------------------------------------------------
// Files and fixed numbers
// ---------------------------------------------------------------------------------------------

constexpr const char* controlsPath = "Storage/controls.txt";   // 14 key bindings
constexpr const char* sensitivityPath = "Storage/sens.txt";    // two auto-repeat sensitivities
constexpr const char* highscorePath = "Storage/highscore.txt"; // solo high score
constexpr int controlCount = 14;   // bindings: player 2's seven, then player 1's
constexpr int scancodeLimit = 322; // scancodes 0..321 can be bound
constexpr int escapeScancode = 41; // quits from anywhere
constexpr const char* preferencesPath = "Storage/preferences.txt"; // every newer setting

// ---------------------------------------------------------------------------------------------
// SDL objects (created at start-up, released at shutdown)
// ---------------------------------------------------------------------------------------------

extern SDL_Window* window;     // the only window
extern SDL_Renderer* renderer; // the only renderer
extern TTF_Font* fontSmall;    // 24 points
extern TTF_Font* fontMedium;   // 36 points
extern TTF_Font* fontLarge;    // 48 points
extern Mix_Music* mainMusic;   // looping background music
extern Mix_Chunk *placeBlockSound, *clearLineSound, *takeDamageSound, *clickButtonSound,
    *gameOverSound; // the five effects

// ---------------------------------------------------------------------------------------------
// Frame timing
// ---------------------------------------------------------------------------------------------

extern bool running;                 // the frame loop runs while set
extern uint32_t frameStartTicks;     // SDL ticks at the start of this frame
extern uint64_t previousPerfCounter; // performance counter of the previous frame
extern uint64_t currentPerfCounter;  // performance counter of this frame

// ---------------------------------------------------------------------------------------------
// Mouse and keys
// ---------------------------------------------------------------------------------------------

extern Point mousePosition;                 // pointer in window pixels
extern bool mouseClicked;                   // left button went down this frame
extern bool mouseHeld;                      // left button is down
extern bool mouseDownLatch;                 // this press has had its click frame
extern bool mouseReleased;                  // left button went up this frame
extern bool awaitingKeyBinding;             // a control button waits for a key
extern int32_t bindingIndex;                // which control the next key goes to
extern std::vector<int32_t> controls;       // the 14 bindings as scancodes
extern double p1Sensitivity, p2Sensitivity; // auto-repeat steps per frame
constexpr double minSensitivity = 0.01;     // the sensitivity sliders' range, which the
constexpr double maxSensitivity = 2.0;      // file's values are held to as well
// Auto-repeat and press memory between frames (input only).
extern bool p1RightDown, p1LeftDown, p2RightDown, p2LeftDown;
extern double p1RightRepeat, p1LeftRepeat, p2RightRepeat, p2LeftRepeat;
extern bool p1RotateCwDown, p1RotateCcwDown, p1HardDropDown;
extern bool p2RotateCwDown, p2RotateCcwDown, p2HardDropDown;

// ---------------------------------------------------------------------------------------------
// Screens and widgets
// ---------------------------------------------------------------------------------------------

// Screen numbers: indexes of screenButtons and screenSliders, and values of currentScreen.
enum Screen : int32_t {
  mainMenuScreen,     // the five original screens, numbered as they always were
  trainingScreen,     //
  difficultyScreen,   //
  settingsScreen,     //
  piecesScreen,       //
  gamepadScreen,      // pad bindings per player
  audioDisplayScreen, // volumes, full screen, auto-pause
  modesScreen,        // Sprint, Ultra
  replaysScreen,      // the kept replays
  onlineScreen,       // host or join an online game
  networksScreen,     // which network the "Neural Network" level plays
  screenCount
};

extern int32_t currentScreen;     // 0 main, 1 training set-up, 2 difficulty, 3 settings, 4 pieces
extern int32_t lastHoveredChoice; // last main-menu or difficulty button hovered: picks the demo
extern bool showFitnessGraph;     // training screen: graph (set) or network (clear)
extern int32_t highscore;         // best solo score
extern std::vector<std::vector<Button>> screenButtons; // one list per screen
extern std::vector<std::vector<Slider>> screenSliders; // one list per screen
extern Button backButton;                              // "Back" on every play screen
extern Button visualizationButton;  // "Toggle Visualization" on the training screen
extern std::string botNetworkLabel; // the "Neural Network" level's network: name (layer sizes)
extern std::vector<std::string> networkChoices; // the networks screen's entries, in its order

// ---------------------------------------------------------------------------------------------
// Pause and preferences (Storage/preferences.txt)
// ---------------------------------------------------------------------------------------------

// What the command line asked for; read by start-up.
struct LaunchOptions {
  int32_t fullscreen = -1; // 1 --fullscreen, 0 --windowed, -1 as remembered
};
extern LaunchOptions launchOptions; // filled by main before runGame

extern bool gamePaused;       // play is frozen: no timer runs, no piece moves
extern bool pauseRequested;   // a pause key or a pad's Start went down this frame
extern bool restartRequested; // the restart key went down this frame
extern bool pauseOnFocusLoss; // losing the window's focus pauses a game
