// Whole frames driven the way a player drives them: point, click, let time pass. Each test runs
// in a fresh working folder with an empty Storage/, removed afterwards.
#pragma once

#include "app/input.h"
#include "app/screens.h"
#include "app/settings.h"
#include "app/widgets.h"
#include "folders.h"
#include "game/game.h"
#include "pictures.h"
#include "render/render.h"

// One frame with the pointer at (x, y); a click holds the button down in the same frame.
inline void frame(int x, int y, bool click = false, bool held = false) {
  mousePosition = {x, y};
  mouseClicked = click;
  mouseReleased = mouseHeld && !click && !held;
  mouseHeld = click || held;
  frameDelta = 1.6;
  updateFrame();
}

inline void clickOn(const Button& button) {
  frame(button.position.x + button.size.x / 2, button.position.y + button.size.y / 2, true);
}

// The given events (mouse ones from the left button) arrive within one frame.
inline void push(std::initializer_list<uint32_t> types) {
  for (uint32_t type : types) {
    SDL_Event event{};
    event.type = type;
    event.button.button = SDL_BUTTON_LEFT;
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
  }
  handleEvents();
}

// Every key up: no action flag stays set from earlier frames or tests.
inline void releaseKeys() {
  eventKeys.fill(0);
  static const uint8_t noKeys[SDL_NUM_SCANCODES] = {};
  computeActionFlags(noKeys);
}

// A key goes down or up in SDL's queue; the next handleEvents sees it.
inline void keyEvent(SDL_Scancode scancode, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.keysym.scancode = scancode;
  ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
}

// One frame of play with these key events before it.
inline void playFrame(std::initializer_list<std::pair<SDL_Scancode, bool>> events) {
  for (const auto& [scancode, down] : events) keyEvent(scancode, down);
  handleEvents();
  frameDelta = 1.6;
  updateFrame();
}

// A key pressed and let go, as the events and the frame after them see it.
inline void pressKey(SDL_Scancode scancode) {
  playFrame({{scancode, true}, {scancode, false}});
}

// The names in the replays folder, sorted.
inline std::vector<std::string> storedReplays() {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(replaysFolder))
    names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class Scenario : public TempFolder {
protected:
  void SetUp() override {
    TempFolder::SetUp();
    enter();
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    start({pieceFromPicture({"#"})});
  }
  void TearDown() override {
    SDL_Quit();
    TempFolder::TearDown();
  }
  // The program as start-up leaves it, on the main menu, with the given pieces loaded.
  static void start(const std::vector<Piece>& pieces) {
    soundHook = nullptr;
    particleLayoutHook = lineClearLayout;
    useCatalogue(pieces);
    controls.assign(defaultControls, defaultControls + controlCount);
    p1Sensitivity = p2Sensitivity = 0.1;
    p1Handling = p2Handling = Handling{};
    p1Shift = p2Shift = ShiftMemory{};
    buildMenus();
    resetGameState();
    setUpGame();
    gameMode = currentScreen = highscore = lastHoveredChoice = 0;
    awaitingKeyBinding = mouseClicked = mouseHeld = mouseDownLatch = mouseReleased = false;
    running = true;
    countdownLeft = 0.0;
    releaseKeys(); // forget keys held in earlier tests
  }
};
