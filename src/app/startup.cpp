// Start-up, the frame loop and shutdown. The loading order matters: the menus need the
// sensitivities and the loaded pieces, and the key bindings are written into menu buttons.
#include "ai/ai.h"
#include "app/input.h"
#include "app/play.h"
#include "app/screens.h"
#include "app/settings.h"
#include "app/shell.h"
#include "app/widgets.h"
#include "game/game.h"
#include "render/render.h"

#include <cstdarg>
#include <cstdio>
#include <iterator>

namespace {

constexpr uint32_t allSubsystems = 62001; // timer, audio, video, joystick, haptic, controllers,
                                          // events, sensors
const char* const fontPath = "Fonts/nasaFont.ttf";

// Without a sound card (or a joystick driver) SDL refuses the whole set at once; the game then
// brings the subsystems up one by one so it still starts, silently if need be.
void initialiseSdl() {
  if (SDL_Init(allSubsystems) == 0) return;
  const uint32_t subsystems[] = {SDL_INIT_TIMER,          SDL_INIT_EVENTS,   SDL_INIT_VIDEO,
                                 SDL_INIT_AUDIO,          SDL_INIT_JOYSTICK, SDL_INIT_HAPTIC,
                                 SDL_INIT_GAMECONTROLLER, SDL_INIT_SENSOR};
  for (uint32_t subsystem : subsystems) SDL_InitSubSystem(subsystem);
}

} // namespace

// Releases everything start-up made, in the reverse of its dependencies.
void shutDown() {
  releaseRenderCaches();
  closePads();
  SDL_DestroyRenderer(renderer);
  SDL_DestroyWindow(window);
  Mix_FreeMusic(mainMusic);
  for (Mix_Chunk* chunk :
       {placeBlockSound, clearLineSound, takeDamageSound, clickButtonSound, gameOverSound}) {
    Mix_FreeChunk(chunk);
  }
  Mix_Quit();
  TTF_Quit();
  SDL_Quit();
  renderer = nullptr;
  window = nullptr;
  mainMusic = nullptr;
  placeBlockSound = clearLineSound = takeDamageSound = clickButtonSound = gameOverSound = nullptr;
}

namespace {

// One clear line on standard error, then a clean exit with a failure status.
int fail(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  shutDown();
  return 1;
}

Mix_Chunk* loadChunk(const char* path, bool audioOpen) {
  Mix_Chunk* chunk = Mix_LoadWAV(path);
  if (!chunk && audioOpen)
    std::fprintf(stderr, "Brikka: could not load %s: %s\n", path, Mix_GetError());
  return chunk;
}

constexpr int frameWaitMilliseconds = 300; // for the window manager's frame; none comes without one

bool openWindow() {
  SDL_Rect usable = usableAreaAround(windowPlace);
  SDL_Rect place = fittedWindow(usable, {}, windowPlace);
  window = SDL_CreateWindow("Brikka", place.x, place.y, place.w, place.h,
                            SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI);
  if (!window) return false;
  renderer = SDL_CreateRenderer(window, 0, 0);
  // The first driver may be unusable (no OpenGL); any working renderer beats no game.
  if (!renderer) renderer = SDL_CreateRenderer(window, -1, 0);
  if (!renderer) return false;
  // Placed only now: a renderer may have made the window anew, and a window manager puts a new
  // window's frame, not the window, where it was asked (a title bar too low, more each start).
  // The frame is known a moment after the window appears; with it the window may have to
  // shrink to fit the usable area.
  WindowFrame frame;
  bool framed = false;
  for (int wait = 0; wait < frameWaitMilliseconds / 10 && !framed; ++wait) {
    SDL_PumpEvents();
    framed = SDL_GetWindowBordersSize(window, &frame.top, &frame.left, &frame.bottom,
                                      &frame.right) == 0 &&
             frame.top + frame.left + frame.bottom + frame.right > 0;
    if (!framed) SDL_Delay(10);
  }
  SDL_Rect fitted = fittedWindow(usable, frame, windowPlace);
  SDL_SetWindowSize(window, fitted.w, fitted.h);
  SDL_SetWindowPosition(window, fitted.x, fitted.y);
  // The command line decides for this run only; F11 decides for good.
  if (launchOptions.fullscreen >= 0 ? launchOptions.fullscreen == 1 : fullscreenOn)
    setFullscreen(true);
  else
    fullscreenOn = false;
  noteWindowPlace();
  applyVsync();
  // Everything is drawn and hit-tested at 1500 x 1000; SDL scales that to the window, keeping
  // the aspect with black bars.
  SDL_RenderSetLogicalSize(renderer, windowWidth, windowHeight);
  // Below half the drawing's size the menus' captions would be too small to read.
  SDL_SetWindowMinimumSize(window, smallestWindowWidth, smallestWindowHeight);
  SDL_RenderClear(renderer);
  particleLayoutHook = lineClearLayout; // cleared rows' squares fly where this drawing shows them
  return true;
}

bool openFonts() {
  TTF_Init();
  fontSmall = TTF_OpenFont(fontPath, 24);
  fontMedium = TTF_OpenFont(fontPath, 36);
  fontLarge = TTF_OpenFont(fontPath, 48);
  openMenuFonts(fontPath);
  return fontSmall && fontMedium && fontLarge;
}

void openAudio() {
  bool audioOpen = Mix_OpenAudio(44100, AUDIO_S16LSB, 2, 2048) >= 0;
  if (!audioOpen)
    printError("SDL_mixer could not initialize! SDL_mixer Error: %s\n", SDL_GetError());
  mainMusic = Mix_LoadMUS("Mixer/mainMusic.mp3");
  if (!mainMusic && audioOpen) {
    std::fprintf(stderr, "Brikka: could not load Mixer/mainMusic.mp3: %s\n", Mix_GetError());
  }
  Mix_PlayMusic(mainMusic, -1);
  applyVolumes();
  placeBlockSound = loadChunk("Mixer/placeBlock.wav", audioOpen);
  clearLineSound = loadChunk("Mixer/clearLine.wav", audioOpen);
  takeDamageSound = loadChunk("Mixer/takeDamage.wav", audioOpen);
  clickButtonSound = loadChunk("Mixer/clickButton.wav", audioOpen);
  gameOverSound = loadChunk("Mixer/gameOver.wav", audioOpen);
  soundHook = playSoundEffect;
}

} // namespace

