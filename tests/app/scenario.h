// Whole frames driven the way a player drives them: point, click, let time pass. Each test runs
// in a fresh working folder with an empty Storage/, removed afterwards.
#pragma once

#include "app/app.h"
#include "game/game.h"
#include "pictures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

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

inline std::string readFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

inline void writeFile(const std::string& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
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

class Scenario : public testing::Test {
protected:
  void SetUp() override {
    folder = std::filesystem::temp_directory_path() / ("brikka-" + std::to_string(getpid()));
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "Storage");
    std::filesystem::current_path(folder);
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << SDL_GetError();
    start({pieceFromPicture({"#"})});
  }
  void TearDown() override {
    SDL_Quit();
    std::filesystem::current_path(folder.parent_path());
    std::filesystem::remove_all(folder);
  }
  // The program as start-up leaves it, on the main menu, with the given pieces loaded.
  static void start(const std::vector<Piece>& pieces) {
    static const uint8_t noKeys[SDL_NUM_SCANCODES] = {};
    soundHook = nullptr;
    useCatalogue(pieces);
    controls.assign(defaultControls, defaultControls + controlCount);
    p1Sensitivity = p2Sensitivity = 0.1;
    buildMenus();
    resetBoards(0);
    setUpGame();
    gameMode = currentScreen = highscore = lastHoveredChoice = 0;
    awaitingKeyBinding = mouseClicked = mouseHeld = mouseDownLatch = mouseReleased = false;
    running = true;
    computeActionFlags(noKeys); // forget keys held in earlier tests
  }

  std::filesystem::path folder;
};
