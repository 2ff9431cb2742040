// Bringing the game to a known start: empty boards, and a fresh game for both players.
#include "game/game.h"

namespace {

constexpr int menuPieceCount = 30;
constexpr int queueLength = 8;

void setUpMenuPieces() {
  menuPieces.clear();
  const int32_t pieceCount = static_cast<int32_t>(pieceCatalogue.size());
  if (pieceCount == 0) return;
  for (int i = 0; i < menuPieceCount; ++i) {
    MenuPiece piece;
    piece.pieceIndex = randomDraw() % pieceCount;
    piece.rotation = randomDraw() % 4;
    piece.blockWidth = 20 + 0.5 * i;
    piece.blockHeight = piece.blockWidth;
    piece.x = randomDraw() % windowWidth;
    piece.y = randomDraw() % windowHeight;
    menuPieces.push_back(piece);
  }
}

} // namespace

void resetBoards(int32_t which) {
  if (which != 2) p1Board = Board{};
  if (which != 1) p2Board = Board{};
}

void setUpGame() {
  // Everything a replay needs to deal this game's pieces again.
  gameStartRandom = saveRandomState(randomStream);
  ++gameSerial;
  gameClock = 0.0;
  p1Lines = p2Lines = 0;
  p1GarbageSent = p2GarbageSent = 0;
  rebuildCatalogue();
  p1Board = Board{};
  p1Position = spawnPosition;
  p2Position = spawnPosition;
  gravityInterval = 100.0;
  // The very first piece of a game comes turned; every later one in rotation 0.
  p1Rotation = 3;
  p2Rotation = 3;
  p1GravityTimer = p2GravityTimer = 100.0;
  p1LockTimer = p2LockTimer = 100.0;
  p1LockDelay = p2LockDelay = 100.0;
  p1GhostCells.clear();
  p2GhostCells.clear();
  p1HeldPiece = p2HeldPiece = 0;
  p1HoldUsed = p2HoldUsed = false;
  matchOver = false;
  p1GameOver = p2GameOver = false;
  p1Losses = p2Losses = 0;
  pieceQueue.clear();
  for (int i = 0; i < queueLength; ++i) pieceQueue.push_back(nextPieceId());
  p1PieceCount = p2PieceCount = 0;
  p1PieceId = p2PieceId = pieceQueue.front();
  queueBase = 0;
  lineClearParticles.clear();
  score = 0;
  p1DamageFlash = p2DamageFlash = 0.0;
  p2IncomingDamage.clear();
  p1IncomingDamage.clear();
  damageDelay = 500.0;
  p2Board = Board{};
  setUpMenuPieces();
}
