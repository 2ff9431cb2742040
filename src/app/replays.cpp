// Replays in the window: recording every game as it is played, keeping the last ones on disk,
// the screen that lists them and the playback with its own controls.
#include "ai/playback.h"
#include "app/play.h"
#include "app/records.h"
#include "app/screens.h"
#include "app/widgets.h"
#include "game/game.h"
#include "net/net.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int rowsPerPage = 12;
enum { newerButton = rowsPerPage, olderButton, replaysBackButton };
enum { pauseControl, halfSpeed, normalSpeed, doubleSpeed, fourfoldSpeed, restartControl };
constexpr double speeds[] = {0.5, 1.0, 2.0, 4.0};

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

namespace {

std::string saveRecording(const GameRecord& game) {
  return saveReplay(replayRecording.replay, game);
}

std::string describeReplay(const std::string& name) {
  std::vector<std::string> parts;
  size_t start = 0;
  std::string stem = name.substr(0, name.size() - 7);
  for (size_t at; (at = stem.find('_', start)) != std::string::npos; start = at + 1)
    parts.push_back(stem.substr(start, at - start));
  parts.push_back(stem.substr(start));
  if (parts.size() != 5 || parts[0].size() != 15) return name;
  const std::string& d = parts[0];
  std::string date = d.substr(0, 4) + "-" + d.substr(4, 2) + "-" + d.substr(6, 2) + " " +
                     d.substr(9, 2) + ":" + d.substr(11, 2);
  std::string mode = parts[1];
  if (!mode.empty()) mode[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(mode[0])));
  // The modes as the list names them: "Solo", "Sprint", "Ultra", "Versus", "Bot", "Online".
  for (const char* known : {trLater("Solo"), trLater("Sprint"), trLater("Ultra"), trLater("Versus"),
                            trLater("Bot"), trLater("Online")})
    if (mode == known) mode = tr(known);
  // The name keeps the game time in hundredths: shown the one way every time is shown.
  long long hundredths = std::atoll(parts[4].c_str());
  int32_t lines = std::atoi(parts[3].c_str());
  std::string figure = trf("%s points", parts[2].c_str());
  if (parts[1] == "sprint") figure = clockText(static_cast<double>(hundredths) / 100.0);
  std::string text =
      mode + "   " + date + "   " + figure + "   " + trf("%s lines", parts[3].c_str());
  // A race not run to its end reads as one, not as a record.
  bool failed = (parts[1] == "sprint" && lines < sprintLines) ||
                (parts[1] == "ultra" && hundredths < static_cast<long long>(ultraDuration));
  if (failed) text += std::string("   ") + tr("topped out");
  for (const PersonalBest& best : personalBests)
    if (best.replayFile == name) text += std::string("   ") + tr("personal best");
  return text;
}

// A button of no size: nothing to see or hit, and the list keeps its numbering.
Button hiddenButton() {
  return makeButton(-1, -1, 0, 0, std::string(), 1);
}

void buildReplayButtons() {
  std::vector<Button> buttons;
  for (int i = 0; i < rowsPerPage; ++i) {
    size_t k = static_cast<size_t>(replayPage * rowsPerPage + i);
    if (k < replayList.size())
      buttons.push_back(makeButton(250, 90 + 60 * i, 1000, 50, describeReplay(replayList[k]), 1));
    else
      buttons.push_back(hiddenButton());
  }
  // Paging only where there is a page to go to.
  bool newer = replayPage > 0;
  bool older = static_cast<size_t>((replayPage + 1) * rowsPerPage) < replayList.size();
  buttons.push_back(newer ? makeButton(250, 850, 200, 50, "Newer", 1) : hiddenButton());
  buttons.push_back(older ? makeButton(1050, 850, 200, 50, "Older", 1) : hiddenButton());
  buttons.push_back(makeButton(675, 850, 150, 50, "Back", 1));
  screenButtons[replaysScreen] = buttons;
  layOutScreen(replaysScreen);
}

void buildReplayControls() {
  replayControls = {
      // TRANSLATORS: a replay's playback speeds, "x" for times, on buttons 100 pixels wide.
      makeButton(50, 930, 150, 50, "Pause", 1), makeButton(220, 930, 100, 50, "x0.5", 1),
      makeButton(340, 930, 100, 50, "x1", 1),   makeButton(460, 930, 100, 50, "x2", 1),
      makeButton(580, 930, 100, 50, "x4", 1),   makeButton(700, 930, 150, 50, "Restart", 1)};
}

// Said on standard error and in the window, which stays on (or goes back to) the menus.
void refuseReplay(const std::string& why) {
  std::fprintf(stderr, "Brikka: %s\n", why.c_str());
  menuNotice = trf("Cannot play this replay: %s", why.c_str());
}

