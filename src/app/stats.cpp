// Statistics of finished games: the history (one appended row a game) and the personal bests
// derived from it, kept in a small file so that a long history never slows the start.
#include "app/play.h"
#include "app/records.h"
#include "game/game.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* historyHeader =
    "date,mode,score,lines,pieces,seconds,pieces_per_second,garbage_sent,replay,level,result,"
    "finesse_faults,keys_per_piece,opponent,garbage_received\n";
// The header of files written before the later columns; their rows still count.
constexpr const char* firstHistoryHeader =
    "date,mode,score,lines,pieces,seconds,pieces_per_second,garbage_sent,replay\n";
constexpr size_t firstColumns = 9, allColumns = 15;
constexpr size_t longestRow = 4096;            // bytes; a longer line is not a row of ours
constexpr int64_t historyReadLimit = 64 << 20; // the history read to rebuild the bests
constexpr const char* bestModes[] = {"solo", "sprint", "ultra"};

// Only regular files are read: a fifo or a device in their place would hang or flood the start.
bool regularFile(const char* path) {
  struct stat info;
  return stat(path, &info) == 0 && S_ISREG(info.st_mode);
}

bool knownBestMode(const std::string& mode) {
  for (const char* name : bestModes)
    if (mode == name) return true;
  return false;
}

// A replay's file name, as written: letters, digits and - _ . only, so a row can hold it.
bool plainName(const std::string& name) {
  if (name.size() > 200 || name == "." || name == "..") return false;
  for (char c : name)
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != '-' && c != '_' && c != '.')
      return false;
  return true;
}

bool parseInt(const std::string& text, int32_t& out) {
  if (text.empty() || text.size() > 11) return false;
  char* end = nullptr;
  errno = 0;
  long value = std::strtol(text.c_str(), &end, 10);
  if (*end != '\0' || errno != 0 || value < INT32_MIN || value > INT32_MAX) return false;
  out = static_cast<int32_t>(value);
  return true;
}

bool parseNumber(const std::string& text, double& out) {
  if (text.empty() || text.size() > 32) return false;
  char* end = nullptr;
  out = std::strtod(text.c_str(), &end);
  return *end == '\0' && std::isfinite(out) && out >= 0.0;
}

void writeBests() {
  std::string text;
  for (const PersonalBest& best : personalBests)
    text += best.mode + " " + twoDecimals(best.value) + " " + best.replayFile + "\n";
  std::string error;
  if (!writeFileAtomically(bestsPath, text, &error))
    std::fprintf(stderr, "Brikka: could not save %s\n", error.c_str());
}

// Counts game into the bests; true when it set a new one.
bool considerBest(const GameRecord& game) {
  if (!knownBestMode(game.mode)) return false;
  // A game without a single line sets no best, however few points beat nothing.
  if (game.lines < 1) return false;
  if (game.mode == "sprint" && !finishedSprint(game)) return false;
  double value = bestValueOf(game);
  for (PersonalBest& best : personalBests)
    if (best.mode == game.mode) {
      if (!betterThanBest(game.mode, value, best.value)) return false;
      best = {game.mode, value, game.replayFile};
      return true;
    }
  personalBests.push_back({game.mode, value, game.replayFile});
  return true;
}

void rebuildBestsFromHistory() {
  personalBests.clear();
  if (!regularFile(historyPath)) return;
  std::ifstream file(historyPath, std::ios::binary);
  if (!file) return;
  std::string line;
  int64_t bytes = 0, bad = 0;
  bool first = true;
  while (bytes < historyReadLimit && std::getline(file, line)) {
    bytes += static_cast<int64_t>(line.size()) + 1;
    if (first && (line + "\n" == historyHeader || line + "\n" == firstHistoryHeader)) {
      first = false;
      continue;
    }
    first = false;
    GameRecord game;
    if (parseHistoryRow(line, game))
      considerBest(game);
    else
      ++bad;
  }
  if (bad > 0)
    std::fprintf(stderr, "%s: %lld rows not understood; they count for no best\n", historyPath,
                 static_cast<long long>(bad));
}

} // namespace

std::string playedResult() {
  if (gameMode == soloPlayMode)
    return p1GameOver || soloVariant == marathonVariant ? "topped out" : "finished";
  // A player's points are the other's top-outs.
  std::string points = std::to_string(p2Losses) + "-" + std::to_string(p1Losses);
  if (p1Losses >= 3 && p2Losses >= 3) return "draw";
  return (p2Losses >= 3 ? "win " : "loss ") + points;
}

std::string modeName(int32_t mode, int32_t variant) {
  if (mode == playerVersusMode) return "versus";
  if (mode == versusBotMode) return "bot";
  if (variant == sprintVariant) return "sprint";
  if (variant == ultraVariant) return "ultra";
  return "solo";
}

