// What the lab checks before it starts work: numbers on the command line, outputs that would
// overwrite each other, the memory a run will take, leftovers of killed writes, and that every
// rank was started the same way and loaded the same data.
#include "lab/lab.h"

#include <CLI/CLI.hpp>

#include "ai/ai.h"
#include "game/game.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

namespace {

const CLI::App* checkedCommand = nullptr; // the subcommand that runs, once parsed
int64_t maxMemoryMegabytes = 0;           // --max-memory; 0 = the machine's memory

// Options that name a file the command writes.
const char* const outputOptions[] = {"--out", "--checkpoint", "--log", "--plot", "--csv"};

// 1000000 as "1,000,000": a bound people can read at a glance.
std::string grouped(long long value) {
  std::string digits = std::to_string(value < 0 ? -value : value);
  for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3) digits.insert(at, ",");
  return (value < 0 ? "-" : "") + digits;
}

std::string realText(double value) {
  if (value == std::floor(value) && std::fabs(value) < 1e15)
    return grouped(static_cast<long long>(value));
  std::ostringstream text;
  text << value;
  return text.str();
}

std::string betweenText(const std::string& low, const std::string& high) {
  return "must be between " + low + " and " + high;
}

bool sameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  if (fs::equivalent(a, b, error)) return true;
  // Not there yet: the same name reached two ways is still one file.
  return fs::weakly_canonical(fs::absolute(a, error), error) ==
         fs::weakly_canonical(fs::absolute(b, error), error);
}

std::string folderOf(const std::string& path) {
  fs::path parent = fs::path(path).parent_path();
  return parent.empty() ? "." : parent.string();
}

int64_t machineMemory() {
  int64_t bytes = static_cast<int64_t>(sysconf(_SC_PHYS_PAGES)) * sysconf(_SC_PAGE_SIZE);
  // A container may be allowed less than the machine has.
  std::string limit;
  if (readFileLimited("/sys/fs/cgroup/memory.max", 64, &limit)) {
    long long value = std::strtoll(limit.c_str(), nullptr, 10);
    if (value > 0 && value < bytes) bytes = value;
  }
  return bytes;
}

// Bytes a process of the lab takes before any run: the game's state, the libraries, MPI (14 MB
// measured, with room).
constexpr double baseBytes = 32.0 * (1 << 20);
// A network's weight in the game's form (index and weight) and a network's neuron.
constexpr double bytesPerLiveWeight = sizeof(Connection);
constexpr double bytesPerLiveNeuron = sizeof(Neuron);
// A position of the distiller: its offset, its answer mask and its ones (two bytes each, some
// twenty-five on the heuristic's boards, forty allowed), twice for the vectors' growth. 58 bytes
// a position were measured.
constexpr double bytesPerPosition = 2.0 * (4 + 8 + 2 * 40);

template <typename T> T optionValue(const CLI::App& command, const char* name, T fallback) {
  const CLI::Option* option = command.get_option_no_throw(name);
  return option ? option->as<T>() : fallback;
}

double networkWeights(const std::vector<size_t>& shape) {
  double weights = 0.0;
  for (size_t l = 1; l < shape.size(); ++l)
    weights += static_cast<double>(shape[l]) * (static_cast<double>(shape[l - 1]) + 1.0);
  return weights;
}

// Layer sizes train and distill build from their options; the inputs are those of the largest
// piece files that ship, a bound for the real ones.
std::vector<size_t> optionShape(const CLI::App& command) {
  size_t pieces = optionValue<std::string>(command, "--pieces", "default") == "all" ? 64 : 7;
  std::vector<size_t> shape = {networkInputCount(pieces)};
  auto hidden = optionValue<int64_t>(command, "--hidden-layers", 0);
  auto neurons = optionValue<int64_t>(command, "--neurons", 0);
  for (int64_t h = 0; h < hidden; ++h) shape.push_back(static_cast<size_t>(neurons) + 1);
  shape.push_back(actionCount);
  std::string from = optionValue<std::string>(command, "--from", "");
  Network network;
  if (!from.empty() && readNetworkFile(from, network).empty()) {
    shape.clear();
    for (const std::vector<Neuron>& layer : network.layers) shape.push_back(layer.size());
  }
  return shape;
}

