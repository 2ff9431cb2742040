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
    std::string mapping = mappingText();
    if (mapping.empty())
      drawTextAt(fontSmall,
                 "Over the internet: forward UDP port " + std::to_string(onlinePort) +
                     " on your router to this machine, and give your public address.",
                 greyText, 150, 620);
    else
      drawTextAt(fontSmall, mapping, mappingState == MappingState::failed ? yellowText : whiteText,
                 150, 620);
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
  drawCentred(fontMedium, "You: " + formatInt(p1Lines) + " lines", whiteText, localBoardX, 110);
  drawCentred(fontMedium, "Opponent: " + formatInt(p2Lines) + " lines", whiteText, remoteBoardX,
              110);
  if (!replayPlaying) {
    drawCentred(fontSmall, matchScoreText(), greyText, windowWidth / 2, 40);
    std::string latency =
        onlineLatency < 0.0 ? "-- ms" : formatInt(static_cast<int32_t>(onlineLatency)) + " ms";
    drawText(fontSmall, latency, greyText, [](int w, int) {
      return SDL_Point{windowWidth - w - 20, 15};
    });
  }
  // Every lock of the opponent is checked on its copy; a board that differed is said plainly.
  std::string checks = formatInt(static_cast<int32_t>(remoteLocks)) + " locks checked";
  if (checksumMismatches > 0)
    checks += ", " + formatInt(static_cast<int32_t>(checksumMismatches)) + " checksum mismatches";
  drawText(fontSmall, checks, checksumMismatches > 0 ? yellowText : greyText, [](int w, int) {
    return SDL_Point{windowWidth - w - 20, 45};
  });
  if (connectionLost) drawCentred(fontMedium, onlineStatus, yellowText, windowWidth / 2, 880);
  if (countdownShown() > 0)
    drawCentred(fontLarge, std::to_string(countdownShown()), yellowText, windowWidth / 2, 480);
  if (!matchOver) {
    if (localEnded) drawCentred(fontMedium, "Waiting for the opponent…", yellowText, 725, 930);
    return;
  }
  drawVeil();
  // The result over this player's own field, on a panel; why, and what comes next, below.
  std::vector<std::string> said = {outcomeText()};
  if (!onlineReason.empty()) {
    std::string why = onlineReason;
    if (foulFound != Foul::none) why += ": " + std::string(foulText(foulFound));
    said.push_back(why);
  }
  drawPanel({localBoardX - 230, 420, 460, said.size() > 1 ? 170 : 120}, said);
  if (onlinePhase == OnlinePhase::finished && !localRematch) drawButton(rematchButton);
  drawCentred(fontSmall, rematchText(), whiteText, windowWidth / 2, 960);
  if (onlinePhase == OnlinePhase::closed && !onlineStatus.empty() && onlineStatus != onlineReason)
    drawCentred(fontSmall, onlineStatus, whiteText, windowWidth / 2, 960);
}
