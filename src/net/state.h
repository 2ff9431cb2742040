// Online play state: the connection, the game against the player on the other machine, and what
// the screens show about it. Defined once in state.cpp. No ENet here: only enet.cpp touches it.
#pragma once

#include "game/game.h"
#include "game/replay.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Records: the messages two games exchange
// ---------------------------------------------------------------------------------------------

constexpr uint8_t protocolVersion = 2; // first byte of every message
constexpr uint16_t defaultOnlinePort = 40440;
constexpr size_t messageHeaderSize = 4;  // version, type, body length (two bytes)
constexpr size_t maxMessageSize = 65535; // header included; anything longer is refused
constexpr size_t maxOnlinePieces = 99;   // board cells 100..102 are garbage
constexpr size_t maxLoadedPieces = 255;  // length of a selection
constexpr size_t maxVersionLength = 32;  // game version text

enum class MessageType : uint8_t {
  hello = 1, // the game's version, both ways, first
  start,     // host to guest: seed and pieces of a game
  lock,      // after each lock: the placement, checked and played on the other side's copy
  move,      // the falling piece, unreliable, at most 30 a second; for drawing only
  end,       // this side's game is over
  rematch,   // this side wants another game
  leave,     // this side leaves
  ping,      // a time stamp to send back
  pong,      // a ping's stamp, sent back
  foul,      // the receiver's game broke the rules: the game is over
};

