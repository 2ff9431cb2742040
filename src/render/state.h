// Drawing's state: the widgets' records, the renderer and fonts everything is drawn with, what
// drawing keeps between frames, and what the screens show (results, bests, focus, figures), which
// the shell sets and drawing reads. Defined once in state.cpp. Includes nothing of the shell.
#pragma once

#include "game/state.h"
#include "render/language.h"

#include <SDL.h>
#include <SDL_ttf.h>
#include <locale.h>

#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Records: menu widgets
// ---------------------------------------------------------------------------------------------

struct Button {
  Point position;        // top-left corner
  Point size;            // width, height
  std::string text;      // caption's message id: English, as code compares it and files keep it
  std::string valueText; // shown right after text (a bound key's name)
  bool hovered = false;  // pointer inside when last tested, or forced on
  int32_t textSize = 1;  // 2 medium font, 3 large, anything else small
  bool warning = false;  // bound to the same key or button as another action
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
  std::string label;        // caption's message id (English)
  int32_t trackWidth = 500; // track length in pixels
  int32_t trackHeight = 50; // track height in pixels
  int32_t knobSize = 54;    // side of the square knob
  bool isInteger = false;   // values truncated to whole numbers
  bool dragging = false;    // the knob follows the pointer
  bool hovered = false;     // the pointer is on the knob
  std::string shownValue;   // the value as its screen words it ("167 ms"); "" = the number
  int32_t trackMargin = 0;  // the track drawn this far past each end of the knob's travel
};

// How a caption sits in its room: where it is drawn, and the factor it was shrunk by to fit (1
// when it fits as rendered; 0 when nothing renders).
struct CaptionFit {
  std::string caption; // as drawn, in the language shown
  SDL_Rect room;       // where it may go: its button less 5 pixels a side, or a slider's label room
  SDL_Rect drawn;      // where it is drawn
  int natural;         // its width unshrunk
  double factor;       // drawn width over natural
};

// ---------------------------------------------------------------------------------------------
// Screens and widgets: which screen is shown, and the buttons and sliders the shell lays out
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
  handlingScreen,     // each player's handling: classic or custom milliseconds
  languageScreen,     // the language every text is shown in
  screenCount
};

extern int32_t currentScreen; // 0 main, 1 training set-up, 2 difficulty, 3 settings, 4 pieces
extern std::vector<std::vector<Button>> screenButtons; // one list per screen
extern std::vector<std::vector<Slider>> screenSliders; // one list per screen
extern Button backButton;                              // "Back" on every play screen
extern Button visualizationButton;         // "Toggle Visualization" on the training screen
extern Button resumeButton;                // "Resume" on the paused frame
extern Button quitToMenuButton;            // "Quit to menu" on the paused frame
extern std::vector<Button> replayControls; // a replay's pause, the four speeds, restart
extern Button rematchButton;               // "Rematch" under an online game's result
// What the menus say of the "Neural Network" level's network (the shell reads the files).
extern std::string botNetworkLabel;  // the network it plays: name (layer sizes)
extern std::string nextNetworkLabel; // the file's network when another (training wrote it); or ""

// ---------------------------------------------------------------------------------------------
// What everything is drawn with (created at start-up, released at shutdown)
// ---------------------------------------------------------------------------------------------

extern SDL_Renderer* renderer; // the only renderer
extern TTF_Font* fontSmall;    // 24 points
extern TTF_Font* fontMedium;   // 36 points
extern TTF_Font* fontLarge;    // 48 points

// ---------------------------------------------------------------------------------------------
// Kept between frames
// ---------------------------------------------------------------------------------------------

// The drawn areas of this frame, while recorded (drawVeil and the piece tiles use them).
extern bool recordingAreas;              // drawing calls note where they draw
extern std::vector<SDL_Rect> drawnAreas; // what they noted since recording began
// The network is drawn by a software renderer of its own into networkCanvas, ten times a second
// at most, and shown from networkPicture, a texture of the screen's renderer (which it dies
// with, hence its owner).
extern SDL_Surface* networkCanvas;          // the network's own drawing surface
extern SDL_Renderer* networkCanvasRenderer; // the software renderer drawing on it
extern SDL_Texture* networkPicture;         // the last drawing, as a texture of networkPictureOwner
extern SDL_Renderer* networkPictureOwner;   // the renderer networkPicture belongs to
extern uint32_t networkPictureTicks;        // when the last redraw ended

// ---------------------------------------------------------------------------------------------
// Accessibility: how pieces are told apart and how much moves (kept in the preferences file)
// ---------------------------------------------------------------------------------------------

constexpr int32_t standardPalette = 0;     // the colours of the piece colour file
constexpr int32_t okabeItoPalette = 1;     // eight hues told apart by every colour vision
constexpr int32_t highContrastPalette = 2; // bright pieces edged in white
extern int32_t palette;                    // one of the three above
extern bool pieceSymbolsOn;                // each piece type's own mark drawn in its cells
extern bool reduceMotion;                  // no drifting backdrop, flying squares or flashes

// ---------------------------------------------------------------------------------------------
// Menu size (kept in the preferences file): the menus' captions are drawn with the menu fonts
// ---------------------------------------------------------------------------------------------

constexpr int32_t uiScaleSteps = 3; // 100, 125 and 150 percent
extern int32_t uiScaleStep;         // 0, 1 or 2: the menus' text and buttons at 100, 125 or 150 %
extern TTF_Font* menuFontSmall;     // 24 points times the scale; null at 100 (fontSmall serves)
extern TTF_Font* menuFontMedium;    // 36 points times the scale; null at 100 (fontMedium serves)
extern TTF_Font* menuFontLarge;     // 48 points times the scale; null at 100 (fontLarge serves)
int32_t uiScalePercent();           // uiScaleStep as a percentage: 100, 125 or 150

