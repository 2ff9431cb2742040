// Recording every game as it is played (the online game's frames are recorded by online.cpp
// into the same record) and keeping the last replays on disk.
#include "ai/playback.h"
#include "app/play.h"
#include "app/records.h"
#include "game/game.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

std::string utcText(int64_t seconds, const char* format) {
  std::time_t t = static_cast<std::time_t>(seconds);
  std::tm parts{};
  gmtime_r(&t, &parts);
  char text[64];
  std::strftime(text, sizeof text, format, &parts);
  return text;
}

// "20261207-121530_sprint_4300_40_8352.replay": date, mode, score, lines, hundredths.
std::string replayName(const GameRecord& game, int64_t date) {
  return utcText(date, "%Y%m%d-%H%M%S") + "_" + game.mode + "_" + std::to_string(game.score) + "_" +
         std::to_string(game.lines) + "_" +
         std::to_string(static_cast<int64_t>(game.seconds * 100.0 + 0.5)) + ".replay";
}

std::string saveRecording(const GameRecord& game) {
  return saveReplay(replayRecording.replay, game);
}

} // namespace

// Keeps the newest replays and every personal best's; removes the others.
void pruneReplays() {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(replaysFolder, error))
    if (entry.path().extension() == ".replay") names.push_back(entry.path().filename().string());
  std::sort(names.rbegin(), names.rend());
  for (size_t i = replaysKept; i < names.size(); ++i) {
    bool best = false;
    for (const PersonalBest& b : personalBests) best = best || b.replayFile == names[i];
    if (!best) fs::remove(fs::path(replaysFolder) / names[i], error);
  }
}

// Writes a finished replay; the file's name, or "" when it could not be written.
std::string saveReplay(const Replay& replay, const GameRecord& game) {
  std::string name = replayName(game, replay.date);
  std::error_code ignored;
  fs::create_directories(replaysFolder, ignored);
  std::string bytes = replayBytes(replay);
  std::string error;
  if (bytes.size() > replayFileLimit) {
    std::fprintf(stderr, "Brikka: this game's replay is too long to keep\n");
    return "";
  }
  if (!writeFileAtomically(std::string(replaysFolder) + "/" + name, bytes, &error)) {
    std::fprintf(stderr, "Brikka: could not save %s\n", error.c_str());
    return "";
  }
  return name;
}

void recordReplayFrame(bool stepped) {
  bool first = gameSerial != replayRecording.gameSerial;
  if (first) {
    replayRecording.replay = beginReplay(static_cast<int64_t>(std::time(nullptr)), p1Sensitivity,
                                         p2Sensitivity, SDL_GetPerformanceFrequency());
    replayRecording.gameSerial = gameSerial;
    replayRecording.active = true;
    replayRecording.online = false;
    replayRecording.frames = 0;
  }
  if (!replayRecording.active || matchOver) return;
  ReplayFrame frame = currentFrame();
  frame.ticks = currentPerfCounter - previousPerfCounter;
  frame.stepped = stepped;
  // The click that started the game re-seeded before the set-up: the start state holds it.
  frame.clicked = mouseClicked && !first;
  frame.clickSum = mousePosition.x + mousePosition.y;
  if (!stepped && !frame.clicked) return;
  addReplayFrame(replayRecording.replay, frame);
  ++replayRecording.frames;
}

void finishPlayedGame() {
  if (!replayRecording.active || !matchOver || gameSerial != replayRecording.gameSerial) return;
  replayRecording.active = false;
  replayRecording.replay.result = currentResult(replayRecording.frames);
  GameRecord game;
  game.date = utcText(replayRecording.replay.date, "%Y-%m-%d %H:%M:%S");
  game.mode = modeName(replayRecording.replay.mode, replayRecording.replay.variant);
  game.score = replayRecording.replay.result.score;
  game.lines = replayRecording.replay.result.lines;
  game.pieces = replayRecording.replay.result.pieces;
  game.finesseFaults = finesseCounts[0].faults;
  game.keysPerPiece = keysPerPiece(finesseCounts[0]);
  game.seconds = gameClock / 100.0;
  game.piecesPerSecond = game.seconds > 0.0 ? game.pieces / game.seconds : 0.0;
  game.garbageSent = replayRecording.replay.result.garbageSent;
  game.result = playedResult();
  if (gameMode == versusBotMode) game.level = botLevelName;
  game.replayFile = saveRecording(game);
  recordFinishedGame(game);
  pruneReplays();
  replayRecording.replay = Replay{};
}
