// Application shell: start-up and frame loop, input, settings files, widgets, the frame update
// and the menu screens' actions. State lives in state.h.
#pragma once

#include "app/state.h"

#include <string>

struct Replay;

// ---------------------------------------------------------------------------------------------
// Start-up, frame loop, shutdown
// ---------------------------------------------------------------------------------------------

int runGame();    // the whole program; returns the exit status
int startUp();    // everything before the first frame; 0, or the exit status of a failure
void runFrames(); // frames while running
void runFrame();  // one frame: clock, keys, update, drawing, then the wait to 16 ms
void shutDown();  // releases what start-up made
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
// A fresh runtime folder under the system's temporary folder, prepared from data and entered:
// tools play there, so nothing they save reaches a data folder. "" and error when it fails.
std::string enterTemporaryRuntimeFolder(const std::string& data, std::string* error);
void leaveTemporaryRuntimeFolder(const std::string& folder); // leaves and removes it
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

enum class MenuCommand { up, down, left, right, next, previous, press, back };
struct FocusItem {
  SDL_Rect area;  // where it is drawn
  Button* button; // one of these two is set
  Slider* slider; //
};
int32_t focusItemCount();           // the current screen's buttons and sliders
FocusItem focusItem(int32_t index); // one of them
int32_t currentFocusContext();      // the mode and screen now shown
// A game (online too) runs unpaused and not yet over: the keys and pads play, the focus stays away.
bool inPlay();
bool pausedGame(); // a paused game: "Resume", "Quit to menu" and "Back" are its menu
void menuCommand(MenuCommand command); // a menu key or pad button went down
Button* focusedButton();               // null unless the focus shows on a button
Slider* focusedSlider();               // null unless the focus shows on a slider

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
// Widgets and menus
// ---------------------------------------------------------------------------------------------

Button makeButton(int32_t x, int32_t y, int32_t width, int32_t height, const std::string& text,
                  int32_t textSize);
Slider makeSlider(SliderPoint position, int32_t trackWidth, double minValue, double maxValue,
                  const std::string& label, double value, bool isInteger);
void checkHover(Button& button);                    // hover test; click sound when clicked on it
void update(Slider& slider);                        // hover, drag and value of one slider
void setSliderValue(Slider& slider, double value);  // value, clamped, and the knob to match
void openDoor(const char* caption, int32_t screen); // a click on that settings button opens it
void buildMenus();                                  // every screen's buttons and sliders
std::vector<Button> playerControlButtons(); // seven per player: player 2's column, player 1's

// ---------------------------------------------------------------------------------------------
// Frame update and screen actions
// ---------------------------------------------------------------------------------------------

void updateFrame();                   // one frame of the current mode
void runMainMenuScreen();             // screen 0
void runTrainingSetupScreen();        // screen 1
void runDifficultyScreen();           // screen 2
void runSettingsScreen();             // screen 3
void runPieceSelectionScreen();       // screen 4
void runGamepadScreen();              // screen 5
std::vector<Button> gamepadButtons(); // screen 5's buttons

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
// "Audio & Display"
// ---------------------------------------------------------------------------------------------

void applyVolumes();            // musicVolume, effectsVolume and soundMuted to the mixer
void setFullscreen(bool on);    // full screen at the desktop's resolution, or the window
void toggleFullscreen();        // and remember it
void applyVsync();              // vsyncOn to the renderer
void warnRisingGarbage();       // a short sound when a player's waiting garbage is about to rise
void buildAudioDisplayScreen(); // its widgets, and its button on the settings screen
void runSettingsExtras();       // the settings screen's way to "Audio & Display"
void runAudioDisplayScreen();   // screen 6

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
std::string pieceSelectionText();               // the selected pieces as "blocks:ordinal" words
void rememberPieceSelection();                  // into the preferences file, when it changed
void applyRememberedPieces();                   // the remembered selection over the default one

// ---------------------------------------------------------------------------------------------
// Modes, statistics and replays
// ---------------------------------------------------------------------------------------------