// Ways a game can break the rules, as its opponent's copy finds them.
enum class Foul : uint8_t {
  none,
  undealtPiece,    // not the piece the sequence deals, nor the held one
  doesNotFit,      // the placement overlaps the board or leaves it
  floats,          // the placement does not rest where a drop leaves it
  secondHold,      // a hold where hold was already used
  boardDiffers,    // the sender's board checksum is not the copy's
  garbageClaimed,  // garbage said to rise that cannot
  garbageHeldBack, // garbage due to rise that did not
  outOfOrder,      // a lock number, clock or acknowledgement that goes backwards or ahead
  afterTopOut,     // a lock after the game topped out
  falseEnd,        // an End whose top-out, locks or checksum chain the copy does not share
  last = falseEnd,
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
  std::string gameVersion;     // hello
  bool labBot = false;         // hello: the sender is the lab's bot, not a window
  uint32_t seed = 0;           // start: the piece sequence's seed
  uint16_t gameNumber = 0;     // start: 1 for the first game of a connection
  std::vector<bool> selection; // start: the host's choice among its loaded pieces
  std::vector<Piece> pieces;   // start: the chosen pieces, in catalogue order
  uint32_t lockIndex = 0;      // lock: 1 for the game's first lock
  FieldView field;             // lock: piece, rotation, position; move: the falling piece
  bool fromHold = false;       // lock: the piece came out of hold
  uint32_t acked = 0;          // lock: the receiver's locks the sender had played by then
  uint32_t risen = 0;          // lock: waiting garbage records that rose with it (oldest first)
  uint32_t hole = 0;           // lock: the hole of the garbage it sends, if it clears rows
  uint32_t clock = 0;          // lock: the sender's game clock in ms; end: when it ended
  uint32_t checksum = 0;       // lock: boardChecksum of the sender's board after it
  bool toppedOut = false;      // end: false when the game stopped otherwise
  uint32_t piecesLocked = 0;   // end: locks the sender made
  uint32_t chain = 0;          // end: chained checksums of every board the sender had
  uint32_t stamp = 0;          // ping, pong
  Foul foul = Foul::none;      // foul: what was wrong
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
  lost,       // the connection was silent too long: no result
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

// A game's result, the same on both sides: who won, or why nobody did.
enum class OnlineResult {
  undecided,
  host,            // the host won
  guest,           // the guest won
  draw,            // both stopped with as many lines
  noResult,        // the connection was lost before the game was decided
  brokeRulesHost,  // the host's game broke the rules
  brokeRulesGuest, // the guest's game broke the rules
};

// A garbage record a local lock sent, held back from the copy of the opponent until the
// opponent's lock says it had played that lock: only then was it waiting over there.
struct PendingGarbage {
  uint32_t lockIndex = 0; // the local lock that sent it
  DamageRecord record;
};

extern OnlinePhase onlinePhase;   // where the connection stands
extern bool onlineIsHost;         // this side listens and deals the pieces
extern std::string onlineStatus;  // the line the screen shows ("Waiting for a player…")
extern uint16_t onlinePort;       // hosting: the port listened on; joining: the host's
extern std::string onlineAddress; // joining: the host's name or address as typed

// ---------------------------------------------------------------------------------------------
// The game: this side plays player 1; player 2 is the copy of the opponent's game, advanced
// only from its lock events and checked at each one.
// ---------------------------------------------------------------------------------------------

extern RandomStream onlinePieceStream;   // the piece sequence of both sides, from the host's seed
extern uint32_t onlineSeed;              // this game's seed
extern uint32_t nextGameSeed;            // host: seed of the next game dealt; 0 = a random one
extern uint16_t onlineGameNumber;        // games started on this connection
extern double onlineClock;               // milliseconds of this game on this side
extern uint32_t localLocks, remoteLocks; // locks so far this game, each side
extern uint32_t remoteAcked;             // local locks the opponent had played at its last lock
extern uint32_t remoteClock;             // the opponent's clock at its last lock
extern uint32_t localChain, remoteChain; // chained board checksums of each side's locks
extern uint32_t checksumMismatches;      // boards or chains the opponent sent that the copy lacks
extern bool localEnded, remoteEnded;     // each side's game is over
extern bool localToppedOut;              // this side's game ended by topping out
extern bool remoteToppedOut;             // the copy topped out
extern uint32_t localEndClock, remoteEndClock;     // each game's clock at its end (top-out lock)
extern bool localRematch, remoteRematch;           // each side asked for another game
extern OnlineResult onlineResult;                  // decided when both games are over
extern std::string onlineReason;                   // why the game ended other than by play, or ""
extern Foul foulFound;                             // the rule the broken game broke
extern std::vector<PendingGarbage> pendingGarbage; // sent, not yet known to the opponent
extern std::vector<uint32_t> copyArrivals;  // per p2IncomingDamage record: the opponent's clock
                                            // at the lock that first acknowledged it
extern FieldView lastMoveField;             // what this side's last move said
extern int32_t matchWins, matchLosses;      // games won and lost on this connection
extern uint32_t gamesSettled;               // games given a result since the program started
extern int32_t localGarbageReceived;        // garbage rows that rose into this side's board
extern std::string opponentAddress;         // the opponent as "address:port"
extern double countdownEnd;                 // netClock when this game's play begins
extern uint32_t framesRecorded;             // frames of this game its replay holds so far
extern std::vector<ReplayEvent> gameEvents; // the opponent's messages of this game, as received
extern const Replay* onlineReplay;          // an online replay being played back, or null
extern size_t replayEventAt;                // its next event

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
extern bool localIsLab;         // this side is the lab's bot (said in hello)
extern bool opponentIsLab;      // the opponent's hello said it is the lab's bot
extern double lastHeard;        // netClock of the opponent's last message (pings every second)
extern bool connectionLost;     // the opponent has been silent past the limit; waiting for it

// A host name being looked up on a thread of its own; only that thread writes it until done.
struct AddressLookup {
  std::string name;              // as typed
  std::atomic<bool> done{false}; // the fields below are final
  bool found = false;            // the name resolved
  uint32_t host = 0;             // its IPv4 address, network order
};

// ---------------------------------------------------------------------------------------------
// Port mapping on the home router
// ---------------------------------------------------------------------------------------------

// One request for a port on the router, worked on by a thread of its own that touches nothing
// but this record until done.
struct PortMappingJob {
  uint16_t port = 0;                  // the UDP port to open, outside and in
  std::string natpmpGateway;          // NAT-PMP's router; "" = the default route's
  std::string upnpUrl;                // the IGD's description; "" = discover it
  std::atomic<bool> done{false};      // the fields below are final
  std::atomic<bool> abandoned{false}; // nobody waits any more: undo a late success
  bool mapped = false;                // the router opened the port
  std::string method;                 // "NAT-PMP" or "UPnP"
  std::string external;               // the router's public address, "" when it did not say
  std::string controlUrl;             // UPnP: where to remove the mapping
  std::string serviceType;            // UPnP: the service that holds it
};

enum class MappingState {
  off,    // not asked (not hosting, or the setting is off)
  asking, // the router is being asked
  mapped, // the router opened the port
  failed, // it did not: forward by hand
};

extern bool portMappingWanted;            // online_port_mapping: ask the router when hosting
extern std::string natpmpGatewayOverride; // "" = the default route's router (tests: 127.0.0.1)
extern std::string upnpUrlOverride;       // "" = discover the IGD (tests: a URL on 127.0.0.1)
extern MappingState mappingState;         // where the request stands
extern std::shared_ptr<PortMappingJob> portMapping; // the request or mapping in force
extern double mappingDeadline; // netClock past which the request counts as failed

// ENet's objects, only used by enet.cpp; declared here so the state has one home.
extern struct _ENetHost* onlineHost; // our end: listening (host) or connecting (guest)
extern struct _ENetPeer* onlinePeer; // the opponent, null until one connects
extern double connectDeadline;       // joining: netClock by which the host must answer
extern std::shared_ptr<AddressLookup> pendingLookup; // joining by name: the lookup under way
extern bool enetStarted;                             // enet_initialize has succeeded
