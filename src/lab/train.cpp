// brikka-lab train: the training screen's genetic run without the screen, spread over ranks.
// Every subject of generation g plays the generation's seeded games and is bred from its own
// random stream, so any rank can play or build any subject: per generation the ranks trade only
// the subjects' fitness and lines, their held-out results, and the few parent networks a rank
// needs but does not hold. The elite is chosen, and --out replaced, on held-out games only.
#include "lab/lab.h"

#include <CLI/CLI.hpp>

#include "ai/ai.h"
#include "game/game.h"

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <map>
#include <numeric>
#include <set>

namespace {

struct TrainOptions {
  DataOptions data;
  int32_t population = 20; // the training screen's sliders, as they start
  int32_t moves = 100;
  int32_t hiddenLayers = 2;
  int32_t neurons = 64;
  double learningRate = 0.01;
  int32_t generations = 100;    // the run ends after this generation
  int32_t gamesPerSubject = 5;  // one game's luck decided selection; five make it a measurement
  int32_t heldOutGames = 30;    // whole games that pick the elite among the finalists
  int64_t heldOutPieces = 5000; // length limit of those games
  uint32_t seed = 1;
  std::string fromFile;
  std::string outFile;
  std::string logFile;
  std::string plotFile;
  std::string checkpointFile;
  bool resume = false;
} options;

// The run's independent random streams, mixed into every seed.
enum Stream : uint64_t {
  gameStream = 1,
  mutationStream,
  creationStream,
  rouletteStream,
  heldOutStream
};

// The subjects measured on the held-out games each generation: the elite carried over and the
// best few by fitness. Only these can become the elite.
constexpr int32_t finalistCount = 3;

constexpr double plotInterval = 60.0; // seconds between pictures of a long run

// The run as this rank holds it. The records of ai/state.h (generation, highestFitness,
// averageHistory...) are kept alike on every rank.
struct Run {
  std::vector<size_t> shape;      // layer sizes of every subject
  std::vector<Network> subjects;  // this generation's networks; only this rank's have layers
  std::vector<Network> spare;     // storage for the next generation's
  std::vector<int32_t> owner;     // the rank that plays each subject
  std::vector<TrainingRow> rows;  // every finished generation
  double earlierSeconds = 0.0;    // time spent before this session, when resumed
  std::string settings;           // what a checkpoint must match to be resumed
  bool outWritten = false;        // --out holds the current elite
  double outScore = -HUGE_VAL;    // held-out lines of what --out holds; -inf when nothing
  int32_t sessionGenerations = 0; // generations played since this process started
  std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
  std::chrono::steady_clock::time_point lastPlot = start;
} run;

int32_t shareOf(int rank, int32_t subjects) {
  return subjects / rankCount() + (rank < subjects % rankCount() ? 1 : 0);
}

// Consecutive blocks, as even as they come: the first generation and a resumed one.
std::vector<int32_t> blockOwners(int32_t subjects) {
  std::vector<int32_t> owner;
  for (int rank = 0; rank < rankCount(); ++rank)
    owner.resize(owner.size() + shareOf(rank, subjects), rank);
  return owner;
}

// Children go where their parent is while that rank has room, so few parents travel. Rank 0
// takes the elite, child 0: it writes the best network.
std::vector<int32_t> childOwners(const std::vector<int32_t>& parents) {
  const int32_t subjects = static_cast<int32_t>(parents.size());
  std::vector<int32_t> room(rankCount());
  for (int rank = 0; rank < rankCount(); ++rank) room[rank] = shareOf(rank, subjects);
  std::vector<int32_t> owner(subjects, -1);
  owner[0] = 0;
  room[0] -= 1;
  for (int32_t i = 1; i < subjects; ++i) {
    int32_t home = run.owner[parents[i]];
    if (room[home] > 0) owner[i] = home, room[home] -= 1;
  }
  int32_t rank = 0;
  for (int32_t i = 1; i < subjects; ++i) {
    if (owner[i] >= 0) continue;
    while (room[rank] == 0) ++rank;
    owner[i] = rank;
    room[rank] -= 1;
  }
  return owner;
}

bool mine(int32_t subject) {
  return run.owner[subject] == rankIndex();
}

// The network of --from, which must name every weight: missing ones cannot be mutated.
Network loadFromNetwork() {
  Network network = loadLabNetwork(options.fromFile);
  for (size_t l = 1; l < network.layers.size(); ++l)
    for (const Neuron& neuron : network.layers[l])
      if (neuron.connections.size() != network.layers[l - 1].size())
        throw LabError{options.fromFile + ": a neuron lacks weights; train needs all of them"};
  network.learningRate = options.learningRate;
  return network;
}

void startPopulation() {
  const int32_t subjects = options.population;
  run.owner = blockOwners(subjects);
  run.subjects.assign(subjects, {});
  Network from;
  RandomStream stream;
  if (!options.fromFile.empty()) {
    from = loadFromNetwork();
    run.shape = layerSizes(from);
  } else {
    run.shape = {networkInputCount(pieceCatalogue.size())};
    for (int32_t h = 0; h < options.hiddenLayers; ++h) run.shape.push_back(options.neurons + 1);
    run.shape.push_back(actionCount);
  }
  for (int32_t i = 0; i < subjects; ++i) {
    if (!mine(i)) continue;
    if (from.layers.empty()) {
      seedRandom(labSeed(options.seed, 1, i, creationStream));
      run.subjects[i] = createNetwork(static_cast<int32_t>(run.shape.front()), actionCount,
                                      options.learningRate, options.hiddenLayers, options.neurons);
      continue;
    }
    // The file's network itself, and mutated copies of it.
    copyNetworkFrom(run.subjects[i], from);
    run.subjects[i].learningRate = options.learningRate;
    if (i == 0) continue;
    seedStream(stream, labSeed(options.seed, 1, i, mutationStream));
    mutate(run.subjects[i], stream);
  }
  clearTrainingRecords();
}

// One game as a subject's turn on the training screen: its moves on player 1's board, a lost
// game followed by cleared boards. Returns the fitness; adds the lines.
double playSeeded(Network& subject, uint32_t seed, double& lines) {
  seedRandom(seed);
  setUpGame();
  trainingFitness = 0.0;
  trainingLinesCleared = 0;
  for (int32_t move = 1; move <= options.moves; ++move) {
    playTrainingMove(subject);
    if (p1GameOver && move < options.moves) {
      resetBoards(0);
      p1GameOver = false;
    }
  }
  lines += trainingLinesCleared;
  return trainingFitness / options.moves;
}

// A subject's mean fitness over the generation's games, the same seeds for every subject.
void playSubject(int32_t subject, double& fitness, double& lines) {
  fitness = 0.0;
  lines = 0.0;
  for (int32_t game = 0; game < options.gamesPerSubject; ++game)
    fitness += playSeeded(
        run.subjects[subject],
        labSeed(options.seed, static_cast<uint64_t>(generation), game, gameStream), lines);
  fitness /= options.gamesPerSubject;
}

// Mean lines of whole games on the held-out seeds, as `play --network` measures a network: the
// short games of the fitness reward the next hundred moves, not a long life. The same seeds for
// every generation, never used for selection.
// Each game's lines go to perGame, when given.
double heldOutLines(Network& network, double* perGame = nullptr) {
  double lines = 0.0;
  for (int32_t game = 0; game < options.heldOutGames; ++game) {
    double cleared = static_cast<double>(
        playGame(labSeed(options.seed, 0, game, heldOutStream), &network, options.heldOutPieces)
            .lines);
    if (perGame) perGame[game] = cleared;
    lines += cleared;
  }
  gameMode = trainingMode; // playGame plays solo; the run's locks reward as training does
  return lines / options.heldOutGames;
}

// Whether a challenger's held-out games beat the elite's by more than luck: game by game on the
// same seeds, the mean difference at least twice its standard error. Lines a game spread widely,
// and dozens of challengers over a run would otherwise let a lucky one through.
bool clearlyBetter(const double* challenger, const double* elite, int32_t games) {
  double sum = 0.0, squares = 0.0;
  for (int32_t g = 0; g < games; ++g) sum += challenger[g] - elite[g];
  double mean = sum / games;
  for (int32_t g = 0; g < games; ++g) {
    double away = challenger[g] - elite[g] - mean;
    squares += away * away;
  }
  double standardError = games > 1 ? std::sqrt(squares / (games - 1) / games) : 0.0;
  return mean > 0.0 && mean >= 2.0 * standardError;
}

// What --out holds already, measured, so that a run never replaces it with a worse network.
void measureOut() {
  run.outScore = -HUGE_VAL;
  if (rankIndex() != 0 || options.outFile.empty() || !std::filesystem::exists(options.outFile))
    return;
  Network held;
  std::string problem = readNetworkFile(options.outFile, held);
  if (!problem.empty() || layerSizes(held) != run.shape) return; // not comparable: replaced
  run.outScore = heldOutLines(held);
}

// Rank 0 writes the elite to --out when it clears at least as many lines on the held-out games.
void offerElite(double score) {
  if (rankIndex() != 0 || options.outFile.empty() || score < run.outScore) return;
  if (!saveNetwork(run.subjects[0], options.outFile))
    throw LabError{options.outFile + ": cannot be written"};
  run.outScore = score;
  run.outWritten = true;
}

// The next generation from parents[i] for each child i: child 0 the elite unchanged, the others
// mutated. Each rank builds its own children; parents it lacks arrive from their ranks.
void breed(const std::vector<int32_t>& parents) {
  const int32_t subjects = static_cast<int32_t>(parents.size());
  const int me = rankIndex();
  std::vector<int32_t> owner = childOwners(parents);
  std::set<std::pair<int32_t, int32_t>> travels; // (parent, rank that needs it)
  for (int32_t i = 0; i < subjects; ++i)
    if (run.owner[parents[i]] != owner[i]) travels.insert({parents[i], owner[i]});
  std::map<int32_t, std::vector<double>> outgoing, incoming;
  std::vector<Parcel> sends, receives;
  const size_t length = packedLength(run.shape);
  for (auto [parent, rank] : travels) {
    if (run.owner[parent] == me) {
      std::vector<double>& buffer = outgoing[parent];
      if (buffer.empty()) {
        buffer.resize(length);
        packNetwork(run.subjects[parent], buffer.data());
      }
      sends.push_back({rank, parent, &buffer});
    } else if (rank == me) {
      incoming[parent].resize(length);
      receives.push_back({run.owner[parent], parent, &incoming[parent]});
    }
  }
  exchangeParcels(sends, receives);
  std::map<int32_t, Network> arrived;
  for (auto& [parent, buffer] : incoming)
    arrived[parent] = unpackNetwork(run.shape, buffer.data(), options.learningRate);

  // The storage of two generations ago, reused: mostly the right shape already.
  std::vector<Network>& children = run.spare;
  children.resize(subjects);
  RandomStream stream;
  for (int32_t i = 0; i < subjects; ++i) {
    if (owner[i] != me) continue;
    const Network& parent = mine(parents[i]) ? run.subjects[parents[i]] : arrived[parents[i]];
    copyNetworkFrom(children[i], parent);
    children[i].learningRate = options.learningRate;
    if (i == 0) continue;
    seedStream(stream,
               labSeed(options.seed, static_cast<uint64_t>(generation) + 1, i, mutationStream));
    mutate(children[i], stream);
  }
  run.subjects.swap(children);
  run.owner.swap(owner);
}

double runSeconds() {
  return run.earlierSeconds + secondsSince(run.start);
}

// The options a resumed run must share with its checkpoint; the shape and the population come
// from the checkpoint itself.
std::string trainingSettings() {
  char text[256];
  std::snprintf(text, sizeof text,
                "population %" PRId32 " moves %" PRId32 " learning-rate %.17g seed %" PRIu32
                " pieces %s games %" PRId32 " held-out %" PRId32 " held-out-pieces %" PRId64
                " weights",
                options.population, options.moves, options.learningRate, options.seed,
                options.data.pieces.c_str(), options.gamesPerSubject, options.heldOutGames,
                options.heldOutPieces);
  std::string settings = text;
  for (double weight : fitnessParams[0]) {
    std::snprintf(text, sizeof text, " %.17g", weight);
    settings += text;
  }
  return settings;
}

// Rank 0 collects every subject and writes the run; the others send theirs.
void writeTrainingCheckpoint() {
  const int32_t subjects = options.population;
  const size_t length = packedLength(run.shape);
  std::vector<std::vector<double>> packed(subjects);
  std::vector<Parcel> sends, receives;
  for (int32_t i = 0; i < subjects; ++i) {
    if (mine(i)) {
      packed[i].resize(length);
      packNetwork(run.subjects[i], packed[i].data());
      if (rankIndex() != 0) sends.push_back({0, i, &packed[i]});
    } else if (rankIndex() == 0) {
      packed[i].resize(length);
      receives.push_back({run.owner[i], i, &packed[i]});
    }
  }
  exchangeParcels(sends, receives);
  if (rankIndex() != 0) return;

  TrainingCheckpoint checkpoint;
  checkpoint.settings = run.settings;
  checkpoint.generation = generation;
  checkpoint.highestFitness = highestFitness;
  checkpoint.highestAverage = highestAverage;
  checkpoint.lowestAverage = lowestAverage;
  checkpoint.seconds = runSeconds();
  checkpoint.rows = run.rows;
  checkpoint.shape = run.shape;
  checkpoint.networks.reserve(length * subjects);
  for (const std::vector<double>& numbers : packed)
    checkpoint.networks.insert(checkpoint.networks.end(), numbers.begin(), numbers.end());
  std::string error;
  if (!writeFileAtomically(options.checkpointFile, checkpointBytes(checkpoint), &error))
    throw LabError{error};
}

// The run from its checkpoint, read by rank 0 and passed to all; false when there is none yet.
bool resumeTraining() {
  const std::string& path = options.checkpointFile;
  std::string bytes, error;
  // A checkpoint larger than the memory a run may take could never be resumed anyway.
  if (rankIndex() == 0 &&
      !readFileLimited(path, static_cast<size_t>(memoryBudget()), &bytes, &error)) {
    if (errno != ENOENT) throw LabError{error};
  } else if (rankIndex() == 0 && bytes.empty()) {
    throw LabError{path + ": is empty"};
  }
  broadcastFromFirst(bytes);
  if (bytes.empty()) {
    if (rankIndex() == 0) std::fprintf(stderr, "%s: no checkpoint yet, a new run\n", path.c_str());
    return false;
  }
  TrainingCheckpoint checkpoint = readCheckpointBytes(bytes, path);
  if (checkpoint.settings != run.settings)
    throw LabError{path + ": the run had other settings: " + checkpoint.settings};
  const size_t length = packedLength(checkpoint.shape);
  if (checkpoint.shape.front() != networkInputCount(pieceCatalogue.size()) ||
      checkpoint.shape.back() != actionCount ||
      checkpoint.networks.size() != length * options.population)
    throw LabError{path + ": its networks do not fit this run"};

  run.shape = checkpoint.shape;
  run.owner = blockOwners(options.population);
  run.subjects.assign(options.population, {});
  for (int32_t i = 0; i < options.population; ++i)
    if (mine(i))
      run.subjects[i] =
          unpackNetwork(run.shape, &checkpoint.networks[length * i], options.learningRate);
  clearTrainingRecords();
  generation = checkpoint.generation;
  highestFitness = checkpoint.highestFitness;
  highestAverage = checkpoint.highestAverage;
  lowestAverage = checkpoint.lowestAverage;
  for (const TrainingRow& row : checkpoint.rows) averageHistory.push_back(row.average);
  run.rows = checkpoint.rows;
  run.earlierSeconds = checkpoint.seconds;
  return true;
}

// Every rank plays its subjects; all then keep the same records and draw the same parents.
void playGeneration() {
  const int32_t subjects = options.population;
  std::vector<double> results(2 * static_cast<size_t>(subjects), 0.0); // fitness, then lines
  for (int32_t i = 0; i < subjects; ++i)
    if (mine(i)) playSubject(i, results[i], results[subjects + i]);
  // One rank wrote each entry, the others zero, so the sums are exact.
  sumOverRanks(results);

  TrainingRow row;
  row.generation = generation;
  for (int32_t i = 0; i < subjects; ++i) {
    recordSubjectFitness(results[i], i);
    row.lines += static_cast<int64_t>(results[subjects + i]);
  }
  recordGenerationAverage();
  row.average = static_cast<int32_t>(averageHistory.back());
  row.best = *std::max_element(generationFitness.begin(), generationFitness.end());

  // A lucky subject may top the generation's games; the elite is whoever of the finalists does
  // best on the held-out games, and the carried-over elite keeps its place unless clearly beaten.
  std::vector<int32_t> order(subjects);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(),
                   [&](int32_t a, int32_t b) { return results[a] > results[b]; });
  std::vector<int32_t> finalists = {0};
  for (int32_t k = 0; k < std::min(finalistCount, subjects); ++k)
    if (order[k] != 0) finalists.push_back(order[k]);
  const int32_t games = options.heldOutGames;
  std::vector<double> heldOut(subjects, 0.0), perGame(static_cast<size_t>(subjects) * games, 0.0);
  for (int32_t f : finalists)
    if (mine(f)) heldOut[f] = heldOutLines(run.subjects[f], &perGame[f * games]);
  sumOverRanks(heldOut);
  sumOverRanks(perGame);
  int32_t elite = 0;
  for (int32_t f : finalists)
    if (heldOut[f] > heldOut[elite] && clearlyBetter(&perGame[f * games], &perGame[0], games))
      elite = f;

