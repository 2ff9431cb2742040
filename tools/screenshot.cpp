// screenshot <state> <out.png> [--data <folder>] [--preferences <file>]
// Sets up one screen of the game with the real rules, menus and players, draws it with the
// game's own frame drawing into an off-screen canvas and writes it as a PNG (through
// ImageMagick's convert). The folder holds Storage/ and Fonts/ as the game's runtime folder does;
// by default the current directory. A preferences file (language, palette, marks, menu size) is
// read as the game reads Storage/preferences.txt. The game runs in a temporary copy of it, so what
// it saves (training saves its best network) never reaches the folder.
#include "ai/ai.h"
#include "app/play.h"
#include "app/records.h"
#include "app/screens.h"
#include "app/settings.h"
#include "app/shell.h"
#include "app/widgets.h"
#include "game/game.h"
#include "net/state.h"
#include "render/language.h"
#include "render/render.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

const char* const states[] = {"main-menu",        "settings",    "audio-display", "language",
                              "training-setup",   "difficulty",  "gamepad",       "modes",
                              "online",           "handling",    "pieces",        "solo",
                              "solo-over",        "versus",      "versus-over",   "training",
                              "training-network", "sprint-over", "marks",         "online-over"};

bool loadGameData(std::string& error) {
  if (!loadPieceFiles(&error)) return false;
  resetBoards(0);
  setUpGame();
  if (!loadPieceColours(&error)) return false;
  loadFitnessParams();
  buildMenus();
  // The default bindings, labelled as the settings screen shows them; no file is touched.
  labelControlButtons(std::vector<int32_t>(defaultControls, defaultControls + controlCount));
  return true;
}

// The heuristic player's choice, dropped straight down and locked. False once the player tops
// out.
bool playPiece(int player) {
  PlayerState s = playerState(player);
  std::vector<int32_t> best = findBestPlacement(player, false);
  s.rotation = best[1];
  s.position = {best[0], 0};
  if (!pieceFits(player, currentGrid(player), 0, 0)) s.position = spawnPosition;
  while (pieceFits(player, currentGrid(player), 0, 1)) ++s.position.y;
  lockPiece(player);
  return !s.gameOver;
}

// Where the falling piece would land, as the game shows it: one frame of no time and no keys.
void placeGhost(int player) {
  frameDelta = 0.0;
  stepPlayer(player);
}

void holdAPiece(int player) {
  PlayerState s = playerState(player);
  s.heldPiece = s.pieceId;
  takeNextPiece(player);
}

void setUpSolo(bool finished) {
  gameMode = soloPlayMode;
  setUpGame();
  highscore = 4200;
  holdAPiece(1);
  for (int k = 0; k < 60; ++k)
    if (!playPiece(1)) break;
  if (finished) {
    for (int k = 0; k < 1000 && !p1GameOver; ++k) { // stack at the spawn until the well is full
      while (pieceFits(1, currentGrid(1), 0, 1)) ++p1Position.y;
      lockPiece(1);
    }
    matchOver = true;
  } else {
    p1Position.y = 3;
    placeGhost(1);
  }
}

// A sprint the heuristic player finished, a little over half a second a piece, measured
// against a best of 1:10.00.
void setUpFinishedSprint() {
  startGameOfMode(soloPlayMode, sprintVariant);
  countdownLeft = 0.0;
  personalBests = {{"sprint", 70.0, ""}};
  for (int k = 0; k < 1000 && p1Lines < sprintLines; ++k) {
    if (!playPiece(1)) break;
    gameClock += 55.0;
    noteSprintSplits();
  }
  matchOver = true;
  GameRecord game;
  game.date = "2026-12-08 12:00:00";
  game.mode = "sprint";
  game.score = score;
  game.lines = p1Lines;
  game.pieces = p1PieceCount;
  game.seconds = gameClock / 100.0;
  game.piecesPerSecond = game.pieces / game.seconds;
  game.result = playedResult();
  recordFinishedGame(game);
}

