// Whole frames driven the way a player drives them: point, click, let time pass.
#pragma once

#include "app/app.h"
#include "game/game.h"
#include "pictures.h"
#include "tempstorage.h"

#include <string>

// One frame with the pointer at (x, y); a click holds the button down in the same frame.
inline void frame(int x, int y, bool click = false, bool held = false, double delta = 1.6) {
  mousePosition = {x, y};
  mouseClicked = click;
  mouseReleased = mouseHeld && !click && !held;
  mouseHeld = click || held;
  frameDelta = delta;
  updateFrame();
}

inline void clickOn(const Button& button) {
  frame(button.position.x + button.size.x / 2, button.position.y + button.size.y / 2, true);
}

inline void emptyBoard(Board& board) {
  for (auto& column : board) column.fill(0);
}

// The program as start-up leaves it, on the main menu, with the given pieces loaded.
inline void freshProgram(const std::vector<Piece>& pieces) {
  soundHook = nullptr;
  useCatalogue(pieces);
  controls.assign(defaultControls, defaultControls + controlCount);
  buildMenus();
  resetBoards(0);
  setUpGame();
  gameMode = 0;
  currentScreen = 0;
  highscore = 0;
  awaitingKeyBinding = false;
  lastHoveredChoice = 0;
}

inline Piece singleBlock() {
  return pieceFromPicture({"#"});
}

// Every scenario starts from a fresh program with one single-block piece, in its own folder.
class Scenario : public TempStorage {
protected:
  void SetUp() override {
    TempStorage::SetUp();
    freshProgram({singleBlock()});
  }
};
