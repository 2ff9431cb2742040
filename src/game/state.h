// Game core state: every program-wide variable of the rules lives here.
// Defined once in state.cpp. No SDL: the rules run the same in the window, in tests and in tools.
#pragma once

#include <array>
#include <cstdint>
#include <cstdlib>
#include <deque>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------------------

constexpr int boardWidth = 10;  // columns of a board
constexpr int boardHeight = 20; // rows of a board (row 0 at the top)

struct Point {
  int32_t x = 0;
  int32_t y = 0;
};

// One rotation of a piece: a list of columns, each a list of cells from the top down.
// Only the value 1 is a block; columns may have different lengths.
using PieceGrid = std::vector<std::vector<int32_t>>;

// A piece with its four rotations written out; index = rotation 0..3.
struct Piece {
  std::array<PieceGrid, 4> grids;
};

// A board, column x then row y: 0 empty, 1..N a piece id, 100..102 garbage.
using Board = std::array<std::array<int32_t, boardHeight>, boardWidth>;

// Garbage waiting to rise into a board.
struct DamageRecord {
  int32_t rows = 0;   // garbage rows to add
  int32_t hole = 0;   // column left empty in all of them
  double timer = 0.0; // frameDelta units left before it may rise
};

// A white square flying from a cleared cell towards its target.
struct LineClearParticle {
  double x, y;             // top-left corner on screen
  double targetX, targetY; // where it flies
  double size, targetSize; // side length now and at the end
  double speed, acceleration;
};
// Where a player's squares start and fly to, as the drawing lays the wells out.
struct ParticleLayout {
  double left, top, cell;  // top-left corner of the board as drawn and its cell size
  double targetX, targetY; // where every square flies
  double size;             // starting side length
};
// The drawing's layout for a player's squares in gameMode; null when it draws none.
using ParticleLayoutHook = const ParticleLayout* (*)(int player);

// A decorative piece drifting behind the menus.
struct MenuPiece {
  double pieceIndex;  // 0-based index into pieceCatalogue
  double rotation;    // rotation index 0..3
  double blockWidth;  // block width in pixels; also the drift speed and brightness
  double blockHeight; // block height in pixels
  double x, y;        // top-left corner of the piece grid
};

// A stream of rand()'s numbers with its own state (the C library's generator with a 128-byte
// table, as srand uses). Holds pointers into its own table: never copy one, save its state.
struct RandomStream {
  random_data data{};            // the C library's generator state
  std::array<char, 128> table{}; // its table
};

// A stream's state as plain values: the table and the generator's two positions in it.
struct RandomState {
  std::array<char, 128> table{};
  int32_t front = 0; // index of the front pointer in the table's 31 numbers
  int32_t rear = 0;  // index of the rear pointer
};

// What a player's last lock placed: online play tells the other side from it, and the finesse
// count measures it.
struct LockRecord {
  int32_t pieceId = 0;   // the piece locked
  int32_t rotation = 0;  // its rotation 0..3
  Point position;        // where it locked
  bool fromHold = false; // it came out of hold (or hold dealt it) since the lock before
  int32_t cleared = 0;   // rows it cleared
  int32_t risen = 0;     // waiting garbage records that rose into the board with it
  int32_t risenRows = 0; // the rows of those records
  uint32_t serial = 0;   // counts the player's locks: a new value is a new placement
};
using LockHook = void (*)(int player); // told after every lock; the record is in pNLastLock

// Sound effects leave the core through soundHook; the app fills it in.
enum class SoundEffect { placeBlock, clearLine, takeDamage, clickButton, gameOver };
using SoundHook = void (*)(SoundEffect effect, int channel);

// Garbage cell values by receiver.
constexpr int32_t garbageGrey = 100; // player 1 outside "Player Versus"
constexpr int32_t garbageRed = 101;  // player 2
constexpr int32_t garbageBlue = 102; // player 1 in "Player Versus"

