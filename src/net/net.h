// Online play: messages and their checks, the game-level protocol, and the connection at the
// edge. State lives in state.h. Only enet.cpp talks to ENet; everything else is plain functions
// over bytes and the game's state, so the parser can be fuzzed and the protocol tested.
#pragma once

#include "net/state.h"

#include <string>

// ---------------------------------------------------------------------------------------------
// Messages: bytes to records and back. A decoder never trusts a length or a value.
// ---------------------------------------------------------------------------------------------

std::string encodeMessage(const Message& message); // the bytes that travel
// Reads one whole message. pieceTypes bounds the piece ids a board or piece may hold (0 before
// a game: lock and move are then refused). On failure problem says what was wrong, and
// versionMismatch is set when only the protocol version differs.
bool decodeMessage(const uint8_t* data, size_t size, int32_t pieceTypes, Message& message,
                   std::string& problem, bool* versionMismatch = nullptr);
uint32_t boardChecksum(const Board& board);             // FNV-1a over the 200 cells
uint32_t chainChecksum(uint32_t chain, uint32_t value); // folds one lock into a chain

// ---------------------------------------------------------------------------------------------
// Game-level protocol: who says what when. Each sends through sendBytes (the edge).
// ---------------------------------------------------------------------------------------------

double netClock();           // milliseconds since the program started, steady
void resetConnectionState(); // measures and game state of a fresh connection
void greetOpponent();        // sends hello; the guest does it on connecting, the host in reply
// Handles one received message; false when it breaks the protocol (the caller closes with
// reason). Host and guest both go through here.
bool handleMessage(const Message& message, CloseReason& reason);
bool receiveBytes(const uint8_t* data, size_t size, CloseReason& reason); // decode + handle
void startNextGame(); // host: a new seed and pieces, sent, and the game set up here
// After the local player's step: a move at most 30 times a second. (Locks go out as the core
// makes them, through lockHook, and a top-out ends this side's game there.)
void afterLocalStep();
void endLocalGame(bool toppedOut); // sends End; the result waits for the opponent's
// One frame of this side's play: the piece, garbage timers, the game clock, gravity's quickening
// and the move sent. The window and an online replay both step through it.
void stepLocalPlay();
void requestRematch();  // sends Rematch; the host deals when both asked
void sendPingWhenDue(); // one ping a second while connected
// The connection ends during a game (byOpponent: the opponent closed it, with reason): a side
// that leaves or is thrown out loses, a lost connection leaves no result.
void settleOnClose(CloseReason reason, bool byOpponent);
std::string outcomeText(); // "You win", "You lose", "Draw", "No result", a broken game, or ""
std::string resultName(OnlineResult result); // "host", "guest", "draw", "no-result", ...
std::string matchScoreText();                // "You 2 – 1 Opponent"
int countdownShown(); // 3, 2 or 1 while the game's countdown runs (nothing moves), else 0
const char* foulText(Foul foul);                 // "a piece that was not dealt", ...
const char* closeReasonText(CloseReason reason); // what the screen shows for it
void restoreOwnPieces();                         // the player's own selection back

// ---------------------------------------------------------------------------------------------
// The connection (ENet): nothing here ever blocks
// ---------------------------------------------------------------------------------------------

bool hostOnline(uint16_t port);                          // listen; false with onlineStatus set
bool joinOnline(const std::string& address);             // "host[:port]"; connect in the background
void pollOnline();                                       // events, timeouts, pings: once a frame
void sendBytes(const std::string& bytes, bool reliable); // to the opponent, if any
void closeOnline(CloseReason reason);                    // tell the opponent why, then close
std::vector<std::string> localAddresses();               // this machine's IPv4 addresses
// "host", "host:port" or "[v6]:port" split; false when the port is not 1..65535.
bool splitAddress(const std::string& text, std::string& host, uint16_t& port);

// ---------------------------------------------------------------------------------------------
// Port mapping: asks the home router to open the hosting port, NAT-PMP first and UPnP IGD when
// that fails, each given two seconds; nothing here blocks the frame.
// ---------------------------------------------------------------------------------------------

void startPortMapping(uint16_t port); // in the background; mappingState says how it goes
void pollPortMapping();               // takes the answer in, or gives up at the deadline
void endPortMapping();                // removes a mapping made (in the background)
// What the screen says: "Players join you at 203.0.113.7:40440" or "Your router did not open the
// port: forward UDP 40440 by hand"; "" when nothing was asked.
std::string mappingText();
// The work itself, blocking; the thread runs them. The tests call them directly.
void mapPortNow(PortMappingJob& job);
void unmapPortNow(const PortMappingJob& job);

// ---------------------------------------------------------------------------------------------
// Online replays: this side's frames and the opponent's messages as they came
// ---------------------------------------------------------------------------------------------

bool startOnlineReplay(const Replay& replay, std::string* error); // the game as it began
void endOnlineReplay();                                           // the player's own set-up again
// The whole game at full speed; false (error set) when it cannot start.
bool resimulateOnline(const Replay& replay, ReplayResult& result, std::string* error);