  std::vector<int32_t> parents(subjects, elite);
  std::mt19937 roulette(
      labSeed(options.seed, static_cast<uint64_t>(generation), 0, rouletteStream));
  for (int32_t i = 1; i < subjects; ++i) parents[i] = rouletteParent(roulette);
  bool newElite = elite != 0;
  breed(parents);
  beginNextGeneration();
  run.sessionGenerations += 1;
  row.seconds = runSeconds();
  run.rows.push_back(row);

  if (rankIndex() == 0) {
    if (newElite || !run.outWritten) offerElite(heldOut[elite]);
    appendTrainingLog(options.logFile, row);
  }
  if (!options.checkpointFile.empty()) writeTrainingCheckpoint();
  if (rankIndex() != 0) return;

  double seconds = secondsSince(run.start);
  double steps = static_cast<double>(run.sessionGenerations) * subjects * options.moves *
                 options.gamesPerSubject;
  double left = (options.generations - row.generation) * seconds / run.sessionGenerations;
  std::fprintf(stderr,
               "generation %" PRId32 "/%" PRId32 ": average %" PRId32 ", best %" PRId32
               ", lines %" PRId64 ", elite %.1f held-out lines, %.0f steps a second, %.0f s left\n",
               row.generation, options.generations, row.average, row.best, row.lines,
               heldOut[elite], steps / seconds, left);
  if (!options.plotFile.empty() && secondsSince(run.lastPlot) > plotInterval) {
    writePlot(options.plotFile);
    run.lastPlot = std::chrono::steady_clock::now();
  }
}

