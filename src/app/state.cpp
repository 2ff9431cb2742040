// Definitions of the shell's state, with the values in force before start-up.
#include "app/state.h"

SDL_Window* window = nullptr;
SDL_Renderer* renderer = nullptr;
TTF_Font* fontSmall = nullptr;
TTF_Font* fontMedium = nullptr;
TTF_Font* fontLarge = nullptr;
Mix_Music* mainMusic = nullptr;
Mix_Chunk *placeBlockSound = nullptr, *clearLineSound = nullptr, *takeDamageSound = nullptr,
          *clickButtonSound = nullptr, *gameOverSound = nullptr;

bool running = true;
uint32_t frameStartTicks = 0;
uint64_t previousPerfCounter = 0;
// Read before main runs, so the first frame's delta covers start-up.
uint64_t currentPerfCounter = SDL_GetPerformanceCounter();

Point mousePosition = {0, 0};
bool mouseClicked = false;
bool mouseHeld = false;
bool mouseDownLatch = false;
bool mouseReleased = false;
bool awaitingKeyBinding = false;
int32_t bindingIndex = 0;
std::vector<int32_t> controls;
double p1Sensitivity = 0.1, p2Sensitivity = 0.1;
bool p1RightDown, p1LeftDown, p2RightDown, p2LeftDown;
double p1RightRepeat, p1LeftRepeat, p2RightRepeat, p2LeftRepeat;
bool p1RotateCwDown, p1RotateCcwDown, p1HardDropDown;
bool p2RotateCwDown, p2RotateCcwDown, p2HardDropDown;

int32_t currentScreen = 0;
int32_t lastHoveredChoice = 0;
bool showFitnessGraph = true;
int32_t highscore = 0;
std::vector<std::vector<Button>> screenButtons;
std::vector<std::vector<Slider>> screenSliders;
Button backButton;
Button visualizationButton;

bool gamePaused = false;
bool pauseRequested = false;
bool restartRequested = false;
bool pauseOnFocusLoss = true;
LaunchOptions launchOptions;
std::string botNetworkLabel;
std::vector<std::string> networkChoices;