bool restartPlayback() {
  std::string error;
  // An online game's other side comes from the messages it sent, through online play's copy.
  if (replayViewer.replay.mode == onlineVersusMode) endOnlineReplay();
  bool started = replayViewer.replay.mode == onlineVersusMode
                     ? startOnlineReplay(replayViewer.replay, &error)
                     : startReplay(replayViewer.replay, &error);
  if (!started) {
    refuseReplay(replayViewer.path + ": " + error);
    return false;
  }
  replayViewer.cursor = ReplayCursor{};
  replayViewer.debt = 0.0;
  replayEnded = false;
  return true;
}

// One recorded frame; false when none is left.
bool playNextFrame() {
  ReplayFrame frame;
  if (!nextReplayFrame(replayViewer.replay, replayViewer.cursor, frame)) {
    // Bytes that turn out bad half-way: said, and back to the list (playbackCursor.problem).
    if (!replayViewer.cursor.problem.empty())
      refuseReplay(replayViewer.path + ": " + replayViewer.cursor.problem);
    return false;
  }
  playReplayFrame(frame);
  return true;
}

} // namespace

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

void listReplays() {
  replayList.clear();
  std::error_code error;
  for (const auto& entry : fs::directory_iterator(replaysFolder, error))
    if (entry.path().extension() == ".replay")
      replayList.push_back(entry.path().filename().string());
  std::sort(replayList.rbegin(), replayList.rend());
  int32_t pages = static_cast<int32_t>((replayList.size() + rowsPerPage - 1) / rowsPerPage);
  replayPage = std::clamp(replayPage, 0, std::max(0, pages - 1));
  buildReplayButtons();
}

void runReplaysScreen() {
  if (!mouseClicked) return;
  const std::vector<Button>& buttons = screenButtons[replaysScreen];
  if (buttons.size() <= replaysBackButton) return;
  for (int i = 0; i < rowsPerPage; ++i) {
    size_t k = static_cast<size_t>(replayPage * rowsPerPage + i);
    if (buttons[i].hovered && k < replayList.size()) {
      openReplay(std::string(replaysFolder) + "/" + replayList[k]);
      return;
    }
  }
  if (buttons[newerButton].hovered && replayPage > 0) {
    --replayPage;
    listReplays();
  } else if (buttons[olderButton].hovered) {
    ++replayPage;
    listReplays();
  } else if (buttons[replaysBackButton].hovered) {
    currentScreen = modesScreen;
  }
}

bool openReplay(const std::string& path) {
  std::string error;
  Replay replay;
  // The frames are read as they play: a long replay opens without a wait.
  if (!readReplayFile(path, replay, &error, false)) {
    refuseReplay(error);
    return false;
  }
  replayViewer.replay = std::move(replay);
  replayViewer.path = path;
  if (!restartPlayback()) {
    endReplay();
    return false;
  }
  buildReplayControls();
  replayPlaying = true;
  replayPaused = false;
  replaySpeed = 1.0;
  countdownLeft = 0.0;
  gamePaused = false;
  lastGameShown = false;
  return true;
}

void stopReplay() {
  if (replayViewer.replay.mode == onlineVersusMode)
    endOnlineReplay();
  else
    endReplay();
  replayPlaying = false;
  replayViewer.replay = Replay{};
  gameMode = menuMode;
  currentScreen = replaysScreen;
  listReplays();
  setUpGame();
}

void updateReplayPlayback() {
  checkHover(backButton);
  for (Button& button : replayControls) checkHover(button);
  if (mouseClicked && backButton.hovered) {
    stopReplay();
    return;
  }
  if (mouseClicked) {
    if (replayControls[pauseControl].hovered) replayPaused = !replayPaused;
    for (int s = halfSpeed; s <= fourfoldSpeed; ++s)
      if (replayControls[s].hovered) replaySpeed = speeds[s - halfSpeed];
    if (replayControls[restartControl].hovered) restartPlayback();
  }
  if (pauseRequested) replayPaused = !replayPaused;
  pauseRequested = false;
  replayControls[pauseControl].text = replayPaused ? trLater("Play") : trLater("Pause");
  if (replayPaused) return;
  replayViewer.debt += replaySpeed;
  while (replayViewer.debt >= 1.0) {
    replayViewer.debt -= 1.0;
    if (!playNextFrame()) {
      replayViewer.debt = 0.0;
      replayEnded = true;
    }
  }
  if (!replayViewer.cursor.problem.empty()) {
    stopReplay();
    return;
  }
  // The last clear's squares fly off instead of hanging over the final board.
  if (replayEnded) advanceEffects();
}
