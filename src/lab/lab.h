// Brikka Lab: the headless laboratory for the artificial players. Each subcommand lives in its
// own file and registers itself on the command line; all of them play through playGame.
// No window and no sound: SDL only draws the training plot, in plot.cpp, on a surface; MPI
// only joins the ranks of train and tune, in ranks.cpp.
#pragma once

#include "ai/state.h"
#include "game/state.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// CLI11 costs seconds in every file that includes it: only the files that build the command
// line include it; the rest see these names alone.
namespace CLI {
class App;
class Validator;
} // namespace CLI

// ---------------------------------------------------------------------------------------------
// Errors: one line on standard error and exit status 2, from anywhere in a subcommand
// ---------------------------------------------------------------------------------------------

struct LabError {
  std::string message;         // printed after "brikka-lab: "; empty = already said elsewhere
  bool everyRankStops = false; // every rank throws it together: no rank needs to be aborted
};

// ---------------------------------------------------------------------------------------------
// Data: pieces, weights and networks
// ---------------------------------------------------------------------------------------------

// Options every subcommand that plays shares.
struct DataOptions {
  std::string dataFolder;               // holds Storage/; empty = the default search
  std::string pieces = "default";       // "default" (the seven four-block pieces) or "all"
  std::string weightsFile;              // evaluation weights; empty = the shipped ones
  std::string expertWeightsFile;        // the expert's weights; empty = the shipped ones
  std::string evaluation = "heuristic"; // what places and labels: "heuristic" or "expert"
};

void addDataOptions(CLI::App& command, DataOptions& options); // --data, --pieces, --weights
// The option (--evaluation, --teacher) choosing what places pieces and labels positions.
void addEvaluationOption(CLI::App& command, DataOptions& options, const std::string& name);
// The folder --data names, else the game's runtime folder when it holds Storage/, else the
// build's data folder. Throws LabError when none holds Storage/.
std::string findDataFolder(const std::string& requested);
// Loads the pieces (catalogue rebuilt) and the weights into fitnessParams[0]; throws LabError
// on anything missing or malformed. Loads the expert's weights and chooses the evaluation.
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

// Plays from seed until top-out or maxPieces: the heuristic's (or the expert's, when chosen)
// placement dropped straight, or,
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
  bool keepGaps = false;             // whether gaps is filled as positions are added
  std::vector<float> gaps; // actionCount a position: how far each action scores below the best
  size_t size() const { return bestActions.size(); }
};

// The actions that score best for player 1's piece where it stands (see scoreActions).
// With gaps, each action's distance below the best score is written there too (actions that
// can never be carried out get unreachableGap).
uint64_t labelPosition(float* gaps = nullptr);
constexpr float unreachableGap = 1e6f;
void addPosition(PositionSet& set, const std::vector<int32_t>& input, uint64_t bestActions,
                 const float* gaps = nullptr);
// The input vector of position k, as fillNetworkInput made it.
void positionInput(const PositionSet& set, size_t k, std::vector<int32_t>& input);
// Adds count positions from games seeded firstSeed, firstSeed + 1, ..., each at most perGame
// pieces long, played by the heuristic (network null) or by the network.
void collectPositions(PositionSet& set, uint32_t firstSeed, int64_t count, int64_t perGame,
                      Network* network, Progress* progress = nullptr);
// The share of the positions on which the network's choice is among the best actions.
double agreement(Network& network, const PositionSet& set);
// How far below the best the network's choice scores, on average (the set keeps its gaps).
double meanGap(Network& network, const PositionSet& set);

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
  // 0: only the best actions are right answers. Above 0, every action is a partly right answer,
  // weighted by exp(-gap / temperature), so a miss learns to land near the best.
  double temperature = 0.0;
  int64_t heldOut = 20000;   // positions from unseen heuristic games, for agreement
  int64_t games = 20;        // games the network plays after each round
  int64_t maxPieces = 10000; // length limit of those games
};

// Positions a run may hold in all (a uint32 counts their stored ones).
constexpr int64_t maxDistillPositions = 40000000;

