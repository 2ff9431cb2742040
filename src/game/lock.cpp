// Locking a piece: writing it into the board, the next piece of the shared sequence, the
// top-out test, line clears with their particles, scoring and sounds.
#include "game/game.h"

namespace {

constexpr int32_t pointsPerRow = 100;

// Squares fly from every cleared row of a game (solo and both versus players), not in training
// or behind the menus.
bool squaresFly(int player) {
  return versusMode() || (player == 1 && gameMode == soloPlayMode);
}

// A row's squares, each with an acceleration of its own drawn from the game's stream: the draws
// are part of the game (the pieces after them depend on them) whether or not anything is drawn.
void addRowParticles(const ParticleLayout* layout, int32_t row) {
  for (int32_t c = 0; c < boardWidth; ++c) {
    double acceleration = (randomDraw() % 10) / 10.0 + 0.2;
    if (!layout) continue;
    LineClearParticle particle;
    particle.x = layout->left + layout->cell * c;
    particle.y = layout->top + layout->cell * row;
    particle.targetX = layout->targetX;
    particle.targetY = layout->targetY;
    particle.size = layout->size;
    particle.targetSize = 10.0;
    particle.speed = 0.0;
    particle.acceleration = acceleration;
    lineClearParticles.push_back(particle);
  }
}

bool rowFull(const Board& board, int32_t y) {
  for (int32_t x = 0; x < boardWidth; ++x)
    if (board[x][y] == 0) return false;
  return true;
}

// Removes full rows from the bottom up, moving the rows above down; returns how many.
int32_t clearFullRows(int player) {
  Board& board = playerState(player).board;
  bool fly = squaresFly(player);
  const ParticleLayout* layout = fly && particleLayoutHook ? particleLayoutHook(player) : nullptr;
  int32_t cleared = 0;
  for (int32_t y = boardHeight - 1; y >= 0; --y) {
    if (rowFull(board, y)) {
      ++cleared;
      for (int32_t x = 0; x < boardWidth; ++x) board[x][y] = 0;
      if (fly) addRowParticles(layout, y);
    } else if (cleared > 0) {
      for (int32_t x = 0; x < boardWidth; ++x) board[x][y + cleared] = board[x][y];
    }
  }
  for (int32_t y = 0; y < cleared; ++y)
    for (int32_t x = 0; x < boardWidth; ++x) board[x][y] = 0;
  return cleared;
}

// Writes the falling piece into the board; blocks off the board are dropped.
void writePiece(int player) {
  PlayerState s = playerState(player);
  const PieceGrid& grid = currentGrid(player);
  for (size_t c = 0; c < grid.size(); ++c) {
    int32_t x = s.position.x + static_cast<int32_t>(c);
    for (size_t r = 0; r < grid[c].size(); ++r) {
      int32_t y = s.position.y + static_cast<int32_t>(r);
      if (grid[c][r] == 1 && x >= 0 && x < boardWidth && y >= 0 && y < boardHeight)
        s.board[x][y] = s.pieceId;
    }
  }
}

} // namespace

void playGameSound(SoundEffect effect, int channel) {
  if (gameMode != menuMode && gameMode != trainingMode) playSound(effect, channel);
}

bool versusMode() {
  return gameMode == playerVersusMode || gameMode == versusBotMode || gameMode == onlineVersusMode;
}

LockOutcome lockPiece(int player) {
  PlayerState s = playerState(player);
  LockRecord& record = s.lastLock;
  record.pieceId = s.pieceId;
  record.rotation = s.rotation;
  record.position = s.position;
  record.fromHold = s.holdUsed;
  ++record.serial;
  playGameSound(SoundEffect::placeBlock, 1);
  writePiece(player);
  takeNextPiece(player);
  s.position = spawnPosition;
  s.rotation = 0;

  // Rows this lock completes still block the spawn: the top-out test comes before the clear.
  bool toppedOut = !pieceFits(player, currentGrid(player), 0, 0, &spawnPosition);
  if (toppedOut) {
    playGameSound(SoundEffect::gameOver, 0);
    s.gameOver = true;
  }

  s.gravityTimer = gravityInterval;
  s.lockTimer = s.lockDelay;
  s.holdUsed = false;

  int32_t cleared = clearFullRows(player);
  (player == 1 ? p1Lines : p2Lines) += cleared;
  if (cleared > 0) {
    if (player == 1) score += pointsPerRow * cleared;
    playGameSound(SoundEffect::clearLine, 1);
  }
  size_t waiting = s.incomingDamage.size();
  record.risenRows = exchangeDamage(player, cleared);
  record.cleared = cleared;
  record.risen = cleared == 0 ? static_cast<int32_t>(waiting - s.incomingDamage.size()) : 0;
  if (lockHook) lockHook(player);
  return {cleared, toppedOut};
}

void takeNextPiece(int player) {
  PlayerState s = playerState(player);
  ++s.pieceCount;
  // Only a game that skipped set-up can be short of entries; fill it rather than read past.
  while (static_cast<int32_t>(pieceQueue.size()) <= s.pieceCount - queueBase)
    pieceQueue.push_back(nextPieceId());
  s.pieceId = pieceQueue[s.pieceCount - queueBase];
  if (s.pieceCount > s.otherPieceCount) {
    pieceQueue.push_back(nextPieceId());
  } else {
    pieceQueue.pop_front();
    ++queueBase;
  }
  // Outside a versus game the other player either does not play (solo, training, one-bot demos)
  // or is a menu demo that need not see every piece: it keeps pace, so the queue stays eight
  // long instead of growing with every piece. Its falling piece stays as it is.
  if (versusMode()) return;
  while (s.otherPieceCount < s.pieceCount && pieceQueue.size() > 1) {
    ++s.otherPieceCount;
    pieceQueue.pop_front();
    ++queueBase;
  }
}

int32_t nextPieceId() {
  const int32_t pieceCount = static_cast<int32_t>(pieceCatalogue.size());
  if (pieceCount == 0) return 0;
  // The last four entries; a candidate found among them is drawn again, and each re-draw
  // forgets the most recent match, so at most four re-draws happen.
  std::array<int32_t, 4> window{};
  size_t windowSize = 0;
  size_t first = pieceQueue.size() > 4 ? pieceQueue.size() - 4 : 0;
  for (size_t i = first; i < pieceQueue.size(); ++i) window[windowSize++] = pieceQueue[i];
  for (;;) {
    // An online game deals from its own stream, seeded alike on both machines.
    int32_t draw = pieceStream ? streamDraw(*pieceStream) : randomDraw();
    int32_t candidate = draw % pieceCount + 1;
    size_t match = windowSize;
    for (size_t i = 0; i < windowSize; ++i)
      if (window[i] == candidate) match = i;
    if (match == windowSize) return candidate;
    for (size_t i = match + 1; i < windowSize; ++i) window[i - 1] = window[i];
    --windowSize;
  }
}
