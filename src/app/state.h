// Application shell state: SDL objects, frame timing, input, settings and the menu widgets.
// Defined once in state.cpp.
#pragma once

#include "game/replay.h"
#include "game/state.h"
#include "render/state.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

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

extern SDL_Window* window; // the only window
// The renderer and the fonts belong to drawing: render/state.h.
extern Mix_Music* mainMusic; // looping background music
extern Mix_Chunk *placeBlockSound, *clearLineSound, *takeDamageSound, *clickButtonSound,
    *gameOverSound; // the five effects

// ---------------------------------------------------------------------------------------------
// Frame timing
// ---------------------------------------------------------------------------------------------

extern bool running;                  // the frame loop runs while set
extern uint32_t frameStartTicks;      // SDL ticks at the start of this frame
extern uint64_t previousPerfCounter;  // performance counter of the previous frame
extern uint64_t currentPerfCounter;   // performance counter of this frame
extern uint64_t presentedPerfCounter; // performance counter when this frame's present returned

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
// The sensitivities as this game last read or wrote them (NaN before): a save changes only the
// values that moved since, so another game's change on the same folder is kept.
extern std::array<double, 2> savedSensitivities;
constexpr double minSensitivity = 0.01; // the sensitivity sliders' range, which the
constexpr double maxSensitivity = 2.0;  // file's values are held to as well
// Auto-repeat and press memory between frames (input only).
extern bool p1RightDown, p1LeftDown, p2RightDown, p2LeftDown;
extern double p1RightRepeat, p1LeftRepeat, p2RightRepeat, p2LeftRepeat;
extern bool p1RotateCwDown, p1RotateCcwDown, p1HardDropDown;
extern bool p2RotateCwDown, p2RotateCcwDown, p2HardDropDown;
extern bool escapeCancelledWait; // Escape cancelled a rebinding: it quits nothing until released
// Keys as the event queue tells it, beside SDL's own state array: a key event put on the queue
// by a test or a benchmark then plays exactly as a typed one, and a key pressed and let go
// within one frame still counts as down in that frame.
constexpr uint8_t keyHeld = 1;     // down since its last key-down event
constexpr uint8_t keyWentDown = 2; // went down during this frame's events
extern std::array<uint8_t, SDL_NUM_SCANCODES> eventKeys;

// ---------------------------------------------------------------------------------------------
// Handling: how a player's held keys (or pad) become moves
// ---------------------------------------------------------------------------------------------

enum HandlingKind : int32_t { classicHandling, customHandling };
// One player's choice, kept in the preferences file.
struct Handling {
  int32_t kind = classicHandling; // classic: the sensitivity's frame-counted repeat
  int32_t dasMs = 167;            // custom: first move to first repeat, 0..500 ms
  int32_t arrMs = 33;             // custom: between repeats, 0..200 ms; 0 = to the wall
  int32_t softDropFactor = 20;    // custom: times gravity's speed 1..40; 0 = instant
  int32_t dasCutMs = 0;           // custom: a rotation or hold holds the repeat back 0..100 ms
};
// A custom handling's memory of one player's sideways keys between frames.
struct ShiftMemory {
  bool rightDown = false, leftDown = false; // as last frame
  bool holdDown = false;                    // hold was down last frame (a hold starts a cut)
  int32_t direction = 0;                    // +1 right, -1 left, 0 none: the newest held wins
  double chargeMs = 0.0;                    // held that long since its first move (cuts aside)
  int32_t repeatsDone = 0;                  // repeats already made of this charge
  double cutMs = 0.0;                       // the repeat waits this long yet
};
extern Handling p1Handling, p2Handling; // each player's handling
extern ShiftMemory p1Shift, p2Shift;    // their custom repeat's memory
extern Handling savedHandlings[2];      // player 2's and player 1's as last saved or read

// ---------------------------------------------------------------------------------------------
// Gamepads (SDL game controllers)
// ---------------------------------------------------------------------------------------------

constexpr const char* padMappingsPath = "gamecontrollerdb.txt"; // extra mappings, when present
extern SDL_JoystickGUID playerPadGuids[2];   // the kind of pad each player last had: it comes
extern bool playerPadKnown[2];               // back to them when plugged in again (this run)
extern int32_t p1PadButtons[padActionCount]; // SDL controller button per action, key order
extern int32_t p2PadButtons[padActionCount]; // the same for player 2
extern bool awaitingPadBinding;              // a Gamepad screen control waits for a button
extern int32_t padBindingIndex;              // 0..6 player 2's actions, 7..13 player 1's
extern bool padMenuDown[4];                  // up, down, left, right held on a pad last frame
extern double padMenuRepeat[4];              // their auto-repeat accumulators

// ---------------------------------------------------------------------------------------------
// Menu focus: the keys and pads' stand-in for the pointer
// ---------------------------------------------------------------------------------------------

// ---------------------------------------------------------------------------------------------
// Screens and widgets (the screens' numbers, buttons and sliders are drawing's: render/state.h)
// ---------------------------------------------------------------------------------------------