double trainBytes(const CLI::App& command) {
  std::vector<size_t> shape = optionShape(command);
  double neurons = 0.0;
  for (size_t size : shape) neurons += static_cast<double>(size);
  double network = networkWeights(shape) * bytesPerLiveWeight + neurons * bytesPerLiveNeuron;
  double population = static_cast<double>(optionValue<int64_t>(command, "--population", 1));
  // Two generations live at once; a checkpoint holds every network three more times as plain
  // numbers: collected, gathered and as the file's bytes.
  double perSubject = 2.0 * network;
  if (!optionValue<std::string>(command, "--checkpoint", "").empty())
    perSubject += 3.0 * networkWeights(shape) * sizeof(double);
  return baseBytes + population * perSubject;
}

double distillPositions(const CLI::App& command) {
  return static_cast<double>(optionValue<int64_t>(command, "--positions", 0)) +
         static_cast<double>(optionValue<int64_t>(command, "--rounds", 1) - 1) *
             static_cast<double>(optionValue<int64_t>(command, "--own-positions", 0)) +
         static_cast<double>(optionValue<int64_t>(command, "--held-out", 0));
}

double distillBytes(const CLI::App& command) {
  std::vector<size_t> shape = optionShape(command);
  double positions = distillPositions(command);
  double batch = static_cast<double>(optionValue<int64_t>(command, "--batch", 1));
  double neurons = 0.0;
  for (size_t size : shape) neurons += static_cast<double>(size);
  // A temperature keeps every action's gap too: a float each, twice for the vector's growth.
  double gapBytes = optionValue<double>(command, "--temperature", 0.0) > 0.0
                        ? 2.0 * actionCount * sizeof(float)
                        : 0.0;
  // Weights, gradients and Adam's two moments in single precision; three batch-sized scratch
  // matrices; the order of the examples; the network as the file stores it.
  return baseBytes + positions * (bytesPerPosition + gapBytes + 4.0) +
         networkWeights(shape) * 16.0 + 3.0 * batch * neurons * 4.0 +
         networkWeights(shape) * bytesPerLiveWeight;
}

double tuneBytes(const CLI::App& command) {
  return baseBytes + static_cast<double>(optionValue<int64_t>(command, "--candidates", 1)) * 64.0;
}

void checkMemory(const CLI::App& command) {
  const std::string name = command.get_name();
  double need = name == "train"     ? trainBytes(command)
                : name == "distill" ? distillBytes(command)
                : name == "tune"    ? tuneBytes(command)
                                    : 0.0;
  if (name == "distill" && distillPositions(command) > maxDistillPositions)
    throw LabError{"distill holds at most " + grouped(maxDistillPositions) +
                   " positions in all; these options ask for more"};
  if (need == 0.0) return;
  double limit = static_cast<double>(memoryBudget());
  if (need <= limit) return;
  char text[256];
  std::snprintf(text, sizeof text,
                "%s would need about %.0f MB with these options, more than the %.0f MB %s; "
                "choose smaller sizes or raise --max-memory (in MB)",
                name.c_str(), need / (1 << 20), limit / (1 << 20),
                maxMemoryMegabytes > 0 ? "of --max-memory" : "this machine has");
  throw LabError{text};
}

void checkOutputs(const CLI::App& command) {
  std::vector<std::pair<const char*, std::string>> outputs;
  for (const char* name : outputOptions) {
    std::string path = optionValue<std::string>(command, name, "");
    if (path.empty()) continue;
    for (const auto& [other, otherPath] : outputs)
      if (sameFile(path, otherPath))
        throw LabError{std::string(other) + " and " + name + " name the same file, " + path +
                       "; each needs its own"};
    outputs.push_back({name, path});
  }
  // What killed writes of earlier runs left beside these files.
  for (const auto& output : outputs) removeStaleTemporaryFiles(folderOf(output.second));
}