// ---------------------------------------------------------------------------------------------
// Language (kept in the preferences file)
// ---------------------------------------------------------------------------------------------

extern std::string languageSetting; // the player's choice: a language's code, "" follows the system
extern std::string languageShown;   // the code of the language every text is shown in now
// The locale our own lookups run in. The program's locale stays "C", in which gettext ignores
// LANGUAGE: the libraries' messages (strerror's among them, in our log lines) stay English, and
// numbers keep their '.' decimals. Only tr's lookup, on its own thread for its duration, runs
// in C.UTF-8, which every system has and which lets LANGUAGE pick our catalogue: no installed
// locale is needed for any language.
extern locale_t messagesLocale; // opened when the catalogue folder is bound; null: English only

// ---------------------------------------------------------------------------------------------
// What play shows: the shell sets it as games run and end, drawing reads it
// ---------------------------------------------------------------------------------------------

// One finished game, as a history row has it.
struct GameRecord {
  std::string date;     // "2026-12-07 12:15:30" (UTC)
  std::string mode;     // "solo", "sprint", "ultra", "versus" or "bot"
  int32_t score = 0;    // player 1's
  int32_t lines = 0;    // rows player 1 cleared
  int32_t pieces = 0;   // pieces player 1 locked
  double seconds = 0.0; // game time
  double piecesPerSecond = 0.0;
  int32_t garbageSent = 0; // rows player 1 sent
  std::string replayFile;  // its replay in the replays folder, "" when none was written
  // Columns added later, each at the end of the row; older rows read them as empty or 0.
  std::string level;           // a bot game's level label, "" otherwise
  std::string result;          // how it ended for player 1: "win 3-1", "topped out", ...
  int32_t finesseFaults = 0;   // placements that took more inputs than the fewest possible
  double keysPerPiece = 0.0;   // inputs per locked piece
  std::string opponent;        // an online game's opponent address, "" otherwise
  int32_t garbageReceived = 0; // rows that rose in player 1's well
};
extern bool gamePaused;        // play is frozen: no timer runs, no piece moves
extern std::string playNotice; // "Press R again to restart", "P2 Hold and Restart share R"
extern double playNoticeMs;    // milliseconds it stays up
extern int32_t padLostPlayer;  // the player whose pad left and paused the game; 0 none
extern bool newHighscore;      // the solo game just over beat the high score
extern GameRecord lastGame;    // the game that just ended (results panel)
extern bool lastGameShown;     // the results panel is up
extern bool lastGameNewBest;   // it beat the personal best
extern bool lastGameHadBest;   // there was a best to beat
extern double lastGameOldBest; // the best it was measured against
extern bool replayPlaying;     // the play screen shows a replay
extern bool replayEnded;       // its last frame has played
// A mode's personal best: a sprint's time (lower is better), else a score.
struct PersonalBest {
  std::string mode;       // "solo", "sprint" or "ultra"
  double value = 0.0;     // seconds for a sprint, points otherwise
  std::string replayFile; // kept while this best stands
};
extern bool showFitnessGraph;                   // training screen: graph (set) or network (clear)
extern int32_t highscore;                       // best solo score
extern std::vector<PersonalBest> personalBests; // one per mode that has one

// ---------------------------------------------------------------------------------------------
// The menus as the shell leaves them: the focus the keys and pads move, the hovered choice, the
// pads plugged in and a notice
// ---------------------------------------------------------------------------------------------

// One widget the focus can rest on.
struct FocusItem {
  SDL_Rect area;  // where it is drawn
  Button* button; // one of these two is set
  Slider* slider; //
};
extern SDL_GameController* playerPads[2]; // player 1's pad, then player 2's; null: none
extern bool focusVisible;         // keys or a pad drive the menus; the mouse's first move clears it
extern int32_t focusIndex;        // the screen's buttons in list order, then its sliders
extern int32_t focusContext;      // the mode and screen focusIndex belongs to
extern int32_t lastHoveredChoice; // last main-menu or difficulty button hovered: picks the demo
extern std::string menuNotice;    // why a replay could not be played; on the menus until a click

// ---------------------------------------------------------------------------------------------
// The figures shown during play and on the replays screen
// ---------------------------------------------------------------------------------------------

constexpr int padActionCount = 7; // right, left, rotate cw, rotate ccw, soft drop, hard drop, hold
// Finesse and keys per piece of the game being played, for one player.
struct FinesseCount {
  bool keyDown[padActionCount] = {}; // each action's key or button, last frame
  int32_t placementInputs = 0;       // moves and turns pressed for the falling piece
  int32_t keyPresses = 0;            // every action pressed this game
  int32_t faults = 0;                // placements that took more inputs than the fewest
  int32_t placements = 0;            // pieces locked this game
  int32_t spawnRotation = 0;         // the falling piece's rotation when it appeared
  uint32_t lockSerial = 0;           // the last lock already counted
  bool holdUsed = false;             // the hold flag as last seen
  uint32_t gameSerial = 0;           // the game these counts belong to
};
extern FinesseCount finesseCounts[2];       // player 1's, then player 2's
constexpr int32_t splitLines = 10;          // a sprint notes its time every so many lines
extern std::vector<double> sprintSplits;    // a sprint's game time (s) at 10, 20, 30, 40 lines
extern double replaySpeed;                  // frames played per window frame: 0.5 to 4
extern std::vector<std::string> replayList; // the replays screen's files, newest first