void setUpVersus(bool finished) {
  gameMode = playerVersusMode;
  setUpGame();
  p1Losses = 1;
  p2Losses = finished ? 3 : 2;
  holdAPiece(2);
  // Play until garbage is waiting on both sides, the way a close match looks.
  for (int k = 0; k < 200; ++k) {
    playPiece(1);
    playPiece(2);
    if (k > 20 && !p1IncomingDamage.empty() && !p2IncomingDamage.empty()) break;
  }
  if (!p1IncomingDamage.empty()) p1IncomingDamage.front().timer = damageDelay * 0.5;
  for (int player : {1, 2}) {
    playerState(player).position.y = 2;
    placeGhost(player);
  }
  matchOver = finished;
}

void setUpTraining(bool showNetwork) {
  gameMode = trainingMode;
  populationSize = 6;
  movesPerSubject = 40;
  hiddenLayerCount = 2;
  hiddenLayerNeurons = 16;
  selectionSeed = 5489; // the same run on every call
  startTrainingRun();
  setUpGame();
  while (generation < 8) trainingStep();
  // Far enough into a game that the subject sees a stacked board and its network lights up.
  for (int k = 0; k < 33; ++k) trainingStep();
  showFitnessGraph = !showNetwork;
}

// Every loaded piece type once, as a locked cell of the versus wells (the smallest the game
// draws), player 2's bottom rows in catalogue order; player 1's row of garbage beside them.
void setUpMarks() {
  selectAllPieces();
  gameMode = playerVersusMode;
  setUpGame();
  for (Board* board : {&p1Board, &p2Board})
    for (auto& column : *board) column.fill(0);
  for (int32_t code = 1; code <= static_cast<int32_t>(catalogueSource.size()); ++code)
    p2Board[(code - 1) % boardWidth][boardHeight - 3 + (code - 1) / boardWidth] = code;
  for (int x = 0; x < boardWidth; ++x)
    for (int y : {boardHeight - 3, boardHeight - 2, boardHeight - 1})
      p1Board[x][y] = x % 3 == 0 ? garbageGrey : (x % 3 == 1 ? garbageRed : garbageBlue);
}

// An online game this side lost by a broken rule the opponent found: the longest result shown.
void setUpOnlineResult() {
  setUpVersus(true);
  gameMode = onlineVersusMode;
  onlinePhase = OnlinePhase::finished;
  onlineIsHost = true;
  onlineResult = OnlineResult::brokeRulesHost;
  onlineReason = "The opponent found that your game broke the rules";
  foulFound = Foul::boardDiffers;
}

bool setUpState(const std::string& state) {
  if (state == "online-over") {
    setUpOnlineResult();
    return true;
  }
  if (state == "marks") {
    setUpMarks();
    return true;
  }
  const std::pair<const char*, int32_t> menus[] = {{"main-menu", 0},
                                                   {"settings", 3},
                                                   {"pieces", piecesScreen},
                                                   {"audio-display", audioDisplayScreen},
                                                   {"language", languageScreen},
                                                   {"training-setup", trainingScreen},
                                                   {"difficulty", difficultyScreen},
                                                   {"gamepad", gamepadScreen},
                                                   {"modes", modesScreen},
                                                   {"online", onlineScreen},
                                                   {"handling", handlingScreen}};
  for (const auto& [name, screen] : menus) {
    if (state != name) continue;
    for (int k = 0; k < 35; ++k) playPiece(1);
    gameMode = menuMode;
    currentScreen = screen;
    if (currentScreen == 0) screenButtons[0][0].hovered = true;
    // One frame of these two, no click: the pads' buttons named, the language in force lit.
    if (currentScreen == gamepadScreen) runGamepadScreen();
    if (currentScreen == languageScreen) runLanguageScreen();
    return true;
  }
  if (state == "solo" || state == "solo-over") {
    setUpSolo(state == "solo-over");
    return true;
  }
  if (state == "sprint-over") {
    setUpFinishedSprint();
    return true;
  }
  if (state == "versus" || state == "versus-over") {
    setUpVersus(state == "versus-over");
    return true;
  }
  if (state == "training" || state == "training-network") {
    setUpTraining(state == "training-network");
    return true;
  }
  return false;
}

