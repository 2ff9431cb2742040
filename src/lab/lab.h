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
// Positions: what the network sees and which actions are right there
// ---------------------------------------------------------------------------------------------

struct Progress;

// Positions stored compactly: the indices of an input vector's ones, and a mask of the actions
// whose placement scores as well as the best one (equal best actions are all right answers).
struct PositionSet {
  std::vector<uint32_t> start = {0}; // position k's ones are active[start[k]..start[k + 1])
  std::vector<uint16_t> active;      // indices of the input values that are 1
  std::vector<uint64_t> bestActions; // bit a set: action a carried out scores the best
  size_t size() const { return bestActions.size(); }
};

// The actions that score best for player 1's piece where it stands (see scoreActions).
uint64_t labelPosition();
void addPosition(PositionSet& set, const std::vector<int32_t>& input, uint64_t bestActions);
// The input vector of position k, as fillNetworkInput made it.
void positionInput(const PositionSet& set, size_t k, std::vector<int32_t>& input);
// Adds count positions from games seeded firstSeed, firstSeed + 1, ..., each at most perGame
// pieces long, played by the heuristic (network null) or by the network.
void collectPositions(PositionSet& set, uint32_t firstSeed, int64_t count, int64_t perGame,
                      Network* network, Progress* progress = nullptr);
// The share of the positions on which the network's choice is among the best actions.
double agreement(Network& network, const PositionSet& set);

// ---------------------------------------------------------------------------------------------
// Distilling: a network in the game's form taught to imitate the heuristic
// ---------------------------------------------------------------------------------------------

struct DistillOptions {
  int32_t hiddenLayers = 2;      // as the training screen counts them
  int32_t neurons = 64;          // per hidden layer; the layer gets one more, as in the game
  uint32_t seed = 1;             // weights, order of examples and every game's seed
  int64_t positions = 1000000;   // round 1: positions from the heuristic's games
  int32_t rounds = 3;            // rounds after the first add the network's own positions
  int64_t ownPositions = 200000; // positions from the network's own games, per later round
  double epochs = 4.0;           // passes over all positions so far, per round
  int32_t batch = 256;           // positions per Adam step
  double learningRate = 0.005;   // Adam's step at the start; it falls to a tenth by the end
  int64_t heldOut = 20000;       // positions from unseen heuristic games, for agreement
  int64_t games = 20;            // games the network plays after each round
  int64_t maxPieces = 10000;     // length limit of those games
};

struct DistillRound {
  int64_t positions = 0;  // positions trained on in this round
  double loss = 0.0;      // mean training loss of the round's last tenth
  double agreement = 0.0; // on the held-out positions, measured with predict
  double meanLines = 0.0; // of the round's games
};

// Runs the rounds; after each, onRound sees the result and the network as the file stores it.
void distill(const DistillOptions& options,
             const std::function<void(const DistillRound&, Network&)>& onRound);

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
void addAgreeCommand(CLI::App& app);
void addDistillCommand(CLI::App& app);
