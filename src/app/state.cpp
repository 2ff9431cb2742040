// Definitions of the shell's state, with the values in force before start-up.
#include "net/state.h"
#include "app/state.h"

#include <cmath>

SDL_Window* window = nullptr;
Mix_Music* mainMusic = nullptr;
Mix_Chunk *placeBlockSound = nullptr, *clearLineSound = nullptr, *takeDamageSound = nullptr,
          *clickButtonSound = nullptr, *gameOverSound = nullptr;

bool running = true;
uint32_t frameStartTicks = 0;
uint64_t previousPerfCounter = 0;
// Read before main runs, so the first frame's delta covers start-up.
uint64_t currentPerfCounter = SDL_GetPerformanceCounter();
uint64_t presentedPerfCounter = 0;

Point mousePosition = {0, 0};
bool mouseClicked = false;
bool mouseHeld = false;
bool mouseDownLatch = false;
bool mouseReleased = false;
bool awaitingKeyBinding = false;
int32_t bindingIndex = 0;
std::vector<int32_t> controls;
double p1Sensitivity = 0.1, p2Sensitivity = 0.1;
std::array<double, 2> savedSensitivities = {std::nan(""), std::nan("")};
bool p1RightDown, p1LeftDown, p2RightDown, p2LeftDown;
double p1RightRepeat, p1LeftRepeat, p2RightRepeat, p2LeftRepeat;
bool p1RotateCwDown, p1RotateCcwDown, p1HardDropDown;
bool p2RotateCwDown, p2RotateCcwDown, p2HardDropDown;
bool escapeCancelledWait = false;
std::array<uint8_t, SDL_NUM_SCANCODES> eventKeys{};
Handling p1Handling, p2Handling;
ShiftMemory p1Shift, p2Shift;
Handling savedHandlings[2];

SDL_JoystickGUID playerPadGuids[2] = {};
bool playerPadKnown[2] = {false, false};
int32_t p1PadButtons[padActionCount];
int32_t p2PadButtons[padActionCount];
bool awaitingPadBinding = false;
int32_t padBindingIndex = 0;
bool padMenuDown[4];
double padMenuRepeat[4];

std::array<int32_t, screenCount> screenFocus = [] {
  std::array<int32_t, screenCount> none;
  none.fill(-1);
  return none;
}();
std::vector<std::vector<SDL_Rect>> builtButtonAreas;

bool pauseRequested = false;
bool restartRequested = false;
bool pauseOnFocusLoss = true;
bool preferencesRefused = false;
LaunchOptions launchOptions;
int32_t pauseKey = SDL_SCANCODE_P;
int32_t restartKey = SDL_SCANCODE_R;
int32_t musicVolume = 100;
int32_t effectsVolume = 100;
bool soundMuted = false;
bool fullscreenOn = false;
bool vsyncOn = false;
std::array<int32_t, 2> risingRecordsHeard = {0, 0};
PendingKey pendingKey = PendingKey::none;
double pendingKeyMs = 0.0;
uint32_t clashCheckedGame = 0;
SDL_Rect windowPlace = {0, 0, 0, 0};
std::string piecesKept;

std::string botLevelName;
ReplayRecording replayRecording;
ReplayViewer replayViewer;
bool replayPaused = false;
int32_t replayPage = 0;

int32_t onlinePortSetting = defaultOnlinePort;
std::string onlineJoinText;
int32_t onlineFocus = 0;
std::string botNetworkText;
std::vector<std::string> networkChoices;
