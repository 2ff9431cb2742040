// Replays: a game's start and, frame by frame, what its frame update consumed; enough to run the
// same game again bit for bit, in the window or headless. Nothing here touches SDL.
#pragma once

#include "game/bytes.h"
#include "game/state.h"

#include <cstdint>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Records
// ---------------------------------------------------------------------------------------------

// 2 added each frame's handling (cells moved, soft-drop factor); 1 is still read and written.
constexpr uint32_t replayFormatVersion = 2;

// What one frame of play consumed; a run of equal frames is one entry.
struct ReplayFrame {
  double delta = 0.0;   // frameDelta
  uint64_t ticks = 0;   // the counter ticks it was measured from; 0 when not known
  uint16_t actions = 0; // the fourteen action flags, player 1's seven then player 2's
  bool stepped = true;  // the game ran (clear: it was paused and only a click counted)
  bool clicked = false; // a click re-seeded the random stream before the frame
  int32_t clickSum = 0; // that click's x + y
  uint32_t repeat = 1;  // this frame, so many times in a row
  // What each player's handling made of the flags (player 1, player 2); format 2 on.
  int32_t moveCells[2] = {1, 1};                                  // p1MoveCells, p2MoveCells
  int32_t softDropFactor[2] = {classicSoftDrop, classicSoftDrop}; // p1/p2SoftDropFactor
};

// Where a game ended, as the file stores it and a re-simulation finds it.
struct ReplayResult {
  int32_t score = 0;       // player 1's score
  int32_t lines = 0;       // rows player 1 cleared
  int32_t pieces = 0;      // pieces player 1 locked
  int32_t garbageSent = 0; // garbage rows player 1 sent
  uint32_t frames = 0;     // frames played
  double clock = 0.0;      // game time in frameDelta units
  uint64_t boardHash = 0;  // both final boards
};

// An online game's other side: a message of the opponent as it arrived, and the frame before
// which it was played (the frames played before it).
struct ReplayEvent {
  uint32_t frame = 0;
  std::string bytes;
};

struct Replay {
  uint32_t format = replayFormatVersion; // as written; an older file keeps its own
  std::string gameVersion;               // the build that recorded it
  int32_t mode = 1;                      // gameMode: 1, 2 or 4
  int32_t variant = 0;                   // soloVariant
  int64_t date = 0;                      // start, seconds since 1970 (UTC)
  std::vector<int32_t> pieceSource;      // loaded index of each catalogue piece
  std::vector<Piece> pieces;             // the catalogue
  std::vector<double> weights;           // the evaluation weights the bot searched with
  double botStepInterval = 0.0;          // the bot's settings and timer at the start
  double botMoveTimer = 0.0;             //
  bool botStepwise = false;              //
  bool botUsesNetwork = false;           //
  uint64_t networkHash = 0;              // botNetwork's, when the bot played with it
  double p1Sensitivity = 0.0;            // both auto-repeat sensitivities (the flags include them)
  double p2Sensitivity = 0.0;            //
  RandomState random;                    // the stream as the game's set-up found it
  uint64_t counterFrequency = 0;         // ticks a second of the frames' counter; 0 when none
  ReplayResult result;                   // where the game ended
  std::vector<ReplayFrame> frames;       // every frame, runs merged (a game being recorded)
  std::string frameBytes;                // or the frames as a file holds them, decoded as played
  // Online games only, after the frames: the piece sequence's seed, the side, and what the
  // opponent sent, in order, as received.
  uint32_t onlineSeed = 0;
  bool onlineHost = false;
  std::vector<ReplayEvent> events;
};

// What the bytes of the next frame are read against: the frame before it.
struct ReplayFrameContext {
  uint32_t format = replayFormatVersion; // the file's: what a frame's bytes may hold
  ReplayFrame previous;
  uint64_t previousTicks = 0;
  bool first = true;
};

// Where playback is in a replay's frames; a fresh one starts at the first.
struct ReplayCursor {
  size_t at = 0;              // next entry of frames, or next byte of frameBytes
  ReplayFrame entry;          // the entry being played
  uint32_t played = 0;        // frames of it played
  bool started = false;       // entry holds one
  ReplayFrameContext context; // for frameBytes
  std::string problem;        // a fault in the bytes that ended playback early
};

// Bytes: a day and more of play; checking one stays within twice its size in memory.
constexpr size_t replayFileLimit = 32u << 20;
constexpr uint32_t replayFrameLimit = 50000000; // about nine days of play at 62 frames a second
constexpr size_t replayEventLimit = 65535;      // bytes of one message of the opponent

// A frame's length in frameDelta units from the counter ticks it took: the game's frame clock.
// A frame stored as its ticks takes a few bytes where its frameDelta would take eight.
double frameDeltaFromCounter(uint64_t ticks, uint64_t frequency);

// ---------------------------------------------------------------------------------------------
// Files
// ---------------------------------------------------------------------------------------------

std::string replayBytes(const Replay& replay); // the whole file's bytes
// False with error = what is wrong (one line) when bytes are not a whole, sane replay.
bool readReplayBytes(const std::string& bytes, Replay& replay, std::string* error);
// The check sum that closes a replay, of all the bytes before it (hashBytes from hashStart, as
// the hashes of boards and networks).
uint64_t replayCheckSum(const std::string& body);
// Reads a regular file of at most replayFileLimit bytes; error = "path: what". Without
// checkAllFrames the frames are only read as they are played (the check sum still covers them):
// a long replay opens at once.
bool readReplayFile(const std::string& path, Replay& replay, std::string* error,
                    bool checkAllFrames = true);

// ---------------------------------------------------------------------------------------------
// A frame's inputs and a game's result (the replay's start and its playback, which know the
// bot, are ai/playback.h's)
// ---------------------------------------------------------------------------------------------

void addReplayFrame(Replay& replay, const ReplayFrame& frame); // merges a repeat
bool sameHandling(const ReplayFrame& a, const ReplayFrame& b); // both players' handling fields
ReplayFrame currentFrame();                                    // frameDelta and the flags now
void useFrameInputs(const ReplayFrame& frame);                 // frameDelta and the flags set
ReplayResult currentResult(uint32_t frames);                   // from the state now
uint64_t boardHash();                                          // both boards
// The next frame to play, repeats included; false at the end, or at a fault (cursor.problem).
bool nextReplayFrame(const Replay& replay, ReplayCursor& cursor, ReplayFrame& frame);