extern std::array<int32_t, screenCount> screenFocus; // focusIndex each screen had when left
extern std::string botNetworkText; // the "Neural Network" level's network file's text, as loaded
extern std::vector<std::string> networkChoices; // the networks screen's entries, in its order

// Each screen's buttons as built, the layout at ui_scale 100 that another scale regrows from.
extern std::vector<std::vector<SDL_Rect>> builtButtonAreas;
constexpr int smallestWindowWidth = 750;  // the window may not be made smaller: half the
constexpr int smallestWindowHeight = 500; // drawing, still 3:2

// ---------------------------------------------------------------------------------------------
// Pause and preferences (Storage/preferences.txt)
// ---------------------------------------------------------------------------------------------

// What the command line asked for; read by start-up.
struct LaunchOptions {
  int32_t fullscreen = -1; // 1 --fullscreen, 0 --windowed, -1 as remembered
  std::string play;        // --play: "sprint", "ultra" or "solo" starts straight into it
  std::string replay;      // --replay: a replay file to play back at once
  int32_t hostPort = 0;    // --host: host an online game on this port at once; 0 = no
  std::string joinAddress; // --join: join the online game at this host[:port] at once
};
extern LaunchOptions launchOptions; // filled by main before runGame

extern bool pauseRequested;     // a pause key or a pad's Start went down this frame
extern bool restartRequested;   // the restart key went down this frame
extern bool pauseOnFocusLoss;   // losing the window's focus pauses a game
extern bool preferencesRefused; // the preferences file was refused: never written over this run

// Keys that must be pressed twice within confirmMilliseconds in a versus game, and the one line
// shown over play (a binding clash when a game starts, or the prompt for the second press).
enum class PendingKey : int32_t { none, restart, leave };
constexpr double confirmMilliseconds = 2000.0;
constexpr double clashNoticeMilliseconds = 5000.0;
extern PendingKey pendingKey;     // the key whose second press is awaited
extern double pendingKeyMs;       // milliseconds left for it
extern uint32_t clashCheckedGame; // gameSerial of the last game checked for clashes at its start

// Keys beyond the 14 controls, rebound on the "Audio & Display" screen through bindingIndex.
constexpr int32_t pauseKeyIndex = controlCount;       // bindingIndex of the pause key
constexpr int32_t restartKeyIndex = controlCount + 1; // bindingIndex of the restart key
extern int32_t pauseKey;   // scancode that pauses and resumes (the Pause key always does too)
extern int32_t restartKey; // scancode that starts the same mode afresh

// Sound and window, kept in the preferences file.
extern int32_t musicVolume;   // 0..100 %
extern int32_t effectsVolume; // 0..100 %
extern bool soundMuted;       // M silences music and effects without losing the volumes
extern bool fullscreenOn;     // full screen at the desktop's resolution
extern bool vsyncOn; // frames wait for the display's refresh; off as the renderer always was
// Each player's waiting garbage records already announced as about to rise (a new one sounds).
extern std::array<int32_t, 2> risingRecordsHeard;
extern SDL_Rect windowPlace;   // the window's last position and size; w 0 = never remembered
extern std::string piecesKept; // the remembered piece selection: "blocks:ordinal" words
// ---------------------------------------------------------------------------------------------
// Modes, statistics and replays
// ---------------------------------------------------------------------------------------------

constexpr const char* replaysFolder = "Storage/replays";   // the kept replays
constexpr const char* historyPath = "Storage/history.csv"; // one row a finished game
constexpr const char* bestsPath = "Storage/bests.txt";     // personal bests, from the history
constexpr size_t replaysKept = 50;                         // newest replays kept, bests aside

extern std::string botLevelName;          // the level the bot game was started at
constexpr double countdownLength = 300.0; // frameDelta units of "3", "2", "1" (3 s)
// The game being recorded as it is played, whichever mode plays it, saved as a replay when it
// ends (an online game: when it is given a result).
struct ReplayRecording {
  Replay replay;           // its header and the frames so far
  uint32_t gameSerial = 0; // gameSerial of the game recorded
  bool active = false;     // frames are being added
  uint32_t frames = 0;     // frames recorded so far (an online game's: net's framesRecorded)
  bool online = false;     // an online game's: only this side's frames, saved by online.cpp
  uint32_t onlineGamesWritten = 0; // gamesSettled when the last online history row was written
};
// The replay the play screen shows back, as read from its file.
struct ReplayViewer {
  Replay replay;       // the file's header and frames
  ReplayCursor cursor; // where in its frames
  double debt = 0.0;   // frames owed to the speed
  std::string path;    // its file, for restart
};
extern ReplayRecording replayRecording; // the game being recorded
extern ReplayViewer replayViewer;       // the replay being played back
extern bool replayPaused;               // its playback is held
extern int32_t replayPage;              // which dozen of them the screen shows
// ---------------------------------------------------------------------------------------------
// Online screen (the connection itself lives in net/state.h)
// ---------------------------------------------------------------------------------------------

extern int32_t onlinePortSetting;  // the port field: "Host" listens here (online_port)
extern std::string onlineJoinText; // the address field: "Join" goes here (online_address)
extern int32_t onlineFocus;        // the field typed into: 0 none, 1 port, 2 address
