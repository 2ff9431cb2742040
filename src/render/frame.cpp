// The whole frame of each mode, with the heads-up texts: score box, result banner, training
// read-out.
#include "render/render.h"

#include <algorithm>

namespace {

const SDL_Color whiteText = {255, 255, 255, 255};

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
  if (TTF_SizeUTF8(fontMedium, text.c_str(), &w, nullptr) == 0 && w > 290) font = fontSmall;
  drawText(
      font, text, whiteText,
      [heightFraction](int w, int h) {
        return SDL_Point{static_cast<int>((300 - w) * 0.5 + 150),
                         static_cast<int>(200 * heightFraction - h * 0.5 + 450)};
      },
      290);
}

// The marathon's high score, or the best of the race being run.
std::string bestLine() {
  if (soloVariant == marathonVariant) return trf("Highscore: %s", formatInt(highscore).c_str());
  std::string mode = soloVariant == sprintVariant ? "sprint" : "ultra";
  const PersonalBest* best = personalBest(mode);
  if (!best) return tr("Best: none yet");
  std::string value =
      mode == "sprint" ? clockText(best->value) : formatInt(static_cast<int32_t>(best->value));
  return trf("Best: %s", value.c_str());
}

void drawSolo() {
  drawBoard(1, 750, 40, true);
  drawLineClearParticles();
  if (matchOver && !replayPlaying) drawVeil(); // before the score box, which stays bright
  setDrawColour(white, 255);
  SDL_Rect box = {150, 450, 300, 200};
  outlineRect(box);
  drawScoreLine(bestLine(), 7 / 10.0);
  drawScoreLine(trf("Score: %s", formatInt(score).c_str()), 3 / 10.0);
  drawCountdown();
  drawGameOverBanner();
}

void drawTrainingBoard() {
  drawBoardCells(p1Board, 50, 50, 40);
  const PieceGrid& grid = pieceGrid(p1PieceId, p1Rotation);
  std::array<uint8_t, 3> colour = cellColour(p1PieceId);
  for (int32_t i = 0; i < static_cast<int32_t>(grid.size()); ++i)
    for (int32_t j = 0; j < static_cast<int32_t>(grid[i].size()); ++j) {
      if (grid[i][j] != 1) continue;
      SDL_Rect r = {(p1Position.x + i) * 40 + 50, (p1Position.y + j) * 40 + 50, 41, 41};
      setDrawColour(colour, 255);
      fillRect(r);
      decoratePieceCell(pieceTypeOf(p1PieceId), r, colour);
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
             trf("Gen: %s", formatInt(generation).c_str()) + gap +
                 trf("Subject: %s", formatInt(subjectNumber).c_str()) + gap +
                 trf("Fitness: %s", formatInt(lastSubjectFitness).c_str()),
             whiteText, 50, 875, 940); // left of "Toggle Visualization"
  drawTextAt(fontSmall,
             trf("Highest Fitness: %s", formatInt(truncPixel(highestFitness)).c_str()) + gap +
                 trf("Lines Cleared: %s", formatInt(trainingLinesCleared).c_str()),
             whiteText, 50, 925, 940);
}

} // namespace

void drawResultBanner() {
  bool rightLost = p1Losses >= 3; // player 1 plays on the right
  int loseX = rightLost ? 1040 : 290;
  int winX = rightLost ? 310 : 1060;
  // Each word centred on the middle of the English one, which starts at x: English draws where
  // it always did, and a longer translation spreads both ways inside its well rather than
  // running up to the well's right edge.
  auto centredOn = [](const char* english, int x) {
    int width = 0;
    TTF_SizeUTF8(fontLarge, english, &width, nullptr);
    return [x, width](int w, int h) {
      return SDL_Point{x + (width - w) / 2, (windowHeight - h) / 2};
    };
  };
  drawText(fontLarge, tr("LOSE"), {100, 100, 255, 255}, centredOn("LOSE", loseX), 300);
  drawText(fontLarge, tr("WIN"), {255, 255, 0, 255}, centredOn("WIN", winX), 300);
}

void drawFrame() {
  SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  // The veil of a finished game and the piece tiles only need to touch what was drawn.
  recordDrawnAreas(matchOver || gamePaused ||
                   (gameMode == menuMode && currentScreen == piecesScreen));
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
    drawOnlineGame(!replayPlaying); // a replay has no match score nor latency
    break;
  default:
    break;
  }
  // An online game's replay has the playback bar too.
  if (gameMode == soloPlayMode || gameMode == playerVersusMode || gameMode == versusBotMode ||
      (gameMode == onlineVersusMode && replayPlaying))
    drawPlayFigures();
  drawPauseFrame();
  drawPlayNotice();
  if (gameMode != menuMode) {
    drawButton(backButton); // on top of everything else
    drawFocusOutline();
  }
  recordDrawnAreas(false);
  SDL_RenderPresent(renderer);
}