constexpr Point spawnPosition = {3, 0}; // where every piece appears

// gameMode's values. The variable stays a plain number (replays and tools store it); these
// name each value once.
enum GameMode : int32_t {
  menuMode = 0,         // the menus; currentScreen says which
  soloPlayMode = 1,     // "Solo Play", and its races (soloVariant)
  playerVersusMode = 2, // "Player Versus"
  trainingMode = 3,     // "Training AI"
  versusBotMode = 4,    // "Versus Bot": the bot is player 2
  onlineVersusMode = 8, // a game against a player on the network
};

constexpr const char* gameVersion = BRIKKA_VERSION; // this build's version, from the build files

// The window the game is laid out in: the menu backdrop uses it too.
constexpr int windowWidth = 1500;
constexpr int windowHeight = 1000;

// ---------------------------------------------------------------------------------------------
// Mode and clock (written by the shell, read by the rules)
// ---------------------------------------------------------------------------------------------

extern int32_t gameMode;    // 0 menus, 1 solo, 2 player versus, 3 training, 4 versus bot, 8 online
extern double frameDelta;   // last frame's length in hundredths of a second
extern SoundHook soundHook; // plays a sound effect; null = silent (tests, tools)
extern LockHook lockHook;   // hears of every lock; null = nobody listens (online play sets it)
// Where cleared rows' squares fly; null = nowhere: the squares' random draws are made all the
// same, so a game plays the same with or without a window (the window sets it, headless play not).
extern ParticleLayoutHook particleLayoutHook;
extern RandomStream randomStream;   // every randomDraw; unseeded it draws as srand(1) would
extern RandomState gameStartRandom; // randomStream as the last setUpGame found it
extern uint32_t gameSerial;         // counts setUpGame calls: a new value is a fresh game

// ---------------------------------------------------------------------------------------------
// Solo variants, game clock and counts of the game being played
// ---------------------------------------------------------------------------------------------

// "Solo Play" (the marathon), "Sprint" and "Ultra" share gameMode 1 and all its rules; only the
// end differs.
enum SoloVariant : int32_t { marathonVariant, sprintVariant, ultraVariant };
constexpr int32_t sprintLines = 40;       // a sprint ends when player 1 has cleared these
constexpr double ultraDuration = 12000.0; // an ultra game's length in frameDelta units (2 min)

extern int32_t soloVariant; // which solo game gameMode 1 plays
// frameDelta units before a race starts (the first piece waits); 0 = in play.
extern double countdownLeft;
extern double gameClock;                     // frameDelta units played this game (pauses not)
extern int32_t p1Lines, p2Lines;             // rows cleared this game
extern int32_t p1GarbageSent, p2GarbageSent; // garbage rows sent to the other this game

// ---------------------------------------------------------------------------------------------
// Action flags: set by input (or cleared by the bot), read by stepPlayer
// ---------------------------------------------------------------------------------------------

extern bool p1MoveRight, p1MoveLeft, p1RotateCw, p1RotateCcw, p1SoftDrop, p1HardDrop, p1Hold;
extern bool p2MoveRight, p2MoveLeft, p2RotateCw, p2RotateCcw, p2SoftDrop, p2HardDrop, p2Hold;

// What the player's handling makes of a set move or soft-drop flag this frame. Input writes
// them with the flags; a replay records them, so it plays back whatever the viewer's handling.
constexpr int32_t classicSoftDrop = -1;  // the original rule: a row per fiftieth of the interval
constexpr int32_t instantSoftDrop = 0;   // straight to the floor, without locking
extern int32_t p1MoveCells, p2MoveCells; // columns a set move flag moves: 1, up to boardWidth
extern int32_t p1SoftDropFactor, p2SoftDropFactor; // classicSoftDrop, instantSoftDrop or 1..40

// ---------------------------------------------------------------------------------------------
// Pieces and colours
// ---------------------------------------------------------------------------------------------