// What every rank must share: its options (the data folder's path aside, since its contents
// count) and what it loaded. One "name value" line each, so a difference can be named.
std::string runDigest() {
  std::ostringstream digest;
  std::istringstream options(checkedCommand ? checkedCommand->config_to_str(true, false) : "");
  for (std::string line; std::getline(options, line);)
    if (!line.empty() && line[0] != '[' && line.rfind("data=", 0) != 0) digest << line << "\n";
  // The pieces as the catalogue holds them, cell by cell.
  uint64_t hash = 1469598103934665603ull;
  auto mix = [&hash](uint64_t value) { hash = (hash ^ value) * 1099511628211ull; };
  for (const Piece& piece : pieceCatalogue)
    for (const PieceGrid& grid : piece.grids) {
      mix(grid.size());
      for (const std::vector<int32_t>& column : grid)
        for (int32_t cell : column) mix(static_cast<uint64_t>(cell) + 7);
    }
  digest << "pieces in play=" << pieceCatalogue.size() << " with digest " << std::hex << hash
         << std::dec << "\n";
  digest << "evaluation weights=";
  for (double weight : fitnessParams.empty() ? std::vector<double>{} : fitnessParams[0]) {
    char text[32];
    std::snprintf(text, sizeof text, " %a", weight);
    digest << text;
  }
  digest << "\n";
  std::string from = checkedCommand ? optionValue<std::string>(*checkedCommand, "--from", "") : "";
  std::string bytes;
  if (!from.empty() && readFileLimited(from, networkFileLimit, &bytes)) {
    hash = 1469598103934665603ull;
    for (unsigned char c : bytes) mix(c);
    digest << "--from network digest=" << std::hex << hash << std::dec << "\n";
  }
  return digest.str();
}

std::string lineAt(const std::vector<std::string>& lines, size_t k) {
  return k < lines.size() ? lines[k] : "nothing";
}

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

} // namespace

CLI::Validator wholeBetween(int64_t low, int64_t high) {
  std::string bounds = betweenText(grouped(low), grouped(high));
  return CLI::Validator(
      [=](std::string& text) -> std::string {
        const char* start = text.c_str();
        char* end = nullptr;
        errno = 0;
        long long value = std::strtoll(start, &end, 10);
        if (end == start || *end != '\0' || text.empty()) return "\"" + text + "\" is not a number";
        if (errno == ERANGE || value < low || value > high) return text + " " + bounds;
        return "";
      },
      grouped(low) + " to " + grouped(high));
}

CLI::Validator realBetween(double low, double high, bool lowIncluded) {
  std::string bounds = lowIncluded
                           ? betweenText(realText(low), realText(high))
                           : "must be above " + realText(low) + " and at most " + realText(high);
  return CLI::Validator(
      [=](std::string& text) -> std::string {
        const char* start = text.c_str();
        char* end = nullptr;
        errno = 0;
        double value = std::strtod(start, &end);
        if (end == start || *end != '\0' || text.empty() || std::isnan(value))
          return "\"" + text + "\" is not a number";
        if (errno == ERANGE || value > high || value < low || (!lowIncluded && value == low))
          return text + " " + bounds;
        return "";
      },
      (lowIncluded ? "" : "above ") + realText(low) + " to " + realText(high));
}

void addMemoryOption(CLI::App& command) {
  command
      .add_option("--max-memory", maxMemoryMegabytes,
                  "refuse a run estimated to need more MB than this (default: this machine's "
                  "memory)")
      ->check(wholeBetween(1, int64_t{1} << 40));
}

int64_t memoryBudget() {
  return maxMemoryMegabytes > 0 ? maxMemoryMegabytes * (int64_t{1} << 20) : machineMemory();
}

void checkCommand(const CLI::App& command) {
  checkedCommand = &command;
  checkOutputs(command);
  checkMemory(command);
}

void agreeAcrossRanks() {
  std::string mine = runDigest();
  std::vector<std::string> digests = gatherFromRanks(mine, rankAgreementSeconds);
  std::string verdict;
  if (rankIndex() == 0) {
    std::vector<std::string> first = linesOf(mine);
    for (size_t rank = 1; rank < digests.size() && verdict.empty(); ++rank) {
      std::vector<std::string> other = linesOf(digests[rank]);
      for (size_t k = 0; k < std::max(first.size(), other.size()); ++k)
        if (lineAt(first, k) != lineAt(other, k)) {
          verdict = "rank " + std::to_string(rank) + " differs from rank 0: it has " +
                    lineAt(other, k) + " where rank 0 has " + lineAt(first, k) +
                    "; every rank needs the same options and data";
          break;
        }
    }
  }
  broadcastFromFirst(verdict);
  if (!verdict.empty()) throw LabError{rankIndex() == 0 ? verdict : "", true};
}
