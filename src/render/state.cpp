// Drawing's state, declared in state.h.
#include "render/state.h"

int32_t currentScreen = mainMenuScreen;
std::vector<std::vector<Button>> screenButtons;
std::vector<std::vector<Slider>> screenSliders;
Button backButton;
Button visualizationButton;
Button resumeButton = {{600, 450}, {300, 75}, trLater("Resume"), "", false, 2};
Button quitToMenuButton = {{600, 560}, {300, 75}, trLater("Quit to menu"), "", false, 2};
std::vector<Button> replayControls;
Button rematchButton;
std::string botNetworkLabel;
std::string nextNetworkLabel;

SDL_Renderer* renderer = nullptr;
TTF_Font* fontSmall = nullptr;
TTF_Font* fontMedium = nullptr;
TTF_Font* fontLarge = nullptr;

bool recordingAreas = false;
std::vector<SDL_Rect> drawnAreas;
SDL_Surface* networkCanvas = nullptr;
SDL_Renderer* networkCanvasRenderer = nullptr;
SDL_Texture* networkPicture = nullptr;
SDL_Renderer* networkPictureOwner = nullptr;
uint32_t networkPictureTicks = 0;

int32_t palette = standardPalette;
bool pieceSymbolsOn = false;
bool reduceMotion = false;

int32_t uiScaleStep = 0;
TTF_Font* menuFontSmall = nullptr;
TTF_Font* menuFontMedium = nullptr;
TTF_Font* menuFontLarge = nullptr;
std::string languageSetting;
std::string languageShown = "en";
locale_t messagesLocale = nullptr;

bool gamePaused = false;
bool newHighscore = false;
std::string playNotice;
double playNoticeMs = 0.0;
int32_t padLostPlayer = 0;
GameRecord lastGame;
bool lastGameShown = false;
bool lastGameNewBest = false;
bool lastGameHadBest = false;
double lastGameOldBest = 0.0;
bool replayPlaying = false;
bool replayEnded = false;
std::vector<PersonalBest> personalBests;
bool showFitnessGraph = true;
int32_t highscore = 0;
SDL_GameController* playerPads[2] = {nullptr, nullptr};
bool focusVisible = false;
int32_t focusIndex = 0;
int32_t focusContext = -1;
int32_t lastHoveredChoice = 0;
std::string menuNotice;
FinesseCount finesseCounts[2];
std::vector<double> sprintSplits;
double replaySpeed = 1.0;
std::vector<std::string> replayList;