void runTrain() {
  joinRanks();
  loadLabData(options.data);
  gameMode = trainingMode; // locks reward cleared lines and punish lost games
  if (rankIndex() == 0 && !options.plotFile.empty()) preparePlot(options.data.dataFolder);
  agreeAcrossRanks();
  run.settings = trainingSettings();
  bool resumed = options.resume && resumeTraining();
  if (!resumed) startPopulation();
  measureOut();
  if (rankIndex() == 0) startTrainingLog(options.logFile, run.rows);
  run.start = run.lastPlot = std::chrono::steady_clock::now();
  std::clock_t processorStart = std::clock();

  while (generation <= options.generations) playGeneration();

  if (rankIndex() != 0) return;
  if (!options.plotFile.empty()) writePlot(options.plotFile);
  double seconds = secondsSince(run.start);
  double steps = static_cast<double>(run.sessionGenerations) * options.population * options.moves *
                 options.gamesPerSubject;
  double processor = static_cast<double>(std::clock() - processorStart) / CLOCKS_PER_SEC;
  std::printf("generations %" PRId32 " ranks %d steps %.0f seconds %.2f steps/s %.0f; rank 0: "
              "processor %.2f s, exchanging %.2f s; highest fitness %.1f\n",
              generation - 1, rankCount(), steps, seconds, seconds > 0.0 ? steps / seconds : 0.0,
              processor, secondsExchanging(), highestFitness);
}

} // namespace

