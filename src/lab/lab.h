// Brikka Lab: the headless laboratory for the artificial players. Each subcommand lives in its
// own file and registers itself on the command line; all of them play through playGame.
// No window and no sound: SDL only draws the training plot, in plot.cpp, on a surface; MPI
// only joins the ranks of train and tune, in ranks.cpp.
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
// Ranks: the processes of one mpirun; a program started without it is rank 0 of 1. Only the
// subcommands that spread work join; the others never start MPI.
// ---------------------------------------------------------------------------------------------

void joinRanks();             // MPI_Init, once
void leaveRanks(bool failed); // MPI_Finalize; a failure with several ranks aborts them all
int rankIndex();              // 0 to rankCount() - 1
int rankCount();              // 1 until joined
double secondsExchanging();   // time this rank spent in the calls below, waiting included
void sumOverRanks(std::vector<double>& values);       // element-wise sums, on every rank
void broadcastFromFirst(std::vector<double>& values); // rank 0's values on every rank
void broadcastFromFirst(std::string& bytes);          // rank 0's bytes on every rank

// One side of a point-to-point transfer: data goes to, or comes from, rank under tag. A buffer
// that receives already has the length that arrives.
struct Parcel {
  int rank;
  int tag;
  std::vector<double>* data;
};
void exchangeParcels(const std::vector<Parcel>& sends, const std::vector<Parcel>& receives);

// A seed made of a run's seed and three numbers (a generation, a subject, a stream...), so
// work seeded this way gives the same results on any rank and in any order.
uint32_t labSeed(uint32_t run, uint64_t a, uint64_t b, uint64_t c);

// ---------------------------------------------------------------------------------------------
// Networks as plain numbers, exact: per non-input neuron its weights, then its bias
// ---------------------------------------------------------------------------------------------

std::vector<size_t> layerSizes(const Network& network);
size_t packedLength(const std::vector<size_t>& sizes); // numbers per network of that shape
void packNetwork(const Network& network, double* out);
Network unpackNetwork(const std::vector<size_t>& sizes, const double* in, double learningRate);

// ---------------------------------------------------------------------------------------------
// Training run files: the log and the checkpoint
// ---------------------------------------------------------------------------------------------

struct TrainingRow {
  int32_t generation = 0; // finished generation
  int32_t average = 0;    // its average fitness, as the graph has it
  int32_t best = 0;       // its best subject's fitness
  int64_t lines = 0;      // lines all its subjects cleared
  double seconds = 0.0;   // run time when it finished
};

// A run between two generations: enough to continue exactly as if never stopped.
struct TrainingCheckpoint {
  std::string settings;          // the options that shape the run, as one line
  int32_t generation = 1;        // the next generation to play
  double highestFitness = 0.0;   // the run's best subject so far
  int32_t highestAverage = 0;    // the graph's bounds
  int32_t lowestAverage = 0;     //
  double seconds = 0.0;          // run time so far
  std::vector<TrainingRow> rows; // every finished generation
  std::vector<size_t> shape;     // layer sizes of every subject
  std::vector<double> networks;  // every subject packed, subject after subject
};

std::string checkpointBytes(const TrainingCheckpoint& checkpoint);
// Throws LabError naming path when bytes are not a whole checkpoint.
TrainingCheckpoint readCheckpointBytes(const std::string& bytes, const std::string& path);
// The log: its header and rows written afresh, then one row appended per generation. An empty
// path writes nothing.
void startTrainingLog(const std::string& path, const std::vector<TrainingRow>& rows);
void appendTrainingLog(const std::string& path, const TrainingRow& row);

// ---------------------------------------------------------------------------------------------
// The training graph as a picture
// ---------------------------------------------------------------------------------------------

void preparePlot(const std::string& dataFolder); // opens the labels' font; throws LabError
// The game's fitness graph of averageHistory, the size of its panel, as PNG; throws LabError.
void writePlot(const std::string& path);

// ---------------------------------------------------------------------------------------------
// Subcommands
// ---------------------------------------------------------------------------------------------

void addPlayCommand(CLI::App& app);
void addTrainCommand(CLI::App& app); // the genetic run, across ranks
void addTuneCommand(CLI::App& app);  // cross-entropy search of the evaluation weights