bool convertToPng(const std::string& bmp, const std::string& png) {
  const char* argv[] = {"convert", bmp.c_str(), png.c_str(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "convert", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
    return false;
  int status = 0;
  return waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A path from the folder the tool was started in, which it leaves for the runtime folder.
std::string absolute(const std::string& path) {
  if (!path.empty() && path[0] == '/') return path;
  char cwd[4096];
  return getcwd(cwd, sizeof cwd) ? std::string(cwd) + "/" + path : path;
}

int usage() {
  std::fprintf(stderr, "usage: screenshot <state> <out.png> [--data <folder>] [--preferences "
                       "<file>]\nstates:");
  for (const char* state : states) std::fprintf(stderr, " %s", state);
  std::fprintf(stderr, "\n");
  return 2;
}

// Sets up state, draws it and writes the picture to out; the exit status.
int drawState(const std::string& state, const std::string& out) {
  seedRandom(20261206); // the same pictures on every run
  std::string error;
  if (!loadGameData(error)) {
    std::fprintf(stderr, "screenshot: %s\n", error.c_str());
    return 1;
  }
  if (!setUpState(state)) return usage();
  // A moment later: the squares of cleared rows have flown off and red flashes have faded.
  lineClearParticles.clear();
  p1DamageFlash = p2DamageFlash = 0.0;

  SDL_Surface* canvas =
      SDL_CreateRGBSurfaceWithFormat(0, windowWidth, windowHeight, 32, SDL_PIXELFORMAT_ARGB8888);
  renderer = SDL_CreateSoftwareRenderer(canvas);
  TTF_Init();
  fontSmall = TTF_OpenFont("Fonts/nasaFont.ttf", 24);
  fontMedium = TTF_OpenFont("Fonts/nasaFont.ttf", 36);
  fontLarge = TTF_OpenFont("Fonts/nasaFont.ttf", 48);
  applyUiScale();
  if (!renderer || !fontSmall || !fontMedium || !fontLarge) {
    std::fprintf(stderr, "screenshot: cannot draw (Fonts/nasaFont.ttf missing?): %s\n",
                 SDL_GetError());
    return 1;
  }
  drawFrame();

  std::string bmp = out + ".bmp";
  bool written = SDL_SaveBMP(canvas, bmp.c_str()) == 0 && convertToPng(bmp, out);
  std::remove(bmp.c_str());
  if (!written) std::fprintf(stderr, "screenshot: could not write %s\n", out.c_str());
  TTF_CloseFont(fontSmall);
  TTF_CloseFont(fontMedium);
  TTF_CloseFont(fontLarge);
  TTF_Quit();
  releaseRenderCaches();
  SDL_DestroyRenderer(renderer);
  SDL_FreeSurface(canvas);
  return written ? 0 : 1;
}

int takeScreenshot(int argc, char** argv) {
  if (argc < 3 || argc % 2 == 0) return usage();
  std::string state = argv[1];
  std::string out = argv[2];
  std::string data = absolute("."), preferences;
  for (int k = 3; k < argc; k += 2) {
    if (std::strcmp(argv[k], "--data") == 0)
      data = absolute(argv[k + 1]);
    else if (std::strcmp(argv[k], "--preferences") == 0)
      preferences = absolute(argv[k + 1]);
    else
      return usage();
  }
  out = absolute(out);
  std::string error;
  std::string runtime = enterTemporaryRuntimeFolder(data, &error);
  if (runtime.empty()) {
    std::fprintf(stderr, "screenshot: %s\n", error.c_str());
    return 1;
  }
  bindLanguageFolder(localeFolderOf(data));
  if (!preferences.empty()) {
    std::ifstream from(preferences);
    std::ofstream(preferencesPath) << from.rdbuf();
  }
  readPreferences();
  applyLanguageSetting();
  int status = drawState(state, out);
  leaveTemporaryRuntimeFolder(runtime);
  return status;
}

} // namespace

int main(int argc, char** argv) {
  return runGuarded("screenshot", [&] { return takeScreenshot(argc, argv); });
}
