// What is drawn over play (the paused frame, the game-over banner, the players' names) and the
// headings of the screens that have one.
#include "render/render.h"

#include <algorithm>
#include <cmath>

namespace {

const SDL_Color whiteText = {255, 255, 255, 255};
const SDL_Color yellowText = {255, 255, 0, 255};
const SDL_Color greenText = {80, 230, 80, 255};
const SDL_Color redText = {255, 90, 90, 255};
const char* const minusSign = "\xe2\x88\x92";
constexpr int32_t bannerTop = 250; // versus banners sit above the "LOSE" in the well's middle

// A text centred on (x, y), shrunk when wider than maxWidth.
void drawCentred(TTF_Font* font, const std::string& text, SDL_Color colour, int x, int y,
                 int maxWidth = 0) {
  drawText(
      font, text, colour,
      [x, y](int w, int h) {
        return SDL_Point{x - w / 2, y - h / 2};
      },
      maxWidth);
}

// A difference from the best in green when it beats it, red when not; news of a best in yellow.
SDL_Color lineColour(const std::string& text) {
  if (text == tr("New high score") || text == tr("New best")) return yellowText;
  bool minus = text.rfind(minusSign, 0) == 0;
  if (!minus && text.rfind('+', 0) != 0) return whiteText;
  bool lowerWins = lastGame.mode == "sprint";
  return minus == lowerWins ? greenText : redText;
}

// A finished sprint or ultra game: what it was measured by first, then against the best.
std::vector<std::string> finishTexts() {
  const GameRecord& g = lastGame;
  bool sprint = g.mode == "sprint";
  std::vector<std::string> lines = {tr("Finished!"),
                                    sprint ? trf("Time: %s", clockText(g.seconds).c_str())
                                           : trf("Score: %s", formatInt(g.score).c_str())};
  if (lastGameHadBest) lines.push_back(bestDifferenceText(g.mode, bestValueOf(g), lastGameOldBest));
  if (lastGameNewBest) lines.push_back(tr("New best"));
  return lines;
}

} // namespace

// A black panel in a double frame, its lines one under the other: the first large, the rest
// medium, news and differences in their colours.
void drawPanel(SDL_Rect panel, const std::vector<std::string>& lines, size_t largeLines) {
  setDrawColour({0, 0, 0}, 255);
  fillRect(panel);
  drawDoubleFrame(panel);
  int32_t step = panel.h / static_cast<int32_t>(lines.size());
  for (size_t k = 0; k < lines.size(); ++k) {
    SDL_Color colour = lineColour(lines[k]);
    drawCentred(k < largeLines ? fontLarge : fontMedium, lines[k], colour, panel.x + panel.w / 2,
                panel.y + step * static_cast<int32_t>(k) + step / 2, panel.w - 20);
  }
}

namespace {} // namespace

std::vector<std::string> gameOverTexts() {
  if (!matchOver && !(replayPlaying && replayEnded)) return {};
  if (replayPlaying) return {tr("Replay finished")};
  if (gameMode == soloPlayMode) {
    if (lastGameShown && lastGame.result == "finished") return finishTexts();
    std::vector<std::string> lines = {tr("Game Over"), trf("Score: %s", formatInt(score).c_str())};
    if (newHighscore) lines.push_back(tr("New high score"));
    return lines;
  }
  if (gameMode != playerVersusMode && gameMode != versusBotMode) return {};
  // A player's points are the other's top-outs; the winner's come first.
  bool firstWon = p2Losses >= 3;
  std::string winner = gameMode == playerVersusMode
                           ? (firstWon ? tr("Player 1 wins") : tr("Player 2 wins"))
                           : (firstWon ? tr("You win") : tr("Bot wins"));
  int32_t won = firstWon ? p2Losses : p1Losses, lost = firstWon ? p1Losses : p2Losses;
  return {winner, trf("Points: %s - %s", formatInt(won).c_str(), formatInt(lost).c_str())};
}

void drawGameOverBanner() {
  std::vector<std::string> lines = gameOverTexts();
  if (lines.empty()) return;
  if (gameMode == soloPlayMode || replayPlaying) {
    drawPanel({570, 380, 360, 75 * static_cast<int32_t>(lines.size())}, lines);
    return;
  }
  // Over the well that topped out: player 1's is on the right.
  int32_t centre = p1Losses >= 3 ? 1100 : 350;
  drawPanel({centre - 160, bannerTop, 320, 150}, lines);
}

std::string countdownText() {
  if (countdownLeft > 0.0)
    return std::to_string(static_cast<int>(std::ceil(countdownLeft / 100.0)));
  bool race = gameMode == soloPlayMode && soloVariant != marathonVariant;
  // TRANSLATORS: a race's start, after "3", "2", "1"; a short word on a small panel.
  return race && !matchOver && !replayPlaying && gameClock < goShown ? trLater("Go") : "";
}

