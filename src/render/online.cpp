// The online screen's texts and the online game: this player's field on the left, the
// opponent's on the right as its last report showed it, the latency in a corner, the result.
#include "net/net.h"
#include "render/render.h"

#include <algorithm>

namespace {

const SDL_Color whiteText = {255, 255, 255, 255};
const SDL_Color greyText = {170, 170, 170, 255};
const SDL_Color yellowText = {255, 255, 0, 255};

constexpr int32_t localBoardX = 350;   // this player, on player 1's keys
constexpr int32_t remoteBoardX = 1100; // the opponent

constexpr int lineRoom = 1340;
constexpr int resultPanelWidth = 460;     // the result over this player's field, at least
constexpr int resultPanelMostWidth = 660; // ... and at most: 20 pixels from the window's edge // a
                                          // line from x 150 to 10 pixels short of the right edge

// Centred on (x, y), shrunk when wider than maxWidth.
void drawCentred(TTF_Font* font, const std::string& text, SDL_Color colour, int x, int y,
                 int maxWidth) {
  drawText(
      font, text, colour,
      [x, y](int w, int h) {
        return SDL_Point{x - w / 2, y - h / 2};
      },
      maxWidth);
}

// What the online layer says, which knows no languages and keeps its texts English for the log:
// its fixed texts, and those with one part filled in (an address, a port, seconds), as formats.
const char* const onlineTexts[] = {
    trLater("The network could not be started"),
    trLater("Waiting for a player…"),
    trLater("A player joined"),
    trLater("Connected"),
    trLater("Opponent left"),
    trLater("Refused by the host"),
    trLater("The other side said nothing: connection closed"),
    trLater("No answer for 5 s: connection closed"),
    trLater("Connection lost"),
    trLater("Connecting…"),
    trLater("Opponent's game broke the rules"),
    trLater("Both games broke the rules: no result"),
    trLater("The opponent found that your game broke the rules"),
    trLater("Too many pieces to play online"),
    trLater("Connected: waiting for the game"),
    trLater("You left"),
    trLater("Opponent sent too many messages"),
    trLater("Opponent sent malformed data"),
    trLater("Connection lost: no result"),
    trLater("You win"),
    trLater("You lose"),
    trLater("Draw"),
    trLater("No result"),
    trLater("Your game broke the rules"),
    trLater("Host busy: it already has an opponent"),
    trLater("Version mismatch: both players need the same version of Brikka"),
    trLater("Malformed message: connection closed"),
    trLater("Connection closed: too many messages"),
    trLater("The host plays pieces this game does not have"),
    trLater("Connection closed"),
    trLater("a piece that was not dealt"),
    trLater("a placement that does not fit"),
    trLater("a placement that floats"),
    trLater("a second hold"),
    trLater("a board that differs from the copy"),
    trLater("garbage that could not rise"),
    trLater("garbage held back"),
    trLater("events out of order"),
    trLater("a lock after topping out"),
    trLater("an end that does not match the game"),
};
const char* const onlineFormats[] = {
    trFormatLater("No answer from %s in 10 s"),
    trFormatLater("Connection lost \u2014 waiting for the opponent (%s s)"),
    trFormatLater("Could not connect to %s"),
    trFormatLater("Unknown host: %s"),
    trFormatLater("Port %s cannot be opened (in use?)"),
    trFormatLater("Not an address: %s"),
    // TRANSLATORS: %s is a port number.
    trFormatLater("Asking your router to open UDP port %s…"),
    // TRANSLATORS: %s is an address and port, "203.0.113.7:41440".
    trFormatLater("Players join you at %s"),
    trFormatLater("Your router opened UDP port %s"),
    trFormatLater("Your router did not open the port: forward UDP %s by hand"),
};

// The format's literal parts around its one "%s".
bool fillsFormat(const std::string& text, const std::string& format, std::string& filling) {
  size_t hole = format.find("%s");
  std::string before = format.substr(0, hole), after = format.substr(hole + 2);
  if (text.size() < before.size() + after.size() || text.compare(0, before.size(), before) != 0 ||
      text.compare(text.size() - after.size(), after.size(), after) != 0)
    return false;
  filling = text.substr(before.size(), text.size() - before.size() - after.size());
  return true;
}

std::string addressList() {
  std::string list;
  for (const std::string& address : localAddresses())
    list += (list.empty() ? "" : ", ") + address + ":" + std::to_string(onlinePort);
  return list.empty() ? tr("no network address found") : list;
}

// What the player waits for after a game, under the result.
std::string rematchText() {
  if (onlinePhase != OnlinePhase::finished) return "";
  if (localRematch) return tr("Waiting for the opponent to press Rematch…");
  if (remoteRematch) return tr("The opponent wants a rematch");
  return "";
}

} // namespace

std::string onlineText(const std::string& english) {
  for (const char* text : onlineTexts)
    if (english == text) return tr(text);
  std::string filling;
  for (const char* format : onlineFormats)
    if (fillsFormat(english, format, filling)) return trf(format, filling.c_str());
  return tr(english); // the shell's own statuses are message ids; anything else stays as it is
}

