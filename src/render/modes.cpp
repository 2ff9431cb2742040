// Modes, statistics and replays on screen: the bests on the Modes screen, the replay list's
// heading, the figures box during play, the results panel beside the well and the playback bar.
#include "render/render.h"

#include <algorithm>
#include <cstdio>

namespace {

const SDL_Color whiteText = {255, 255, 255, 255};
const SDL_Color goldText = {255, 215, 0, 255};

// Where the figures and the results go: beside the boards, never over them.
// Under the score box; a line taller than the five it first held, for keys per piece on their own.
constexpr SDL_Rect soloFiguresBox = {150, 680, 300, 228};
constexpr SDL_Rect resultsPanel = {1215, 100, 270, 470};  // right of the next box
constexpr SDL_Rect versusFiguresBox = {530, 8, 380, 208}; // between the point rows, above all
constexpr int lineHeight = 28;

std::string decimals(double value, int places) {
  char text[48];
  std::snprintf(text, sizeof text, "%.*f", places, value);
  return text;
}

void centredText(const std::string& text, SDL_Color colour, int centreX, int top, int maxWidth) {
  drawText(
      fontSmall, text, colour,
      [centreX, top](int w, int) {
        return SDL_Point{centreX - w / 2, top};
      },
      maxWidth);
}

void boxFrame(const SDL_Rect& box) {
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  fillRect(box);
  setDrawColour(white, 255);
  outlineRect(box);
}

double perSecond(int32_t count, double seconds) {
  return seconds > 0.0 ? count / seconds : 0.0;
}

// A best as the mode counts it: a sprint's time, else points.
std::string bestText(const std::string& mode, double value) {
  return mode == "sprint" ? clockText(value) : formatInt(static_cast<int32_t>(value));
}

void drawSoloFigures() {
  const SDL_Rect& box = soloFiguresBox;
  boxFrame(box);
  double seconds = gameClock / 100.0;
  std::vector<std::string> lines = {
      trf("Time %s", clockText(seconds).c_str()),
      trf("Pieces %s", formatInt(p1PieceCount).c_str()),
      trf("Pieces/s %s", decimals(perSecond(p1PieceCount, seconds), 2).c_str()),
      soloVariant == sprintVariant ? trf("Lines %s / 40", formatInt(p1Lines).c_str())
                                   : trf("Lines %s", formatInt(p1Lines).c_str()),
      trf("Faults %s", formatInt(finesseCounts[0].faults).c_str()),
      trf("Keys/piece %s", decimals(keysPerPiece(finesseCounts[0]), 2).c_str())};
  if (soloVariant == ultraVariant)
    lines[0] = trf("Time left %s", clockText((ultraDuration - gameClock) / 100.0).c_str());
  for (size_t i = 0; i < lines.size(); ++i)
    centredText(lines[i], whiteText, box.x + box.w / 2,
                box.y + 30 + lineHeight * static_cast<int>(i), box.w - 10);
}

void drawVersusFigures() {
  const SDL_Rect& box = versusFiguresBox;
  boxFrame(box);
  double seconds = gameClock / 100.0;
  double minutes = seconds / 60.0;
  auto rate = [minutes](int32_t rows) { return minutes > 0.0 ? rows / minutes : 0.0; };
  // Player 2 plays on the left, player 1 on the right: the columns follow the boards.
  std::vector<std::array<std::string, 3>> rows = {
      {tr("Pieces"), formatInt(p2PieceCount), formatInt(p1PieceCount)},
      {tr("Pieces/s"), decimals(perSecond(p2PieceCount, seconds), 2),
       decimals(perSecond(p1PieceCount, seconds), 2)},
      {tr("Lines"), formatInt(p2Lines), formatInt(p1Lines)},
      {tr("Garbage/min"), decimals(rate(p2GarbageSent), 1), decimals(rate(p1GarbageSent), 1)},
      {tr("Faults"), gameMode == playerVersusMode ? formatInt(finesseCounts[1].faults) : "",
       formatInt(finesseCounts[0].faults)},
      {tr("Keys/piece"),
       gameMode == playerVersusMode ? decimals(keysPerPiece(finesseCounts[1]), 2) : "",
       decimals(keysPerPiece(finesseCounts[0]), 2)}};
  centredText(trf("Time %s", clockText(seconds).c_str()), whiteText, box.x + box.w / 2, box.y + 4,
              box.w - 10);
  for (size_t i = 0; i < rows.size(); ++i) {
    int top = box.y + 4 + lineHeight * static_cast<int>(i + 1);
    centredText(rows[i][1], whiteText, box.x + 50, top, 90);
    centredText(rows[i][0], whiteText, box.x + box.w / 2, top, 180);
    centredText(rows[i][2], whiteText, box.x + box.w - 50, top, 90);
  }
}

void drawResultsPanel() {
  const GameRecord& g = lastGame;
  std::string title =
      g.mode == "sprint" ? tr("Sprint") : (g.mode == "ultra" ? tr("Ultra") : tr("Solo Play"));
  if (g.mode != "solo" && g.result != "finished") title = trf("%s: topped out", title.c_str());
  std::vector<std::pair<std::string, SDL_Color>> lines = {
      {title, whiteText},
      {trf("Time %s", clockText(g.seconds).c_str()), whiteText},
      {trf("Score %s", formatInt(g.score).c_str()), whiteText},
      {trf("Lines %s", formatInt(g.lines).c_str()), whiteText},
      {trf("Pieces %s", formatInt(g.pieces).c_str()), whiteText},
      {trf("Pieces/s %s", decimals(g.piecesPerSecond, 2).c_str()), whiteText},
      {trf("Faults %s", formatInt(g.finesseFaults).c_str()), whiteText},
      {trf("Keys/piece %s", decimals(g.keysPerPiece, 2).c_str()), whiteText}};
  if (lastGameHadBest)
    lines.push_back({trf("Best %s", bestText(g.mode, lastGameOldBest).c_str()), whiteText});
  if (lastGameNewBest) lines.push_back({tr("New best"), goldText});
  // A sprint's splits: how long each ten lines took to reach.
  if (g.mode == "sprint")
    for (size_t k = 0; k < sprintSplits.size(); ++k)
      // TRANSLATORS: a sprint's split: "10 lines 0:21.35", lines cleared and the time then.
      lines.push_back(
          {trf("%s lines %s", formatInt(splitLines * static_cast<int32_t>(k + 1)).c_str(),
               clockText(sprintSplits[k]).c_str()),
           whiteText});
  // A sprint with a best and all four splits has a line more than the panel was drawn for: it
  // grows down into the free room below rather than let the last line cross its edge.
  SDL_Rect panel = resultsPanel;
  panel.h = std::max(panel.h, 24 + 34 * static_cast<int>(lines.size()));
  boxFrame(panel);
  for (size_t i = 0; i < lines.size(); ++i)
    centredText(lines[i].first, lines[i].second, panel.x + panel.w / 2,
                panel.y + 16 + 34 * static_cast<int>(i), panel.w - 10);
}

void drawPlaybackBar() {
  for (const Button& button : replayControls) drawButton(button);
  drawTextAt(fontSmall,
             trf("Replay  x%s", decimals(replaySpeed, replaySpeed < 1.0 ? 1 : 0).c_str()), goldText,
             880, 940, 600);
}

} // namespace

void drawModesScreen() {
  const char* modes[] = {"sprint", "ultra"};
  const int tops[] = {365, 565};
  for (int i = 0; i < 2; ++i) {
    const PersonalBest* best = nullptr;
    for (const PersonalBest& entry : personalBests)
      if (entry.mode == modes[i]) best = &entry;
    std::string text =
        best ? trf("Best: %s", bestText(modes[i], best->value).c_str()) : tr("No best yet");
    centredText(text, whiteText, 750, tops[i], headingRoom);
  }
}

void drawReplaysScreen() {
  if (replayList.empty()) centredText(tr("No replays yet"), whiteText, 750, 400, headingRoom);
}

void drawPlayFigures() {
  if (gameMode == soloPlayMode) {
    drawSoloFigures();
    if (matchOver && lastGameShown && !replayPlaying) drawResultsPanel();
  } else if (gameMode == playerVersusMode || gameMode == versusBotMode) {
    drawVersusFigures();
  }
  if (replayPlaying) drawPlaybackBar();
}
