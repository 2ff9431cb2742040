// Definitions of the game core's program-wide state, with the values in force before start-up.
#include "game/state.h"

int32_t gameMode = menuMode;
double frameDelta = 0.0;
SoundHook soundHook = nullptr;
LockHook lockHook = nullptr;
ParticleLayoutHook particleLayoutHook = nullptr;
RandomStream randomStream;
RandomState gameStartRandom;
uint32_t gameSerial = 0;

int32_t soloVariant = marathonVariant;
double countdownLeft = 0.0;
double gameClock = 0.0;
int32_t p1Lines = 0, p2Lines = 0;
int32_t p1GarbageSent = 0, p2GarbageSent = 0;

bool p1MoveRight, p1MoveLeft, p1RotateCw, p1RotateCcw, p1SoftDrop, p1HardDrop, p1Hold;
bool p2MoveRight, p2MoveLeft, p2RotateCw, p2RotateCcw, p2SoftDrop, p2HardDrop, p2Hold;
int32_t p1MoveCells = 1, p2MoveCells = 1;
int32_t p1SoftDropFactor = classicSoftDrop, p2SoftDropFactor = classicSoftDrop;

std::vector<Piece> loadedPieces;
std::vector<bool> pieceSelection;
std::vector<bool> defaultPieceSelection;
std::vector<bool> ownPieceSelection;
std::vector<Piece> pieceCatalogue;
std::vector<int32_t> catalogueSource;
std::vector<std::vector<int32_t>> pieceColours;

Board p1Board{}, p2Board{};
int32_t p1PieceId = 0, p2PieceId = 0;
int32_t p1Rotation = 0, p2Rotation = 0;
Point p1Position = spawnPosition, p2Position = spawnPosition;
double p1GravityTimer = 100.0, p2GravityTimer = 100.0;
double p1LockTimer = 100.0, p2LockTimer = 100.0;
double p1LockDelay = 100.0, p2LockDelay = 100.0;
int32_t p1HeldPiece = 0, p2HeldPiece = 0;
bool p1HoldUsed = false, p2HoldUsed = false;
LockRecord p1LastLock, p2LastLock;
std::vector<Point> p1GhostCells, p2GhostCells;
double gravityInterval = 100.0;

std::deque<int32_t> pieceQueue;
RandomStream* pieceStream = nullptr;
int32_t queueBase = 0;
int32_t p1PieceCount = 0, p2PieceCount = 0;
int32_t score = 0;
bool p1GameOver = false, p2GameOver = false;
int32_t p1Losses = 0, p2Losses = 0;
bool matchOver = false;
std::vector<LineClearParticle> lineClearParticles;
std::vector<MenuPiece> menuPieces;

std::vector<DamageRecord> p1IncomingDamage, p2IncomingDamage;
double damageDelay = 500.0;
double p1DamageFlash = 0.0, p2DamageFlash = 0.0;

PlayerState playerState(int player) {
  if (player == 1)
    return {p1Board,       p1PieceId,    p1Rotation,  p1Position,       p1GravityTimer,
            p1LockTimer,   p1LockDelay,  p1HeldPiece, p1HoldUsed,       p1GhostCells,
            p1PieceCount,  p2PieceCount, p1GameOver,  p1IncomingDamage, p2IncomingDamage,
            p1DamageFlash, p1MoveRight,  p1MoveLeft,  p1RotateCw,       p1RotateCcw,
            p1SoftDrop,    p1HardDrop,   p1Hold,      p1MoveCells,      p1SoftDropFactor,
            p1LastLock};
  return {p2Board,       p2PieceId,    p2Rotation,  p2Position,       p2GravityTimer,
          p2LockTimer,   p2LockDelay,  p2HeldPiece, p2HoldUsed,       p2GhostCells,
          p2PieceCount,  p1PieceCount, p2GameOver,  p2IncomingDamage, p1IncomingDamage,
          p2DamageFlash, p2MoveRight,  p2MoveLeft,  p2RotateCw,       p2RotateCcw,
          p2SoftDrop,    p2HardDrop,   p2Hold,      p2MoveCells,      p2SoftDropFactor,
          p2LastLock};
}

void resetGameState() {
  gameMode = menuMode;
  frameDelta = 0.0;
  soloVariant = marathonVariant;
  gameClock = 0.0;
  p1Lines = p2Lines = 0;
  p1GarbageSent = p2GarbageSent = 0;
  for (int player : {1, 2}) {
    PlayerState s = playerState(player);
    s.moveRight = s.moveLeft = s.rotateCw = s.rotateCcw = false;
    s.softDrop = s.hardDrop = s.hold = false;
    s.moveCells = 1;
    s.softDropFactor = classicSoftDrop;
    s.board = Board{};
    s.pieceId = s.rotation = s.heldPiece = s.pieceCount = 0;
    s.position = spawnPosition;
    s.gravityTimer = s.lockTimer = s.lockDelay = 100.0;
    s.holdUsed = s.gameOver = false;
    s.ghostCells.clear();
    s.incomingDamage.clear();
    s.damageFlash = 0.0;
  }
  gravityInterval = 100.0;
  pieceQueue.clear();
  pieceStream = nullptr;
  queueBase = 0;
  score = 0;
  p1Losses = p2Losses = 0;
  matchOver = false;
  lineClearParticles.clear();
  menuPieces.clear();
  damageDelay = 500.0;
}
