// The whole frame of each mode, with the heads-up texts: score box, result banner, training
// read-out and fitness graph.
#include "app/app.h"
#include "render/render.h"

#include <algorithm>

namespace {

const SDL_Color whiteText = {255, 255, 255, 255};
const SDL_Color blueText = {0, 0, 255, 255};
constexpr size_t graphWidth = 700; // pixels from the first generation's point to the last

void drawVersus(std::array<int32_t, 3> leftPoints, std::array<int32_t, 3> rightPoints) {
  drawBoard(1, 1100, versusCellPitch, true); // player 1 on the right
  drawBoard(2, 350, versusCellPitch, true);
  drawLineClearParticles();
  drawIncomingDamage();
  drawRoundPoints(leftPoints, rightPoints);
  drawPlayerLabels();
  // A replay's end shows its last board plainly, under one line that says it is over.
  if (replayPlaying) {
    drawGameOverBanner();
  } else if (matchOver) {
    drawVeil();
    drawResultBanner();
    drawGameOverBanner();
  }
}

// A text centred horizontally in the score box, its middle at a fraction of the box height.
// Long scores take the small font, so that every int32 stays inside the box.
void drawScoreLine(const std::string& text, double heightFraction) {
  int w = 0;
  TTF_Font* font = fontMedium;
  if (TTF_SizeText(fontMedium, text.c_str(), &w, nullptr) == 0 && w > 290) font = fontSmall;
  drawText(font, text, whiteText, [heightFraction](int w, int h) {
    return SDL_Point{static_cast<int>((300 - w) * 0.5 + 150),
                     static_cast<int>(200 * heightFraction - h * 0.5 + 450)};
  });
}

// The marathon's high score, or the best of the race being run.
std::string bestLine() {
  if (soloVariant == marathonVariant) return "Highscore: " + formatInt(highscore);
  std::string mode = soloVariant == sprintVariant ? "sprint" : "ultra";
  const PersonalBest* best = personalBest(mode);
  if (!best) return "Best: none yet";
  return "Best: " +
         (mode == "sprint" ? clockText(best->value) : formatInt(static_cast<int32_t>(best->value)));
}

void drawSolo() {
  drawBoard(1, 750, 40, true);
  drawLineClearParticles();
  if (matchOver && !replayPlaying) drawVeil(); // before the score box, which stays bright
  setDrawColour(white, 255);
  SDL_Rect box = {150, 450, 300, 200};
  outlineRect(box);
  drawScoreLine(bestLine(), 7 / 10.0);
  drawScoreLine("Score: " + formatInt(score), 3 / 10.0);
  drawCountdown();
  drawGameOverBanner();
}

void drawTrainingBoard() {
  drawBoardCells(p1Board, 50, 50, 40);
  const PieceGrid& grid = pieceGrid(p1PieceId, p1Rotation);
  setDrawColour(cellColour(p1PieceId), 255);
  for (int32_t i = 0; i < static_cast<int32_t>(grid.size()); ++i)
    for (int32_t j = 0; j < static_cast<int32_t>(grid[i].size()); ++j) {
      if (grid[i][j] != 1) continue;
      SDL_Rect r = {(p1Position.x + i) * 40 + 50, (p1Position.y + j) * 40 + 50, 41, 41};
      fillRect(r);
    }
}

void drawTraining() {
  drawTrainingBoard();
  if (showFitnessGraph)
    drawFitnessGraph();
  else if (currentSubject >= 0 && currentSubject < static_cast<int32_t>(population.size()))
    drawNetworkView(population[currentSubject]);
  drawButton(visualizationButton);
  const std::string gap = "       ";
  drawTextAt(fontSmall,
             "Gen: " + formatInt(generation) + gap + "Subject: " + formatInt(subjectNumber) + gap +
                 "Fitness: " + formatInt(lastSubjectFitness),
             whiteText, 50, 875);
  drawTextAt(fontSmall,
             "Highest Fitness: " + formatInt(truncPixel(highestFitness)) + gap +
                 "Lines Cleared: " + formatInt(trainingLinesCleared),
             whiteText, 50, 925);
}

// Point k of the graph: spread over x 600..1300, lowest average at y 750, highest at 150.
SDL_Point graphPoint(size_t k, size_t count, const SDL_Rect& panel) {
  int32_t x = truncPixel(static_cast<double>(k) / (count - 1) * graphWidth + (panel.x + 100));
  int64_t range = static_cast<int64_t>(highestAverage) - lowestAverage;
  double bottom = panel.y + panel.h - 100;
  // Equal bounds have no scale: the line lies flat along the bottom.
  if (range == 0) return {x, truncPixel(bottom)};
  double rise = (averageHistory[k] - lowestAverage) / static_cast<double>(range) * 600.0;
  return {x, truncPixel(bottom - rise)};
}

} // namespace