// A fresh game of a mode: 1 with a solo variant, 2 or 4. Every start and restart comes here.
void startGameOfMode(int32_t mode, int32_t variant = marathonVariant);
bool startNamedMode(const std::string& name); // "solo", "sprint" or "ultra" (--play)
void runModesScreen();                        // screen 7
// Sprint and Ultra's 3-2-1-Go: true while it holds the game (the frame update then steps
// nothing); the text to show, "" when none.
bool holdForCountdown();
std::string countdownText();
constexpr int32_t splitLines = 10;  // a sprint notes its time every so many lines
void noteSprintSplits();            // into sprintSplits, as the lines come
void runReplaysScreen();            // screen 8
std::vector<Button> modesButtons(); // Sprint, Ultra, Replays, Back
void listReplays();                 // replayList and the screen's buttons
// The statistics kept of finished games.
std::string clockText(double seconds); // "m:ss.cc", the one way a time is shown
// A result against the best it was measured against: "−1.32 s" (sprint), "+350" (points).
std::string bestDifferenceText(const std::string& mode, double value, double best);
std::string modeName(int32_t mode, int32_t variant);
// How the game that just ended went for player 1: "finished" or "topped out" alone, "win 3-1",
// "loss 1-3" or "draw" in a match.
std::string playedResult();
bool betterThanBest(const std::string& mode, double value, double best);
double bestValueOf(const GameRecord& game); // seconds for a sprint, else the score
bool finishedSprint(const GameRecord& game);
const PersonalBest* personalBest(const std::string& mode);
void readBests(); // bests.txt, else rebuilt from the history (one line when either is bad)
bool appendHistory(const GameRecord& game);
void pruneReplays(); // the newest replays and every best's kept, the others removed
// Writes a finished replay for game; the file's name, or "" when it could not be written.
std::string saveReplay(const Replay& replay, const GameRecord& game);
std::string historyRow(const GameRecord& game);
void recordFinishedGame(const GameRecord& game); // history, bests, results panel
bool parseHistoryRow(const std::string& line, GameRecord& game);
// Recording: a frame of play as the frame update runs it; the end of a game saves it all.
void recordReplayFrame(bool stepped);
void finishPlayedGame();
bool openReplay(const std::string& path); // plays a replay back; one line when refused
void updateReplayPlayback();              // the frame update while replayPlaying
void stopReplay();                        // back to the replays screen
void applyLaunchOptions();                // --play and --replay, after start-up

// ---------------------------------------------------------------------------------------------
// Online versus (online.cpp): the screen, the game's frame, typing into the fields
// ---------------------------------------------------------------------------------------------

std::vector<Button> onlineScreenButtons();    // Host, Join, Back and the two fields
void runOnlineScreen();                       // screen 9
void updateOnline();                          // every frame: the connection's events
void stepOnlineGame();                        // mode 8: the local player, reports, rematch
void onlineTextEvent(const SDL_Event& event); // typing and pasting into the focused field
void leaveOnlineGame();                       // Back or quitting: close and restore the pieces
void startOnlineFromCommandLine();            // --host or --join

// The networks screen (networks.cpp): which network the "Neural Network" level plays.
constexpr int networkListButton = 9; // "Network" on the difficulty screen
void describeBotNetwork();      // botNetworkLabel from Storage/BestNeuralNet.txt and the archive
void noteNetworkForNextStart(); // nextNetworkLabel, after a training run rewrote the file
void openNetworksScreen();      // networkChoices and their buttons, then the screen
void runNetworksScreen();       // screen 10: a click chooses, "Back" returns
// Copies the named network (an archived one or "Shipped") over Storage/BestNeuralNet.txt,
// atomically, and gives it to the level; false with error when it could not.
bool chooseNetwork(const std::string& name, std::string* error);

// The "Handling" screen (handling.cpp): each player's handling, its sliders and presets.
void buildHandlingScreen(); // its widgets, and its door on the settings screen
void openHandlingScreen();  // the settings screen's door
void runHandlingScreen();   // the screen's frame: choices, presets, sliders, saving
std::string handlingValueText(int slider, int32_t value); // "167 ms", "20×", "instant"

// The "Language" screen (languagescreen.cpp): the language chosen, and how captions fit in it.
std::string localeFolderOf(const std::string& dataFolder); // its sibling "locale"
void buildLanguageScreen(); // its widgets, and its door on the main menu
void openLanguageScreen();  // the main menu's door
void runLanguageScreen();   // a click chooses, shows and keeps a language; "Back" returns
struct CaptionFit {
  std::string caption; // as drawn, in the language shown
  SDL_Rect room;       // where it may go: its button less 5 pixels a side, or a slider's label room
  SDL_Rect drawn;      // where it was drawn
  int natural;         // its width unshrunk
  double factor;       // drawn width over natural: 1 when not shrunk
};
// Each caption of the screen's buttons and sliders drawn (into the renderer, which the caller
// clears) and measured as drawn; blank and hidden buttons are left out.
std::vector<CaptionFit> captionFits(int32_t screen);
CaptionFit buttonFit(const Button& button); // one button's, the same way (play's buttons too)

// Finesse (finesse.cpp): each player's inputs per piece against the fewest that would do.
void countPresses(int player, const bool* down); // the seven actions' keys this frame
void startFinesse();                             // fresh counts for the game just set up
void trackFinesse();                             // after a frame of play: placements and faults
double keysPerPiece(const FinesseCount& count);  // key presses per locked piece, 0 before any
