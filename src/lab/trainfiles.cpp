// The files of a training run: the per-generation log, and the checkpoint that lets a stopped
// run go on exactly. The checkpoint is a few text lines and then every subject's numbers as
// raw doubles: exact, and small enough to rewrite after every generation.
#include "lab/lab.h"

#include "game/game.h"

#include <cerrno>
#include <cinttypes>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char* const checkpointTitle = "brikka-lab training checkpoint 1";

// printf's hexadecimal form: every bit of the double, and strtod reads it back.
std::string exactText(double value) {
  char text[64];
  std::snprintf(text, sizeof text, "%a", value);
  return text;
}

std::string rowText(const TrainingRow& row) {
  char text[128];
  std::snprintf(text, sizeof text, "%" PRId32 ",%" PRId32 ",%" PRId32 ",%" PRId64 ",%.3f\n",
                row.generation, row.average, row.best, row.lines, row.seconds);
  return text;
}

// Reads a checkpoint's lines one after the other; any surprise is the file's fault.
struct Reader {
  const std::string& bytes;
  const std::string& path;
  size_t at = 0;

  [[noreturn]] void fail(const std::string& what) const {
    throw LabError{path + ": not a usable training checkpoint (" + what + ")"};
  }
  std::string line() {
    size_t end = bytes.find('\n', at);
    if (end == std::string::npos) fail("it ends early");
    std::string text = bytes.substr(at, end - at);
    at = end + 1;
    return text;
  }
  // The rest of a line that starts with name and a space.
  std::string field(const char* name) {
    std::string text = line();
    size_t length = std::strlen(name);
    if (text.compare(0, length, name) != 0 || text.size() <= length || text[length] != ' ')
      fail(std::string("no ") + name);
    return text.substr(length + 1);
  }
  // A whole number from low to high: every count is bounded before it sizes anything.
  long long integer(const char* name, long long low, long long high) {
    return bounded(field(name), name, low, high);
  }
  long long bounded(const std::string& text, const char* name, long long low, long long high) {
    char* end = nullptr;
    errno = 0;
    long long value = std::strtoll(text.c_str(), &end, 10);
    if (end == text.c_str() || *end != '\0' || errno == ERANGE || value < low || value > high)
      fail(std::string("bad ") + name);
    return value;
  }
  double real(const char* name) {
    std::string text = field(name);
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || *end != '\0' || !std::isfinite(value))
      fail(std::string("bad ") + name);
    return value;
  }
  size_t left() const { return bytes.size() - at; }
};

} // namespace

std::string checkpointBytes(const TrainingCheckpoint& checkpoint) {
  std::string text = std::string(checkpointTitle) + "\n";
  text += "settings " + checkpoint.settings + "\n";
  text += "generation " + std::to_string(checkpoint.generation) + "\n";
  text += "highest-fitness " + exactText(checkpoint.highestFitness) + "\n";
  text += "highest-average " + std::to_string(checkpoint.highestAverage) + "\n";
  text += "lowest-average " + std::to_string(checkpoint.lowestAverage) + "\n";
  text += "seconds " + exactText(checkpoint.seconds) + "\n";
  text += "layers " + std::to_string(checkpoint.shape.size()) + "\n";
  for (size_t size : checkpoint.shape) text += std::to_string(size) + "\n";
  text += "rows " + std::to_string(checkpoint.rows.size()) + "\n";
  for (const TrainingRow& row : checkpoint.rows) text += rowText(row);
  text += "numbers " + std::to_string(checkpoint.networks.size()) + "\n";
  text.append(reinterpret_cast<const char*>(checkpoint.networks.data()),
              checkpoint.networks.size() * sizeof(double));
  return text;
}

TrainingCheckpoint readCheckpointBytes(const std::string& bytes, const std::string& path) {
  Reader reader{bytes, path};
  if (reader.line() != checkpointTitle) reader.fail("wrong first line");
  TrainingCheckpoint checkpoint;
  checkpoint.settings = reader.field("settings");
  checkpoint.generation = static_cast<int32_t>(reader.integer("generation", 1, INT32_MAX));
  checkpoint.highestFitness = reader.real("highest-fitness");
  checkpoint.highestAverage =
      static_cast<int32_t>(reader.integer("highest-average", INT32_MIN, INT32_MAX));
  checkpoint.lowestAverage =
      static_cast<int32_t>(reader.integer("lowest-average", INT32_MIN, INT32_MAX));
  checkpoint.seconds = reader.real("seconds");
  if (checkpoint.seconds < 0.0) reader.fail("bad seconds");
  long long layers = reader.integer("layers", 2, 1000);
  for (long long l = 0; l < layers; ++l)
    checkpoint.shape.push_back(
        static_cast<size_t>(reader.bounded(reader.line(), "layer size", 1, 100000)));
  // One row per finished generation, each a line of at least ten bytes.
  long long rows = reader.integer("rows", 0, static_cast<long long>(reader.left() / 10));
  if (rows != checkpoint.generation - 1) reader.fail("rows do not match the generation");
  for (long long r = 0; r < rows; ++r) {
    TrainingRow row;
    if (std::sscanf(reader.line().c_str(), "%" SCNd32 ",%" SCNd32 ",%" SCNd32 ",%" SCNd64 ",%lf",
                    &row.generation, &row.average, &row.best, &row.lines, &row.seconds) != 5)
      reader.fail("bad row");
    checkpoint.rows.push_back(row);
  }
  long long numbers = reader.integer("numbers", 0, LLONG_MAX);
  if (static_cast<unsigned long long>(numbers) != reader.left() / sizeof(double) ||
      reader.left() % sizeof(double) != 0)
    reader.fail("the networks are cut short");
  checkpoint.networks.resize(static_cast<size_t>(numbers));
  std::memcpy(checkpoint.networks.data(), bytes.data() + reader.at, reader.left());
  for (double number : checkpoint.networks)
    if (!std::isfinite(number)) reader.fail("a weight is not a finite number");
  return checkpoint;
}

void startTrainingLog(const std::string& path, const std::vector<TrainingRow>& rows) {
  if (path.empty()) return;
  // A resumed run rewrites the rows of its checkpoint: rows of generations played after it
  // and before the stop are played again.
  std::string text = "generation,average,best,lines,seconds\n";
  for (const TrainingRow& row : rows) text += rowText(row);
  std::string error;
  if (!writeFileAtomically(path, text, &error)) throw LabError{error};
}

void appendTrainingLog(const std::string& path, const TrainingRow& row) {
  if (path.empty()) return;
  std::FILE* file = std::fopen(path.c_str(), "a");
  std::string text = rowText(row);
  bool written = file && std::fputs(text.c_str(), file) >= 0;
  if (file && std::fclose(file) != 0) written = false;
  if (!written) throw LabError{path + ": cannot be written"};
}
