// The online screen's texts and the online game: this player's field on the left, the
// opponent's on the right as its last report showed it, the latency in a corner, the result.
#include "app/state.h"
#include "render/render.h"

#include "net/net.h"

namespace {

const SDL_Color whiteText = {255, 255, 255, 255};
const SDL_Color greyText = {170, 170, 170, 255};
const SDL_Color yellowText = {255, 255, 0, 255};

constexpr int32_t localBoardX = 350;   // this player, on player 1's keys
constexpr int32_t remoteBoardX = 1100; // the opponent

void drawCentred(TTF_Font* font, const std::string& text, SDL_Color colour, int x, int y) {
  drawText(font, text, colour, [x, y](int w, int h) { return SDL_Point{x - w / 2, y - h / 2}; });
}

std::string addressList() {
  std::string list;
  for (const std::string& address : localAddresses())
    list += (list.empty() ? "" : ", ") + address + ":" + std::to_string(onlinePort);
  return list.empty() ? "no network address found" : list;
}

// What the player waits for after a game, under the result.
std::string rematchText() {
  if (onlinePhase != OnlinePhase::finished) return "";
  if (localRematch) return "Waiting for the opponent to press Rematch…";
  if (remoteRematch) return "The opponent wants a rematch";
  return "";
}

} // namespace

void drawOnlineScreen() {
  drawCentred(fontLarge, "Online Versus", whiteText, windowWidth / 2, 110);
  if (!onlineStatus.empty()) drawTextAt(fontMedium, onlineStatus, yellowText, 150, 500);
  if (onlinePhase == OnlinePhase::hosting) {
    drawTextAt(fontSmall, "A friend joins one of: " + addressList(), whiteText, 150, 580);
    drawTextAt(fontSmall,
               "Over the internet: forward UDP port " + std::to_string(onlinePort) +
                   " on your router to this machine, and give your public address.",
               greyText, 150, 620);
  }
  drawTextAt(fontSmall, "Your keys: player 1's. Type in a field after clicking it; Ctrl+V pastes.",
             greyText, 150, 760);
}

void drawOnlineGame() {
  drawBoard(1, localBoardX, versusCellPitch, true);
  drawBoard(2, remoteBoardX, versusCellPitch, true);
  drawLineClearParticles();
  drawDamageBars(p1IncomingDamage, 540);
  drawDamageBars(p2IncomingDamage, 1290);
  drawCentred(fontMedium, "You: " + formatInt(static_cast<int32_t>(localLines)) + " lines",
              whiteText, localBoardX, 110);
  drawCentred(fontMedium, "Opponent: " + formatInt(static_cast<int32_t>(remoteLines)) + " lines",
              whiteText, remoteBoardX, 110);
  std::string latency =
      onlineLatency < 0.0 ? "-- ms" : formatInt(static_cast<int32_t>(onlineLatency)) + " ms";
  drawText(fontSmall, latency, greyText, [](int w, int) {
    return SDL_Point{windowWidth - w - 20, 15};
  });
  if (!matchOver) {
    if (localEnded) drawCentred(fontMedium, "Waiting for the opponent…", yellowText, 725, 930);
    return;
  }
  drawVeil();
  // The result over this player's own field; what comes next below the two.
  drawPanel({localBoardX - 170, 420, 340, 120}, {outcomeText()});
  if (onlinePhase == OnlinePhase::finished && !localRematch) drawButton(rematchButton);
  drawCentred(fontSmall, rematchText(), whiteText, windowWidth / 2, 960);
  if (onlinePhase == OnlinePhase::closed && !onlineStatus.empty() &&
      onlineOutcome != Outcome::opponentLeft)
    drawCentred(fontSmall, onlineStatus, whiteText, windowWidth / 2, 960);
}