void drawCountdown() {
  std::string text = countdownText();
  if (text.empty()) return;
  // Over the middle of the well, on a panel so any board reads under it.
  drawPanel({750 - 90, 420, 180, 120}, {tr(text)});
}

void drawPlayerLabels() {
  if (gameMode != playerVersusMode && gameMode != versusBotMode) return;
  // Above the points row, which sits right on top of the wells.
  drawCentred(fontMedium, gameMode == playerVersusMode ? tr("Player 2") : tr("Bot"), whiteText, 350,
              70, 400);
  drawCentred(fontMedium, gameMode == playerVersusMode ? tr("Player 1") : tr("You"), whiteText,
              1100, 70, 400);
}

void drawPauseFrame() {
  if (!gamePaused || gameMode == menuMode) return;
  drawVeil();
  drawCentred(fontLarge, tr("Paused"), whiteText, windowWidth / 2, 380, headingRoom);
  if (padLostPlayer != 0)
    drawCentred(fontMedium,
                trf("Player %s's pad disconnected \u2014 plug it in and press Start",
                    formatInt(padLostPlayer).c_str()),
                whiteText, windowWidth / 2, 300, windowWidth - 40);
  drawButton(resumeButton);
  drawButton(quitToMenuButton);
}

namespace {

// A menu screen's title, in the menus' font so it grows with them: where it stands, centred on
// the window, at 100 (its middle at y, or its top there), and the most height it may take.
struct ScreenHeading {
  int32_t screen;
  const char* text;
  int32_t textSize;
  int y;
  bool topAtY;
  int mostHeight; // 0: any
};
const ScreenHeading screenHeadings[] = {
    // Above the rows of piece tiles, which start at y 50.
    {piecesScreen, trLater("Pieces in Play"), 2, 25, false, 48},
    {audioDisplayScreen, trLater("Audio & Display"), 3, 90, false, 0},
    {handlingScreen, trLater("Handling"), 3, 70, false, 0},
    {languageScreen, trLater("Language"), 3, 90, false, 0},
    {modesScreen, trLater("Modes"), 3, 120, true, 0},
    {replaysScreen, trLater("Replays"), 3, 20, true, 68}, // above the list, from y 90
    {onlineScreen, trLater("Online Versus"), 3, 110, false, 0},
};

const ScreenHeading* headingOf(int32_t screen) {
  for (const ScreenHeading& heading : screenHeadings)
    if (heading.screen == screen) return &heading;
  return nullptr;
}

// A grown heading near the top stays inside the window.
TextPlacement headingPlacement(const ScreenHeading& heading) {
  return [&heading](int w, int h) {
    return SDL_Point{windowWidth / 2 - w / 2,
                     heading.topAtY ? heading.y : std::max(0, heading.y - h / 2)};
  };
}

// The width it may take: the window's less a margin, less still when it would pass its height.
int headingWidth(const ScreenHeading& heading, int w, int h) {
  if (heading.mostHeight > 0 && h > heading.mostHeight)
    return std::min(headingRoom, w * heading.mostHeight / h);
  return headingRoom;
}

} // namespace

namespace {

// The screen's heading in its font, and the width it is drawn within; false when it has none.
bool measureHeading(int32_t screen, const ScreenHeading*& heading, TTF_Font*& font, int& w, int& h,
                    int& room) {
  heading = headingOf(screen);
  font = heading ? menuFont(heading->textSize) : nullptr;
  if (font == nullptr || TTF_SizeUTF8(font, tr(heading->text), &w, &h) != 0) return false;
  room = headingWidth(*heading, w, h);
  return true;
}

} // namespace

SDL_Rect screenHeadingArea(int32_t screen) {
  const ScreenHeading* heading = nullptr;
  TTF_Font* font = nullptr;
  int w = 0, h = 0, room = 0;
  if (!measureHeading(screen, heading, font, w, h, room)) return {0, 0, 0, 0};
  if (w > room) {
    h = h * room / w;
    w = room;
  }
  SDL_Point at = headingPlacement(*heading)(w, h);
  return {at.x, at.y, w, h};
}

void drawScreenHeading() {
  const ScreenHeading* heading = nullptr;
  TTF_Font* font = nullptr;
  int w = 0, h = 0, room = 0;
  if (measureHeading(currentScreen, heading, font, w, h, room))
    drawText(font, tr(heading->text), whiteText, headingPlacement(*heading), room);
}

void drawPlayNotice() {
  if (gameMode == menuMode || playNoticeMs <= 0.0 || playNotice.empty()) return;
  // Below the wells, left of "Back": the one strip of a play screen nothing else uses.
  const SDL_Color amber = {warningColour[0], warningColour[1], warningColour[2], 255};
  drawCentred(fontMedium, playNotice, amber, 640, 925, 1220);
}
