// The rules' part of recording a game: the inputs a frame consumed, read from the flags before
// the frame and put back into them on playback, and the result a game came to.
#include "game/replay.h"

#include "game/game.h"

namespace {

bool* const actionFlags[14] = {&p1MoveRight, &p1MoveLeft, &p1RotateCw,  &p1RotateCcw, &p1SoftDrop,
                               &p1HardDrop,  &p1Hold,     &p2MoveRight, &p2MoveLeft,  &p2RotateCw,
                               &p2RotateCcw, &p2SoftDrop, &p2HardDrop,  &p2Hold};

} // namespace

bool sameHandling(const ReplayFrame& a, const ReplayFrame& b) {
  for (int i = 0; i < 2; ++i)
    if (a.moveCells[i] != b.moveCells[i] || a.softDropFactor[i] != b.softDropFactor[i])
      return false;
  return true;
}

void addReplayFrame(Replay& replay, const ReplayFrame& frame) {
  if (!replay.frames.empty() && !frame.clicked) {
    ReplayFrame& last = replay.frames.back();
    if (last.delta == frame.delta && last.actions == frame.actions &&
        last.stepped == frame.stepped && !last.clicked && sameHandling(last, frame)) {
      ++last.repeat;
      return;
    }
  }
  replay.frames.push_back(frame);
  replay.frames.back().repeat = 1;
}

ReplayFrame currentFrame() {
  ReplayFrame f;
  f.delta = frameDelta;
  for (int i = 0; i < 14; ++i)
    if (*actionFlags[i]) f.actions |= static_cast<uint16_t>(1u << i);
  f.moveCells[0] = p1MoveCells;
  f.moveCells[1] = p2MoveCells;
  f.softDropFactor[0] = p1SoftDropFactor;
  f.softDropFactor[1] = p2SoftDropFactor;
  return f;
}

void useFrameInputs(const ReplayFrame& frame) {
  frameDelta = frame.delta;
  for (int i = 0; i < 14; ++i) *actionFlags[i] = (frame.actions >> i) & 1;
  p1MoveCells = frame.moveCells[0];
  p2MoveCells = frame.moveCells[1];
  p1SoftDropFactor = frame.softDropFactor[0];
  p2SoftDropFactor = frame.softDropFactor[1];
}

ReplayResult currentResult(uint32_t frames) {
  return {score, p1Lines, p1PieceCount, p1GarbageSent, frames, gameClock, boardHash()};
}

uint64_t boardHash() {
  uint64_t hash = hashStart;
  for (const Board* board : {&p1Board, &p2Board})
    for (const auto& column : *board)
      for (int32_t cell : column) hash = hashBytes(hash, &cell, sizeof cell);
  return hash;
}
