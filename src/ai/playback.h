// Whole games recorded and played again, the bot's included: a replay's start carries the
// weights, the bot's pace and its network's hash, and playing it back puts them in place and
// lets a versus-bot game's bot play again. The file format and a frame's inputs live in
// game/replay.h. State lives in ai/state.h and game/state.h; nothing here touches SDL.
#pragma once

#include "game/replay.h"

#include <cstdint>
#include <string>

// ---------------------------------------------------------------------------------------------
// Recording
// ---------------------------------------------------------------------------------------------

// A replay of the game setUpGame just started, in gameMode with the state in force now.
Replay beginReplay(int64_t date, double p1Sens, double p2Sens, uint64_t counterFrequency);
uint64_t networkHash(); // botNetwork's numbers

// ---------------------------------------------------------------------------------------------
// Playing back: the same frame update with the recorded inputs
// ---------------------------------------------------------------------------------------------

// Puts the replay's pieces, weights, bot and stream in place and sets the game up; what it
// replaces is kept for endReplay. False (error set) when the replay needs another network.
bool startReplay(const Replay& replay, std::string* error);
void playReplayFrame(const ReplayFrame& frame); // one frame (not its repeats)
// Every frame with its repeats; how many. problem, when given, is set to a fault in the bytes.
uint32_t playReplayFrames(const Replay& replay, std::string* problem = nullptr);
void endReplay(); // the player's pieces, weights and bot again
// An online game's replay steps through onlineReplayStep (ai/state.h), which online play sets.
// The whole game at full speed; false when it cannot start.
bool resimulate(const Replay& replay, ReplayResult& result, std::string* error);