bool openMenuFonts(const char* fontFile) {
  for (TTF_Font** font : {&menuFontSmall, &menuFontMedium, &menuFontLarge}) {
    if (*font) TTF_CloseFont(*font);
    *font = nullptr;
  }
  int32_t percent = uiScalePercent();
  if (percent == 100) return true; // the play fonts serve
  menuFontSmall = TTF_OpenFont(fontFile, 24 * percent / 100);
  menuFontMedium = TTF_OpenFont(fontFile, 36 * percent / 100);
  menuFontLarge = TTF_OpenFont(fontFile, 48 * percent / 100);
  if (menuFontSmall && menuFontMedium && menuFontLarge) return true;
  std::fprintf(stderr, "Brikka: could not open %s at %d %%; the menus stay at 100 %%\n", fontFile,
               static_cast<int>(percent));
  return false;
}

void applyUiScale() {
  openMenuFonts(fontPath);
  relayOutMenus();
}

void runFrame() {
  frameStartTicks = SDL_GetTicks();
  previousPerfCounter = currentPerfCounter;
  currentPerfCounter = SDL_GetPerformanceCounter();
  frameDelta =
      frameDeltaBetween(previousPerfCounter, currentPerfCounter, SDL_GetPerformanceFrequency());
  // The keys are read right after the last frame's wait and right before the update: nothing
  // stands between a key and the frame that answers it but the wait itself.
  handleEvents();
  updateFrame();
  drawFrame();
  presentedPerfCounter = SDL_GetPerformanceCounter();
  uint32_t sleep = frameSleepMilliseconds(frameStartTicks, SDL_GetTicks(), gameMode);
  if (sleep > 0) SDL_Delay(sleep);
}

void printError(const char* format, ...) {
  va_list arguments;
  va_start(arguments, format);
  std::vprintf(format, arguments);
  va_end(arguments);
  std::fflush(stdout);
}

void playSoundEffect(SoundEffect effect, int channel) {
  // In the order of SoundEffect.
  Mix_Chunk* const chunks[] = {placeBlockSound, clearLineSound, takeDamageSound, clickButtonSound,
                               gameOverSound};
  size_t index = static_cast<size_t>(effect);
  if (index < std::size(chunks) && chunks[index]) Mix_PlayChannel(channel, chunks[index], 0);
}

int runGame() {
  int status = startUp();
  if (status != 0) return status;
  runFrames();
  leaveOnlineGame();  // the opponent learns at once rather than after 5 s of silence
  savePendingElite(); // quitting in the middle of a training run
  saveWindowPlace();  // a window is moved in many small steps: its place is kept once, here
  shutDown();
  return 0;
}

void runFrames() {
  while (running) runFrame();
}

int startUp() {
  if (!enterRuntimeFolder()) return 1;
  readPreferences(); // the window's place and full screen are among them
  initialiseSdl();
  applyLanguageSetting();
  if (!openWindow()) {
    return fail(std::string(window ? "Brikka: could not create the renderer: "
                                   : "Brikka: could not create the window: ") +
                SDL_GetError());
  }
  if (!openFonts())
    return fail(std::string("Brikka: could not open the font ") + fontPath + ": " + TTF_GetError());
  openAudio();

  loadNetwork(bestNetworkPath);
  describeBotNetwork();
  std::string error;
  if (!loadPieceFiles(&error)) return fail(error);
  applyRememberedPieces();
  resetBoards(0);
  setUpGame();
  if (!loadPieceColours(&error)) return fail(error);
  loadFitnessParams();
  readSensitivities();
  buildMenus();
  controls.clear();
  readControls(true);
  readHighscore();
  startGamepads();
  applyLaunchOptions();
  startOnlineFromCommandLine();
  return 0;
}
