// Helpers shared by the rules' tests: a fresh game on a catalogue drawn as pictures.
#pragma once

#include "game/game.h"
#include "pictures.h"

inline const Piece tPiece = pieceFromPicture({".#.", "###", "..."});
inline const Piece oPiece = pieceFromPicture({"##", "##"});
inline const Piece iPiece = pieceFromPicture({"....", "####", "....", "...."});
inline const Piece longBar = pieceFromPicture({".....", ".....", "#####", ".....", "....."});

// A new game in the given mode on the given pieces, with a fixed seed and 1/100 s frames.
inline void startGame(const std::vector<Piece>& pieces, int32_t mode = 1) {
  useCatalogue(pieces);
  gameMode = mode;
  frameDelta = 1.0;
  soundHook = nullptr;
  seedRandom(7);
  for (int player : {1, 2}) {
    PlayerState s = playerState(player);
    s.moveRight = s.moveLeft = s.rotateCw = s.rotateCcw = s.softDrop = s.hardDrop = s.hold = false;
  }
  resetBoards(0);
  setUpGame();
}

// Makes the player's falling piece the given id and rotation at a position.
inline void placePiece(int player, int32_t id, int32_t rotation, Point at) {
  PlayerState s = playerState(player);
  s.pieceId = id;
  s.rotation = rotation;
  s.position = at;
}

// A whole board picture from its bottom rows.
inline std::vector<std::string> bottomRows(std::vector<std::string> rows) {
  rows.insert(rows.begin(), boardHeight - rows.size(), "..........");
  return rows;
}