extern std::vector<Piece> loadedPieces;                // every piece of the five files, load order
extern std::vector<bool> pieceSelection;               // flag k: loaded piece k is in play
extern std::vector<bool> defaultPieceSelection;        // the selection as loaded (fallback reset)
extern std::vector<bool> ownPieceSelection;            // the player's, while others' play; or empty
extern std::vector<Piece> pieceCatalogue;              // the selected pieces; id = index + 1
extern std::vector<int32_t> catalogueSource;           // loaded index of each catalogue entry
extern std::vector<std::vector<int32_t>> pieceColours; // row k: R, G, B of loaded piece k

// ---------------------------------------------------------------------------------------------
// Boards and falling pieces, per player
// ---------------------------------------------------------------------------------------------

extern Board p1Board, p2Board;                        // the two wells
extern int32_t p1PieceId, p2PieceId;                  // falling piece id (1-based)
extern int32_t p1Rotation, p2Rotation;                // rotation index 0..3
extern Point p1Position, p2Position;                  // board cell under grid cell (0, 0)
extern double p1GravityTimer, p2GravityTimer;         // counts down to the next gravity row
extern double p1LockTimer, p2LockTimer;               // counts down while the piece rests
extern double p1LockDelay, p2LockDelay;               // what the lock timer restarts from
extern int32_t p1HeldPiece, p2HeldPiece;              // hold slot, 0 = empty
extern bool p1HoldUsed, p2HoldUsed;                   // held since the last lock
extern LockRecord p1LastLock, p2LastLock;             // each player's last lock
extern std::vector<Point> p1GhostCells, p2GhostCells; // where the piece would land
extern double gravityInterval;                        // gravity period of both players

// ---------------------------------------------------------------------------------------------
// Shared piece sequence, score and results
// ---------------------------------------------------------------------------------------------

extern std::deque<int32_t> pieceQueue;     // the part of the sequence still needed
extern struct RandomStream* pieceStream;   // online: the sequence's own draws; null = randomDraw
extern int32_t queueBase;                  // entries removed from the queue's front
extern int32_t p1PieceCount, p2PieceCount; // pieces taken after the first
extern int32_t score;                      // player 1's score
extern bool p1GameOver, p2GameOver;        // topped out; the frame update clears them
extern int32_t p1Losses, p2Losses;         // top-outs in this versus match
extern bool matchOver;                     // the game or match has ended
extern std::vector<LineClearParticle> lineClearParticles; // flying squares of cleared rows
extern std::vector<MenuPiece> menuPieces;                 // the menu backdrop

// ---------------------------------------------------------------------------------------------
// Versus garbage
// ---------------------------------------------------------------------------------------------

extern std::vector<DamageRecord> p1IncomingDamage, p2IncomingDamage; // oldest first
extern double damageDelay;                                           // timer of a new record
extern double p1DamageFlash, p2DamageFlash;                          // red flash strength 0..255

// ---------------------------------------------------------------------------------------------
// One player's variables, reached by number: lets a rule be written once for both players.
// ---------------------------------------------------------------------------------------------

struct PlayerState {
  Board& board;
  int32_t& pieceId;
  int32_t& rotation;
  Point& position;
  double& gravityTimer;
  double& lockTimer;
  double& lockDelay;
  int32_t& heldPiece;
  bool& holdUsed;
  std::vector<Point>& ghostCells;
  int32_t& pieceCount;
  int32_t& otherPieceCount;
  bool& gameOver;
  std::vector<DamageRecord>& incomingDamage;
  std::vector<DamageRecord>& opponentIncomingDamage;
  double& damageFlash;
  bool &moveRight, &moveLeft, &rotateCw, &rotateCcw, &softDrop, &hardDrop, &hold;
  int32_t &moveCells, &softDropFactor;
  LockRecord& lastLock;
};

PlayerState playerState(int player); // player 1, or 2 for any other value
