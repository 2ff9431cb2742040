// Brikka Lab: the headless laboratory for the artificial players. Each subcommand lives in its
// own file and registers itself on the command line; all of them play through playGame.
// Linked with the core only: no SDL, no window, silent.
#pragma once

#include "ai/state.h"
#include "game/state.h"

#include <CLI/CLI.hpp>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// ---------------------------------------------------------------------------------------------
// Errors: one line on standard error and exit status 2, from anywhere in a subcommand
// ---------------------------------------------------------------------------------------------

struct LabError {
  std::string message; // printed after "brikka-lab: "
};

// ---------------------------------------------------------------------------------------------
// Data: pieces, weights and networks
// ---------------------------------------------------------------------------------------------

// Options every subcommand that plays shares.
struct DataOptions {
  std::string dataFolder;         // holds Storage/; empty = the default search
  std::string pieces = "default"; // "default" (the seven four-block pieces) or "all"
  std::string weightsFile;        // evaluation weights; empty = the shipped ones
};

void addDataOptions(CLI::App& command, DataOptions& options); // --data, --pieces, --weights
// The folder --data names, else the game's runtime folder when it holds Storage/, else the
// build's data folder. Throws LabError when none holds Storage/.
std::string findDataFolder(const std::string& requested);
// Loads the pieces (catalogue rebuilt) and the weights into fitnessParams[0]; throws LabError
// on anything missing or malformed.
void loadLabData(const DataOptions& options);
// Reads a network and checks its inputs match the catalogue and it has 44 outputs.
Network loadLabNetwork(const std::string& path);

// ---------------------------------------------------------------------------------------------
// Playing: one solo game on player 1's board
// ---------------------------------------------------------------------------------------------

struct GameResult {
  uint32_t seed = 0;  // the game's seed
  int64_t lines = 0;  // rows cleared
  int64_t pieces = 0; // pieces locked (the one that topped out included)
};

// Called before each placement, with player 1's piece ready at the spawn; may read the board
// and may change p1Rotation and p1Position as long as it puts them back.
using BeforePlacement = std::function<void()>;

// Plays from seed until top-out or maxPieces: the heuristic's placement dropped straight, or,
// with a network, its choice carried out through moveToAction.
GameResult playGame(uint32_t seed, Network* network, int64_t maxPieces,
                    const BeforePlacement& before = nullptr);
void placeHeuristic();               // search, drop straight, lock
void placeNetwork(Network& network); // predict, moveToAction, lock
// Every action carried out as moveToAction does, scored by evaluatePlacement; the piece is put
// back where it was. Returns the best score.
double scoreActions(std::array<double, actionCount>& scores);

// ---------------------------------------------------------------------------------------------
// Reporting
// ---------------------------------------------------------------------------------------------

// Progress on standard error, at most one line every few seconds: done, rate, time left.
struct Progress {
  std::string what;  // "games", "positions", ...
  int64_t total = 0; // 0 when unknown
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastLine = start;
};
void reportProgress(Progress& progress, int64_t done, bool force = false);
double secondsSince(std::chrono::steady_clock::time_point start);

// ---------------------------------------------------------------------------------------------
// Subcommands
// ---------------------------------------------------------------------------------------------

void addPlayCommand(CLI::App& app);