struct DistillRound {
  int64_t positions = 0;  // positions trained on in this round
  double loss = 0.0;      // mean training loss of the round's last tenth
  double agreement = 0.0; // on the held-out positions, measured with predict
  double gap = 0.0;       // how far the network's choice scores below the best there, on average
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
// Rank 0 gets every rank's text, in rank order (the others get nothing); a rank that has not
// sent within seconds stops the run with LabError. Texts under 2 GB.
std::vector<std::string> gatherFromRanks(const std::string& text, double seconds);
void exchangeParcels(const std::vector<Parcel>& sends, const std::vector<Parcel>& receives);

// A seed made of a run's seed and three numbers (a generation, a subject, a stream...), so
// work seeded this way gives the same results on any rank and in any order.
uint32_t labSeed(uint32_t run, uint64_t a, uint64_t b, uint64_t c);

// ---------------------------------------------------------------------------------------------
// Checks before work starts
// ---------------------------------------------------------------------------------------------

// CLI11 validators whose messages name the bounds plainly ("must be between 1 and 1,000,000",
// "\"abc\" is not a number"); numbers past the type's range are refused, not saturated.
CLI::Validator wholeBetween(int64_t low, int64_t high);
CLI::Validator realBetween(double low, double high, bool lowIncluded = true);
constexpr int64_t largestSeed = 4294967295; // seeds are 32 bits
void addMemoryOption(CLI::App& command);    // --max-memory, for the commands that need much
int64_t memoryBudget(); // bytes a run may take: --max-memory, else the machine's memory
// Before the subcommand runs: outputs that name one file refused, stale temporary files beside
// the outputs removed, the memory the options need checked. Throws LabError.
void checkCommand(const CLI::App& command);
constexpr double rankAgreementSeconds = 60.0; // for every rank to load its data
// After the data is loaded, on every rank: rank 0 compares each rank's options and data with
// its own; a difference stops every rank, with one line from rank 0 naming it.
void agreeAcrossRanks();

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
// A picture of width by height drawn by draw on renderer (black at first), as PNG.
void writePicture(const std::string& path, int width, int height,
                  const std::function<void()>& draw);

// ---------------------------------------------------------------------------------------------
// The ladder: versus matches between bots, and ratings from their results
// ---------------------------------------------------------------------------------------------

// One side of a match: a "Versus Bot" level, a network at the network level's pace, or the
// expert at "Impossible"'s pace.
struct Entrant {
  std::string name;          // a level's label, "network:FILE" or "expert"
  double stepInterval = 0.0; // the pause after each action, in frameDelta units
  bool stepwise = false;     // one small step per action, with a random extra pause
  bool usesNetwork = false;  // placements come from network
  bool expert = false;       // the search scores with the expert evaluation
  Network network;           // the network's player (swapped into botNetwork on its turn)
};

// "2", "Mid", "network:FILE" or "expert" as an entrant; throws LabError naming the option and
// what is wrong.
Entrant parseEntrant(const std::string& text, const std::string& option = "--entrants");

constexpr double ladderFrameDelta = 1.6;    // one frame every 16 ms, as in the game
constexpr double ladderMatchCap = 360000.0; // an hour of game time: past it, a draw

struct MatchResult {
  int winner = 0;            // 0 a draw, 1 the first entrant, 2 the second
  int32_t firstTopOuts = 0;  // times each side topped out
  int32_t secondTopOuts = 0; //
  double gameTime = 0.0;     // frameDelta units played
};

// One match of "Versus Bot"'s rules, both sides played by botTurn, from seed; the first entrant
// plays player 1 unless swapped. Ends when a side has topped out three times, or at the cap.
MatchResult playMatch(Entrant& first, Entrant& second, uint32_t seed, bool swapped,
                      double cap = ladderMatchCap);

// A pairing's results, as counts of matches.
struct PairTally {
  int a = 0, b = 0; // entrant indices
  double winsA = 0.0, winsB = 0.0, draws = 0.0;
};
struct Rating {
  double elo = 0.0, low = 0.0, high = 0.0; // estimate and 95 % interval
  int64_t matches = 0;
};
// Elo by maximum likelihood over every result, the anchor entrant fixed at anchorElo; each
// pairing counts one drawn match more, so a clean sweep still gives a finite rating. The
// interval is the estimate plus or minus 1.96 standard errors (the anchor's is its value).
std::vector<Rating> ladderRatings(size_t entrants, const std::vector<PairTally>& tallies,
                                  size_t anchor, double anchorElo = 1000.0);

// ---------------------------------------------------------------------------------------------
// Subcommands
// ---------------------------------------------------------------------------------------------

void addPlayCommand(CLI::App& app);
void addAgreeCommand(CLI::App& app);
void addDistillCommand(CLI::App& app);
void addTrainCommand(CLI::App& app);  // the genetic run, across ranks
void addTuneCommand(CLI::App& app);   // cross-entropy search of the evaluation weights
void addReplayCommand(CLI::App& app); // re-simulates a game's replay
void addDuelCommand(CLI::App& app);   // online games as the bot, over ENet
void addLadderCommand(CLI::App& app); // versus matches between bots, rated
