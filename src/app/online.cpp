// The "Online Versus" screen and the online game's frame: hosting or joining from the fields,
// the local player on player 1's keys, and the rematch. What travels and when is net's business.
#include "ai/playback.h"
#include "app/play.h"
#include "app/records.h"
#include "app/screens.h"
#include "app/settings.h"
#include "app/widgets.h"
#include "game/game.h"
#include "net/net.h"

#include <cctype>
#include <cstdlib>
#include <ctime>

namespace {

enum { hostButton, joinButton, onlineBackButton, portField, addressField, mappingButton };
constexpr size_t maxAddressLength = 64; // a host name, a colon and a port fit easily

bool hovered(int button) {
  return screenButtons[onlineScreen][button].hovered;
}

void startHosting() {
  onlineFocus = 0;
  if (onlinePortSetting < 1 || onlinePortSetting > 65535) {
    onlineStatus = trLater("Choose a port from 1 to 65535"); // translated where drawn
    return;
  }
  if (!hostOnline(static_cast<uint16_t>(onlinePortSetting))) return;
  // Without a router to talk to (tests), these point the asking at a stand-in on this machine.
  const char* gateway = std::getenv("BRIKKA_NATPMP_GATEWAY");
  const char* description = std::getenv("BRIKKA_UPNP_URL");
  natpmpGatewayOverride = gateway ? gateway : "";
  upnpUrlOverride = description ? description : "";
  startPortMapping(static_cast<uint16_t>(onlinePortSetting));
}

void startJoining() {
  onlineFocus = 0;
  joinOnline(onlineJoinText);
}

// Only what a port or an address can hold; anything else typed or pasted is dropped.
void typeText(const std::string& text) {
  for (char c : text) {
    if (onlineFocus == 1 && c >= '0' && c <= '9') {
      int32_t value = onlinePortSetting * 10 + (c - '0');
      if (value <= 65535) onlinePortSetting = value;
    } else if (onlineFocus == 2 && c > ' ' && c <= '~' &&
               onlineJoinText.size() < maxAddressLength) {
      onlineJoinText.push_back(c);
    }
  }
}

void refreshFieldTexts() {
  std::vector<Button>& buttons = screenButtons[onlineScreen];
  std::string port = onlinePortSetting > 0 ? std::to_string(onlinePortSetting) : "";
  buttons[portField].valueText = port + (onlineFocus == 1 ? "_" : "");
  buttons[addressField].valueText = onlineJoinText + (onlineFocus == 2 ? "_" : "");
  buttons[mappingButton].valueText = portMappingWanted ? tr("On") : tr("Off");
  // The field being typed into stays lit.
  if (onlineFocus == 1) buttons[portField].hovered = true;
  if (onlineFocus == 2) buttons[addressField].hovered = true;
}

} // namespace

std::vector<Button> onlineScreenButtons() {
  return {makeButton(150, 220, 300, 90, "Host", 2),
          makeButton(150, 360, 300, 90, "Join", 2),
          makeButton(675, 850, 150, 50, "Back", 1),
          makeButton(500, 220, 400, 90, "Port: ", 1),
          makeButton(500, 360, 850, 90, "Address: ", 1),
          makeButton(150, 670, 600, 50, "Open the port on my router: ", 1)};
}

void runOnlineScreen() {
  if (mouseClicked) {
    // What the player chose on the screen is remembered; the command line's shortcuts are not.
    if (hovered(hostButton)) {
      savePreference("online_port");
      startHosting();
    } else if (hovered(joinButton)) {
      savePreference("online_address");
      startJoining();
    } else if (hovered(onlineBackButton)) {
      closeOnline(CloseReason::none);
      restoreOwnPieces();
      onlineFocus = 0;
      currentScreen = mainMenuScreen;
    } else if (hovered(mappingButton)) {
      portMappingWanted = !portMappingWanted;
      savePreference("online_port_mapping");
    } else if (hovered(portField)) {
      onlineFocus = 1;
    } else if (hovered(addressField)) {
      onlineFocus = 2;
    } else {
      onlineFocus = 0;
    }
  }
  refreshFieldTexts();
}

void onlineTextEvent(const SDL_Event& event) {
  if (onlineFocus == 0) return;
  if (event.type == SDL_TEXTINPUT) {
    typeText(event.text.text);
    return;
  }
  if (event.type != SDL_KEYDOWN) return;
  SDL_Keycode key = event.key.keysym.sym;
  if (key == SDLK_BACKSPACE) {
    if (onlineFocus == 1) onlinePortSetting /= 10;
    if (onlineFocus == 2 && !onlineJoinText.empty()) onlineJoinText.pop_back();
  } else if (key == SDLK_v && (event.key.keysym.mod & KMOD_CTRL) != 0) {
    char* clipboard = SDL_GetClipboardText();
    if (clipboard) typeText(clipboard);
    SDL_free(clipboard);
  } else if (key == SDLK_RETURN || key == SDLK_KP_ENTER) {
    bool hosting = onlineFocus == 1;
    savePreference(hosting ? "online_port" : "online_address");
    if (hosting)
      startHosting();
    else
      startJoining();
  }
}

