// Helpers shared by the rules' tests: a fresh game on a catalogue drawn as pictures.
#pragma once

#include "game/game.h"
#include "pictures.h"

inline const Piece tPiece = pieceFromPicture({".#.", "###", "..."});
inline const Piece oPiece = pieceFromPicture({"##", "##"});
inline const Piece iPiece = pieceFromPicture({"....", "####", "....", "...."});
inline const Piece longBar = pieceFromPicture({".....", ".....", "#####", ".....", "....."});

using Sounds = std::vector<std::pair<SoundEffect, int>>;
inline Sounds soundsPlayed; // every effect the rules asked for, with its channel

// A new game in the given mode on the given pieces: fixed seed, 1/100 s frames, no key down.
inline void startGame(const std::vector<Piece>& pieces, int32_t mode = 1) {
  resetGameState();
  useCatalogue(pieces);
  gameMode = mode;
  frameDelta = 1.0;
  soundsPlayed.clear();
  soundHook = [](SoundEffect effect, int channel) { soundsPlayed.push_back({effect, channel}); };
  seedRandom(7);
  setUpGame();
}

// Makes the player's falling piece the given id and rotation at a position.
inline void placePiece(int player, int32_t id, int32_t rotation, Point at) {
  PlayerState s = playerState(player);
  s.pieceId = id;
  s.rotation = rotation;
  s.position = at;
}

// Player 1's rotation, x and y, to compare in one go.
inline std::vector<int32_t> pose() {
  return {p1Rotation, p1Position.x, p1Position.y};
}

// Locks a standing five-bar (id 1) into column 9, rows 15 to 19, over the given bottom rows.
inline void lockBar(int player, const std::vector<std::string>& rows) {
  playerState(player).board = boardFromPicture(rows);
  placePiece(player, 1, 1, {7, 15});
  lockPiece(player);
}

// A whole board picture from its bottom rows.
inline std::vector<std::string> bottomRows(std::vector<std::string> rows) {
  rows.insert(rows.begin(), boardHeight - rows.size(), "..........");
  return rows;
}