void addTrainCommand(CLI::App& app) {
  CLI::App* command = app.add_subcommand(
      "train", "evolve networks as the training screen does, headless, over MPI's ranks");
  addDataOptions(*command, options.data);
  command->add_option("--population", options.population, "networks per generation")
      ->check(wholeBetween(1, 10000));
  command->add_option("--moves", options.moves, "placements each subject plays")
      ->check(wholeBetween(1, 1000000));
  command->add_option("--hidden-layers", options.hiddenLayers, "hidden layers per network")
      ->check(wholeBetween(0, 16));
  command->add_option("--neurons", options.neurons, "neurons per hidden layer (each gets one more)")
      ->check(wholeBetween(0, 4096));
  command->add_option("--learning-rate", options.learningRate, "the mutation step")
      ->check(realBetween(0.0, 1000.0));
  command->add_option("--generations", options.generations, "the run ends after this generation")
      ->check(wholeBetween(1, 100000000));
  command->add_option("--seed", options.seed, "the run's seed")
      ->check(wholeBetween(0, largestSeed));
  command
      ->add_option("--games-per-subject", options.gamesPerSubject,
                   "seeded games each subject plays; the same seeds for all of a generation")
      ->check(CLI::Range(1, 10000));
  command
      ->add_option("--held-out-games", options.heldOutGames,
                   "whole games, never used for selection, that choose the elite and guard --out")
      ->check(CLI::Range(1, 10000));
  command->add_option("--held-out-pieces", options.heldOutPieces, "length limit of those games")
      ->check(CLI::Range(int64_t{1}, int64_t{100000000}));
  command
      ->add_option("--from", options.fromFile,
                   "first population: this network and mutated "
                   "copies of it")
      ->check(CLI::ExistingFile);
  command->add_option("--out", options.outFile,
                      "the elite, whenever it is at least as good on the held-out games as what "
                      "the file holds");
  command->add_option("--log", options.logFile, "CSV: generation, average, best, lines, seconds");
  command->add_option("--plot", options.plotFile,
                      "PNG of the fitness graph, each minute and at the end");
  CLI::Option* checkpoint = command->add_option("--checkpoint", options.checkpointFile,
                                                "the whole run, after every generation");
  command->add_flag("--resume", options.resume, "continue from --checkpoint when it exists")
      ->needs(checkpoint);
  command->callback(runTrain);
}