std::string historyRow(const GameRecord& game) {
  return game.date + "," + game.mode + "," + std::to_string(game.score) + "," +
         std::to_string(game.lines) + "," + std::to_string(game.pieces) + "," +
         twoDecimals(game.seconds) + "," + twoDecimals(game.piecesPerSecond) + "," +
         std::to_string(game.garbageSent) + "," + game.replayFile + "," + game.level + "," +
         game.result + "," + std::to_string(game.finesseFaults) + "," +
         twoDecimals(game.keysPerPiece) + "," + game.opponent + "," +
         std::to_string(game.garbageReceived) + "\n";
}

bool parseHistoryRow(const std::string& line, GameRecord& game) {
  if (line.size() > longestRow) return false;
  std::vector<std::string> fields;
  std::stringstream stream(line);
  std::string field;
  while (std::getline(stream, field, ',')) fields.push_back(field);
  if (!line.empty() && line.back() == ',') fields.push_back("");
  if (fields.size() < firstColumns || fields.size() > allColumns) return false;
  fields.resize(allColumns);
  GameRecord g;
  g.date = fields[0];
  g.mode = fields[1];
  bool ok = g.date.size() == 19 && parseInt(fields[2], g.score) && parseInt(fields[3], g.lines) &&
            parseInt(fields[4], g.pieces) && parseNumber(fields[5], g.seconds) &&
            parseNumber(fields[6], g.piecesPerSecond) && parseInt(fields[7], g.garbageSent);
  g.replayFile = fields[8];
  g.level = fields[9];
  g.result = fields[10];
  g.opponent = fields[13];
  // Later columns are optional: an empty one is a row written before it existed.
  if (!fields[11].empty()) ok = ok && parseInt(fields[11], g.finesseFaults);
  if (!fields[12].empty()) ok = ok && parseNumber(fields[12], g.keysPerPiece);
  if (!fields[14].empty()) ok = ok && parseInt(fields[14], g.garbageReceived);
  if (!ok || (!g.replayFile.empty() && !plainName(g.replayFile))) return false;
  game = g;
  return true;
}

// The history changed after the bests were last written: a game ended and the program was
// stopped before it could write them.
bool historyNewerThanBests() {
  struct stat history, bests;
  if (stat(historyPath, &history) != 0 || stat(bestsPath, &bests) != 0) return false;
  if (history.st_mtim.tv_sec != bests.st_mtim.tv_sec)
    return history.st_mtim.tv_sec > bests.st_mtim.tv_sec;
  return history.st_mtim.tv_nsec > bests.st_mtim.tv_nsec;
}

void readBests() {
  personalBests.clear();
  std::ifstream file;
  if (regularFile(bestsPath)) file.open(bestsPath);
  if (!file.is_open()) {
    rebuildBestsFromHistory();
    return;
  }
  std::string line;
  int lines = 0;
  bool bad = false;
  while (!bad && std::getline(file, line)) {
    if (++lines > 16 || line.size() > longestRow) {
      bad = true;
      break;
    }
    std::istringstream row(line);
    PersonalBest best;
    std::string value, extra;
    row >> best.mode >> value;
    std::getline(row >> std::ws, best.replayFile);
    bad = !knownBestMode(best.mode) || !parseNumber(value, best.value) ||
          (!best.replayFile.empty() && !plainName(best.replayFile)) || personalBest(best.mode);
    if (!bad) personalBests.push_back(best);
  }
  if (bad)
    std::fprintf(stderr, "%s: not a file of bests; rebuilding it from %s\n", bestsPath,
                 historyPath);
  if (bad || historyNewerThanBests()) {
    rebuildBestsFromHistory();
    writeBests();
  }
}

bool appendHistory(const GameRecord& game) {
  // One write of one whole row, synced: a crash loses at most the row being written.
  int descriptor = open(historyPath, O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
  struct stat info;
  if (descriptor >= 0 && (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode))) {
    close(descriptor);
    descriptor = -1;
    errno = EINVAL;
  }
  if (descriptor < 0) {
    std::fprintf(stderr, "Brikka: could not save %s: %s\n", historyPath, std::strerror(errno));
    return false;
  }
  std::string text = historyRow(game);
  off_t end = lseek(descriptor, 0, SEEK_END);
  if (end == 0) text = historyHeader + text;
  // A row cut by an earlier crash would swallow this one: start on a fresh line.
  char last = '\n';
  if (end > 0 && pread(descriptor, &last, 1, end - 1) == 1 && last != '\n') text = "\n" + text;
  bool ok = write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size());
  ok = fsync(descriptor) == 0 && ok;
  close(descriptor);
  if (!ok) std::fprintf(stderr, "Brikka: could not save %s\n", historyPath);
  return ok;
}

// Records the game that just ended: history row, bests, and what the results panel shows.
void recordFinishedGame(const GameRecord& game) {
  lastGame = game;
  lastGameShown = true;
  const PersonalBest* before = personalBest(game.mode);
  lastGameHadBest = before != nullptr;
  lastGameOldBest = before ? before->value : 0.0;
  appendHistory(game);
  lastGameNewBest = considerBest(game);
  // Written after every row, so that a history newer than it means a write was cut short.
  writeBests();
}