void drawResultBanner() {
  bool rightLost = p1Losses >= 3; // player 1 plays on the right
  int loseX = rightLost ? 1040 : 290;
  int winX = rightLost ? 310 : 1060;
  auto centredAt = [](int x) {
    return [x](int, int h) { return SDL_Point{x, (windowHeight - h) / 2}; };
  };
  drawText(fontLarge, "LOSE", {100, 100, 255, 255}, centredAt(loseX));
  drawText(fontLarge, "WIN", {255, 255, 0, 255}, centredAt(winX));
}

void drawFitnessGraph() {
  SDL_Rect panel = fitnessGraphPanel;
  SDL_SetRenderDrawColor(renderer, 255, 255, 255, 255);
  fillRect(panel);
  SDL_SetRenderDrawColor(renderer, 0, 0, 255, 255);
  size_t n = averageHistory.size();
  // At most one point per pixel column: a long run's graph costs what a short one's does.
  size_t steps = n >= 2 ? std::min<size_t>(n - 1, graphWidth) : 0;
  for (size_t i = 0; i < steps; ++i) {
    SDL_Point a = graphPoint(i * (n - 1) / steps, n, panel);
    SDL_Point b = graphPoint((i + 1) * (n - 1) / steps, n, panel);
    // Four copies, right and down by a pixel: a line 2 pixels thick.
    for (int dx = 0; dx < 2; ++dx)
      for (int dy = 0; dy < 2; ++dy) drawLine(a.x + dx, a.y + dy, b.x + dx, b.y + dy);
  }
  if (generation > 2) {
    drawTextAt(fontSmall, formatInt(highestAverage), blueText, panel.x + 50, panel.y + 125);
    drawTextAt(fontSmall, formatInt(lowestAverage), blueText, panel.x + 50,
               panel.y + panel.h - 125);
  }
}

void drawFrame() {
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  // The veil of a finished game and the piece tiles only need to touch what was drawn.
  recordDrawnAreas(matchOver || gamePaused || (gameMode == 0 && currentScreen == 4));
  switch (gameMode) {
  case 0:
    drawMenuScreen();
    break;
  case 1:
    drawSolo();
    break;
  case 2:
    drawVersus({0, 0, 255}, {255, 0, 0});
    break;
  case 3:
    drawTraining();
    break;
  case 4:
    drawVersus({255, 0, 0}, {150, 150, 150});
    break;
  case onlineVersusMode:
    drawOnlineGame();
    break;
  default:
    break;
  }
  // An online game's replay has the playback bar too.
  if (gameMode == 1 || gameMode == 2 || gameMode == 4 ||
      (gameMode == onlineVersusMode && replayPlaying))
    drawPlayFigures();
  drawPauseFrame();
  drawPlayNotice();
  if (gameMode != 0) {
    drawButton(backButton); // on top of everything else
    drawFocusOutline();
  }
  recordDrawnAreas(false);
  SDL_RenderPresent(renderer);
}