namespace {

// How the game ended for this player, as its history row says.
std::string onlineResultText() {
  std::string text;
  switch (onlineResult) {
  case OnlineResult::host:
  case OnlineResult::guest:
    text = (onlineResult == OnlineResult::host) == onlineIsHost ? "win" : "loss";
    break;
  case OnlineResult::draw:
    text = "draw";
    break;
  case OnlineResult::noResult:
    text = "no result";
    break;
  case OnlineResult::brokeRulesHost:
  case OnlineResult::brokeRulesGuest:
    text = (onlineResult == OnlineResult::brokeRulesHost) == onlineIsHost
               ? "broke the rules"
               : "opponent broke the rules";
    break;
  case OnlineResult::undecided:
    break;
  }
  // Why, when it was not decided by play: "win (opponent left)"; no comma in a history field.
  if (!onlineReason.empty() && foulFound == Foul::none) {
    std::string why = onlineReason;
    why[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(why[0])));
    text += " (" + why + ")";
  }
  return text;
}

// The online game being played is the one recorded.
bool recordingThisGame() {
  return replayRecording.active && replayRecording.online &&
         replayRecording.gameSerial == gameSerial;
}

// This frame into the game's replay: one that steps, or one whose click re-seeded the stream.
void recordOnlineFrame(bool stepped) {
  if (!recordingThisGame()) {
    replayRecording.replay =
        beginReplay(static_cast<int64_t>(std::time(nullptr)), p1Sensitivity, p2Sensitivity, 0);
    replayRecording.replay.onlineSeed = onlineSeed;
    replayRecording.replay.onlineHost = onlineIsHost;
    replayRecording.gameSerial = gameSerial;
    replayRecording.active = true;
    replayRecording.online = true;
    replayRecording.frames = 0;
  }
  if (!stepped && !mouseClicked) return;
  ReplayFrame frame = currentFrame();
  frame.stepped = stepped;
  frame.clicked = mouseClicked;
  frame.clickSum = mousePosition.x + mousePosition.y;
  addReplayFrame(replayRecording.replay, frame);
  ++framesRecorded;
}

// One history row for each online game given a result.
void recordOnlineGame() {
  if (gamesSettled == replayRecording.onlineGamesWritten) return;
  replayRecording.onlineGamesWritten = gamesSettled;
  GameRecord game;
  std::time_t now = std::time(nullptr);
  std::tm parts{};
  char date[32] = {};
  if (gmtime_r(&now, &parts)) std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &parts);
  game.date = date;
  game.mode = "online";
  game.score = score;
  game.lines = p1Lines;
  game.pieces = static_cast<int32_t>(localLocks);
  game.seconds = (localEnded ? localEndClock : onlineClock) / 1000.0;
  game.piecesPerSecond = game.seconds > 0.0 ? game.pieces / game.seconds : 0.0;
  game.garbageSent = p1GarbageSent;
  game.result = onlineResultText();
  game.opponent = opponentAddress;
  game.garbageReceived = localGarbageReceived;
  if (recordingThisGame()) {
    replayRecording.replay.result = currentResult(framesRecorded);
    replayRecording.replay.events = gameEvents;
    game.replayFile = saveReplay(replayRecording.replay, game);
    replayRecording.replay = Replay{};
    replayRecording.active = false;
    replayRecording.gameSerial = 0;
  }
  appendHistory(game);
  pruneReplays();
}

} // namespace

void updateOnline() {
  pollOnline();
  recordOnlineGame();
  // An online game never waits for one side: nothing may leave it paused.
  if (gameMode == onlineVersusMode) gamePaused = false;
}

void stepOnlineGame() {
  checkHover(rematchButton);
  bool canRematch = matchOver && onlinePhase == OnlinePhase::finished && !localRematch;
  if (mouseClicked && rematchButton.hovered && canRematch) requestRematch();
  if (onlinePhase != OnlinePhase::playing || matchOver) return;
  bool stepping = countdownShown() == 0;
  recordOnlineFrame(stepping);
  if (stepping) stepLocalPlay();
}

void leaveOnlineGame() {
  closeOnline(CloseReason::left);
  recordOnlineGame(); // a window closing now has no frame left to write it in
  restoreOwnPieces();
}

void startOnlineFromCommandLine() {
  if (launchOptions.hostPort > 0) {
    currentScreen = onlineScreen;
    onlinePortSetting = launchOptions.hostPort;
    startHosting();
  } else if (!launchOptions.joinAddress.empty()) {
    currentScreen = onlineScreen;
    onlineJoinText = launchOptions.joinAddress;
    startJoining();
  }
}
