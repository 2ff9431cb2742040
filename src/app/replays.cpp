// Replays in the window: the screen that lists the kept ones and the playback with its own
// controls. Recording them is recording.cpp's.
#include "ai/playback.h"
#include "app/records.h"
#include "app/screens.h"
#include "app/widgets.h"
#include "game/game.h"
#include "net/net.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

constexpr int rowsPerPage = 12;
enum { newerButton = rowsPerPage, olderButton, replaysBackButton };
enum { pauseControl, halfSpeed, normalSpeed, doubleSpeed, fourfoldSpeed, restartControl };
constexpr double speeds[] = {0.5, 1.0, 2.0, 4.0};

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