void drawOnlineScreen() {
  if (!onlineStatus.empty())
    drawTextAt(fontMedium, onlineText(onlineStatus), yellowText, 150, 500, lineRoom);
  if (onlinePhase == OnlinePhase::hosting) {
    drawTextAt(fontSmall, trf("A friend joins one of: %s", addressList().c_str()), whiteText, 150,
               580, lineRoom);
    std::string mapping = onlineText(mappingText());
    if (mapping.empty())
      drawTextAt(fontSmall,
                 trf("Over the internet: forward UDP port %d on your router to this machine, and "
                     "give your public address.",
                     onlinePort),
                 greyText, 150, 620, lineRoom);
    else
      drawTextAt(fontSmall, mapping, mappingState == MappingState::failed ? yellowText : whiteText,
                 150, 620, lineRoom);
  }
  drawTextAt(fontSmall,
             tr("Your keys: player 1's. Type in a field after clicking it; Ctrl+V pastes."),
             greyText, 150, 760, lineRoom);
}

void drawOnlineGame(bool live) {
  drawBoard(1, localBoardX, versusCellPitch, true);
  drawBoard(2, remoteBoardX, versusCellPitch, true);
  drawLineClearParticles();
  drawDamageBars(p1IncomingDamage, 540);
  drawDamageBars(p2IncomingDamage, 1290);
  drawCentred(fontMedium, trf("You: %s lines", formatInt(p1Lines).c_str()), whiteText, localBoardX,
              110, 460);
  drawCentred(fontMedium, trf("Opponent: %s lines", formatInt(p2Lines).c_str()), whiteText,
              remoteBoardX, 110, 460);
  if (live) {
    drawCentred(fontSmall, trf("You %d \u2013 %d Opponent", matchWins, matchLosses), greyText,
                windowWidth / 2, 40, 700);
    std::string latency =
        onlineLatency < 0.0 ? "-- ms" : formatInt(static_cast<int32_t>(onlineLatency)) + " ms";
    drawText(fontSmall, latency, greyText, [](int w, int) {
      return SDL_Point{windowWidth - w - 20, 15};
    });
  }
  // Every lock of the opponent is checked on its copy; a board that differed is said plainly.
  std::string checks =
      trf("%s locks checked", formatInt(static_cast<int32_t>(remoteLocks)).c_str());
  if (checksumMismatches > 0)
    checks = trf("%s locks checked, %s checksum mismatches",
                 formatInt(static_cast<int32_t>(remoteLocks)).c_str(),
                 formatInt(static_cast<int32_t>(checksumMismatches)).c_str());
  drawText(
      fontSmall, checks, checksumMismatches > 0 ? yellowText : greyText,
      [](int w, int) {
        return SDL_Point{windowWidth - w - 20, 45};
      },
      700);
  if (connectionLost)
    drawCentred(fontMedium, onlineText(onlineStatus), yellowText, windowWidth / 2, 880,
                headingRoom);
  if (countdownShown() > 0)
    drawCentred(fontLarge, std::to_string(countdownShown()), yellowText, windowWidth / 2, 480, 0);
  if (!matchOver) {
    if (localEnded)
      drawCentred(fontMedium, tr("Waiting for the opponent…"), yellowText, 725, 930, 1400);
    return;
  }
  drawVeil();
  drawOnlineResult();
  if (onlinePhase == OnlinePhase::finished && !localRematch) drawButton(rematchButton);
  drawCentred(fontSmall, rematchText(), whiteText, windowWidth / 2, 960, headingRoom);
  if (onlinePhase == OnlinePhase::closed && !onlineStatus.empty() && onlineStatus != onlineReason)
    drawCentred(fontSmall, onlineText(onlineStatus), whiteText, windowWidth / 2, 960, headingRoom);
}

std::vector<std::string> onlineResultTexts() {
  // Long lines take two or more rather than shrinking past reading.
  std::vector<std::string> said =
      wrapText(fontLarge, onlineText(outcomeText()), resultPanelMostWidth - 20);
  if (onlineReason.empty()) return said;
  std::string why = onlineText(onlineReason);
  if (foulFound != Foul::none)
    // TRANSLATORS: why a game broke the rules, then which rule: "Your game broke the rules: a
    // second hold".
    why = trf("%s: %s", why.c_str(), onlineText(foulText(foulFound)).c_str());
  std::vector<std::string> lines = wrapText(fontMedium, why, resultPanelMostWidth - 20);
  said.insert(said.end(), lines.begin(), lines.end());
  return said;
}

size_t onlineOutcomeLines() {
  return wrapText(fontLarge, onlineText(outcomeText()), resultPanelMostWidth - 20).size();
}

void drawOnlineResult() {
  std::vector<std::string> said = onlineResultTexts();
  size_t large = onlineOutcomeLines();
  // As wide as its widest line needs, within the free space left of the opponent's field.
  int widest = 0;
  for (size_t k = 0; k < said.size(); ++k) {
    int w = 0;
    TTF_SizeUTF8(k < large ? fontLarge : fontMedium, said[k].c_str(), &w, nullptr);
    widest = std::max(widest, w);
  }
  int32_t width = std::clamp(widest + 20, resultPanelWidth, resultPanelMostWidth);
  int32_t height = said.size() > 1 ? 170 + 70 * static_cast<int32_t>(said.size() - 2) : 120;
  // Raised when tall, to keep clear of the rematch button below.
  int32_t top = std::min(420, rematchButton.position.y - 10 - height);
  drawPanel({localBoardX - width / 2, top, width, height}, said, large);
}
