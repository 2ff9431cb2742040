// Online play state: the connection, the game against the player on the other machine, and what
// the screens show about it. Defined once in state.cpp. No ENet here: only enet.cpp touches it.
#pragma once

#include "game/game.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Records: the messages two games exchange
// ---------------------------------------------------------------------------------------------

constexpr uint8_t protocolVersion = 1; // first byte of every message
constexpr uint16_t defaultOnlinePort = 40440;
constexpr size_t messageHeaderSize = 4;  // version, type, body length (two bytes)
constexpr size_t maxMessageSize = 65535; // header included; anything longer is refused
constexpr size_t maxSentRecords = 8;     // garbage records one lock may send
constexpr size_t maxWaitingRecords = 32; // waiting records a lock reports for drawing
constexpr size_t maxOnlinePieces = 99;   // board cells 100..102 are garbage
constexpr size_t maxLoadedPieces = 255;  // length of a selection
constexpr size_t maxVersionLength = 32;  // game version text

enum class MessageType : uint8_t {
  hello = 1, // the game's version, both ways, first
  start,     // host to guest: seed and pieces of a game
  lock,      // after each lock: the board and what it sent
  move,      // the falling piece, unreliable, at most 30 a second
  end,       // this side's game is over
  rematch,   // this side wants another game
  leave,     // this side leaves
  ping,      // a time stamp to send back
  pong,      // a ping's stamp, sent back
};

// What the other side needs to draw one field.
struct FieldView {
  Board board{};
  int32_t pieceId = 1;    // falling piece
  int32_t rotation = 0;   // 0..3
  Point position;         // may lie partly off the board while turning
  int32_t heldPiece = 0;  // 0 = empty
  int32_t pieceCount = 0; // pieces taken from the sequence after the first
};

struct Message {
  MessageType type = MessageType::hello;
  std::string gameVersion;           // hello
  uint32_t seed = 0;                 // start: the piece sequence's seed
  uint16_t gameNumber = 0;           // start: 1 for the first game of a connection
  std::vector<bool> selection;       // start: the host's choice among its loaded pieces
  std::vector<Piece> pieces;         // start: the chosen pieces, in catalogue order
  uint32_t lockIndex = 0;            // lock: 1 for the game's first lock
  FieldView field;                   // lock, move (move ignores the board)
  int32_t score = 0;                 // lock
  uint32_t lines = 0;                // lock: rows cleared this game
  std::vector<DamageRecord> sent;    // lock: garbage sent by this lock
  std::vector<DamageRecord> waiting; // lock: garbage waiting for the sender
  uint32_t checksum = 0;             // lock: boardChecksum of field.board
  bool toppedOut = false;            // end: false when the game ended otherwise
  uint32_t milliseconds = 0;         // end: game length on the sender's clock
  uint32_t piecesLocked = 0;         // end: pieces locked
  uint32_t garbageSent = 0;          // end: garbage rows sent
  uint32_t chain = 0;                // end: chained checksums of every board the sender sent
  uint32_t stamp = 0;                // ping, pong
};

// How a connection ended, carried by ENet's disconnect so it needs no message of its own.
enum class CloseReason : uint32_t {
  none,
  busy,       // the host has its opponent already
  version,    // the two games differ in version
  badMessage, // malformed, oversized or out of place
  flood,      // too many messages
  pieces,     // the host plays pieces this game does not have
  left,       // the player left
};

// ---------------------------------------------------------------------------------------------
// The connection
// ---------------------------------------------------------------------------------------------

enum class OnlinePhase {
  idle,       // nothing open
  hosting,    // listening, no opponent yet
  connecting, // joining, no answer yet
  greeting,   // connected, the game's start not yet agreed
  playing,    // a game runs
  finished,   // this side's game is over; see onlineOutcome
  closed,     // the connection is over; onlineStatus says why
};

enum class Outcome { undecided, won, lost, draw, opponentLeft };

extern OnlinePhase onlinePhase;   // where the connection stands
extern bool onlineIsHost;         // this side listens and deals the pieces
extern std::string onlineStatus;  // the line the screen shows ("Waiting for a player…")
extern uint16_t onlinePort;       // hosting: the port listened on; joining: the host's
extern std::string onlineAddress; // joining: the host's name or address as typed

// ---------------------------------------------------------------------------------------------
// The game
// ---------------------------------------------------------------------------------------------

extern RandomStream onlinePieceStream;   // the piece sequence of both sides, from the host's seed
extern uint32_t onlineSeed;              // this game's seed
extern uint32_t nextGameSeed;            // host: seed of the next game dealt; 0 = a random one
extern uint16_t onlineGameNumber;        // games started on this connection
extern double onlineClock;               // milliseconds of this game on this side
extern uint32_t localLocks, remoteLocks; // locks so far this game, each side
extern uint32_t localLines, remoteLines; // rows cleared this game
extern uint32_t localGarbageSent;        // garbage rows this side sent this game
extern uint32_t localChain, remoteChain; // chained board checksums of each side's locks
extern uint32_t checksumMismatches;      // received boards whose checksum did not agree
extern bool localEnded, remoteEnded;     // each side's End is known
extern Message localEnd, remoteEnd;      // those two End messages
extern bool localRematch, remoteRematch; // each side asked for another game
extern Outcome onlineOutcome;            // decided when both Ends are known
extern int32_t remoteScore;              // the opponent's score, as last reported
extern std::vector<bool> savedSelection; // this player's own piece choice, restored after
extern size_t reportedWaiting;           // p2IncomingDamage entries the opponent reported
extern FieldView lastMoveField;          // what this side's last move or lock said

// ---------------------------------------------------------------------------------------------
// Measures
// ---------------------------------------------------------------------------------------------

extern double onlineLatency;              // round trip of the last ping in ms; negative = none yet
extern double lastPingSent;               // netClock when the last ping went
extern double lastMoveSent;               // netClock when the last move went
extern uint64_t bytesSent, bytesReceived; // message bytes this connection
extern uint64_t messagesSent, messagesReceived; // messages this connection
extern double connectionStart;                  // netClock when the opponent connected
extern double floodWindowStart;                 // netClock the flood count started
extern uint32_t floodWindowCount;               // messages received since then
extern double greetingDeadline; // netClock by which a connected opponent must have said hello
extern bool opponentGreeted;    // its hello came and agreed
extern double lastHeard;        // netClock of the opponent's last message (pings every second)

// A host name being looked up on a thread of its own; only that thread writes it until done.
struct AddressLookup {
  std::string name;              // as typed
  std::atomic<bool> done{false}; // the fields below are final
  bool found = false;            // the name resolved
  uint32_t host = 0;             // its IPv4 address, network order
};

// ENet's objects, only used by enet.cpp; declared here so the state has one home.
extern struct _ENetHost* onlineHost; // our end: listening (host) or connecting (guest)
extern struct _ENetPeer* onlinePeer; // the opponent, null until one connects
extern double connectDeadline;       // joining: netClock by which the host must answer
extern std::shared_ptr<AddressLookup> pendingLookup; // joining by name: the lookup under way
extern bool enetStarted;                             // enet_initialize has succeeded
