// Gamepads through SDL's game-controller layer: opened as they come, one per player, read as the
// same seven actions as the keys, and the arrows, press and back of the menus.
#include "app/input.h"
#include "app/play.h"
#include "app/settings.h"
#include "render/language.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <utility>

namespace {

// Half the stick's travel: a resting or slightly worn stick never moves a piece.
constexpr int16_t stickDeadZone = 16000;
constexpr double padMenuRepeatStep = 0.1; // menu arrows held on a pad: about six a second

const char* const actionNames[padActionCount] = {
    "right", "left", "rotate_cw", "rotate_ccw", "soft_drop", "hard_drop", "hold"};

SDL_JoystickID padId(SDL_GameController* pad) {
  return pad ? SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) : -1;
}

int playerOfPad(SDL_JoystickID id) {
  for (int slot = 0; slot < 2; ++slot)
    if (playerPads[slot] && padId(playerPads[slot]) == id) return slot + 1;
  return 0;
}

bool sameGuid(const SDL_JoystickGUID& a, const SDL_JoystickGUID& b) {
  return std::equal(std::begin(a.data), std::end(a.data), std::begin(b.data));
}

// A free slot for a pad of this kind: the player who had one like it, else one who never had a
// pad, else any free one.
int freeSlotFor(const SDL_JoystickGUID& guid) {
  for (int slot = 0; slot < 2; ++slot)
    if (!playerPads[slot] && playerPadKnown[slot] && sameGuid(playerPadGuids[slot], guid))
      return slot;
  for (int slot = 0; slot < 2; ++slot)
    if (!playerPads[slot] && !playerPadKnown[slot]) return slot;
  for (int slot = 0; slot < 2; ++slot)
    if (!playerPads[slot]) return slot;
  return -1;
}

// The first pad plays as player 1, the next as player 2, and a pad plugged back in goes to the
// player it belonged to; a third waits unopened.
void openPad(int deviceIndex) {
  if (!SDL_IsGameController(deviceIndex)) return;
  if (playerOfPad(SDL_JoystickGetDeviceInstanceID(deviceIndex)) != 0) return; // already ours
  SDL_JoystickGUID guid = SDL_JoystickGetDeviceGUID(deviceIndex);
  int slot = freeSlotFor(guid);
  if (slot < 0) return;
  playerPads[slot] = SDL_GameControllerOpen(deviceIndex);
  playerPadGuids[slot] = guid;
  playerPadKnown[slot] = playerPads[slot] != nullptr;
}

void closePad(SDL_JoystickID id) {
  int player = playerOfPad(id);
  if (player == 0) return;
  SDL_GameControllerClose(playerPads[player - 1]);
  playerPads[player - 1] = nullptr;
  // The player lost control in the middle of a game: hold it still until the pad is back.
  if (inPlay() && gameMode != onlineVersusMode && (player == 1 || gameMode == playerVersusMode)) {
    gamePaused = true;
    padLostPlayer = player;
  }
}

bool buttonDown(SDL_GameController* pad, int32_t button) {
  return SDL_GameControllerGetButton(pad, static_cast<SDL_GameControllerButton>(button)) != 0;
}

// The left stick pushed past the dead zone toward a D-pad direction.
bool stickToward(SDL_GameController* pad, int32_t dpadButton) {
  int16_t x = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTX);
  int16_t y = SDL_GameControllerGetAxis(pad, SDL_CONTROLLER_AXIS_LEFTY);
  switch (dpadButton) {
  case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
    return x > stickDeadZone;
  case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
    return x < -stickDeadZone;
  case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
    return y > stickDeadZone;
  case SDL_CONTROLLER_BUTTON_DPAD_UP:
    return y < -stickDeadZone;
  default:
    return false;
  }
}

// Either shoulder does what the other is bound to, unless the player gave it its own action.
int32_t otherShoulder(int32_t button) {
  if (button == SDL_CONTROLLER_BUTTON_LEFTSHOULDER) return SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
  if (button == SDL_CONTROLLER_BUTTON_RIGHTSHOULDER) return SDL_CONTROLLER_BUTTON_LEFTSHOULDER;
  return -1;
}

void captureButton(int32_t button) {
  // Start pauses and Guide belongs to the system: neither can be taken by an action.
  if (button == SDL_CONTROLLER_BUTTON_START || button == SDL_CONTROLLER_BUTTON_GUIDE) return;
  awaitingPadBinding = false;
  if (padBindingIndex < 0 || padBindingIndex >= 2 * padActionCount) return;
  int player = padBindingIndex < padActionCount ? 2 : 1; // player 2's column first, as the keys
  int action = padBindingIndex % padActionCount;
  padButtons(player)[action] = button;
  savePreference(padPreferenceName(player, action).c_str());
}

void padButtonDown(const SDL_ControllerButtonEvent& event) {
  if (playerOfPad(event.which) == 0) return;
  if (awaitingPadBinding) return captureButton(event.button);
  bool playing = inPlay();
  switch (event.button) {
  case SDL_CONTROLLER_BUTTON_START:
    pauseRequested = true;
    break;
  case SDL_CONTROLLER_BUTTON_BACK:
    leaveByKey("Back");
    break;
  case SDL_CONTROLLER_BUTTON_A: // in a game A and B are actions
    if (!playing) menuCommand(MenuCommand::press);
    break;
  case SDL_CONTROLLER_BUTTON_B:
    if (!playing) menuCommand(MenuCommand::back);
    break;
  // The shoulders walk every widget in reading order, past sliders whose sideways is their value.
  case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
    if (!playing) menuCommand(MenuCommand::previous);
    break;
  case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
    if (!playing) menuCommand(MenuCommand::next);
    break;
  default:
    break;
  }
}

} // namespace

int32_t* padButtons(int player) {
  return player == 1 ? p1PadButtons : p2PadButtons;
}

std::string padPreferenceName(int player, int action) {
  return "pad_p" + std::to_string(player) + "_" + actionNames[action % padActionCount];
}

void resetPadButtons() {
  for (int player : {1, 2})
    for (int action = 0; action < padActionCount; ++action)
      restorePreference(padPreferenceName(player, action).c_str());
}

std::string padButtonName(int32_t button) {
  // TRANSLATORS: a gamepad's buttons, on the gamepad screen's buttons after the action.
  static const char* const names[SDL_CONTROLLER_BUTTON_MAX] = {"A",
                                                               "B",
                                                               "X",
                                                               "Y",
                                                               "Back",
                                                               "Guide",
                                                               "Start",
                                                               trLater("Left Stick"),
                                                               trLater("Right Stick"),
                                                               "LB",
                                                               "RB",
                                                               trLater("D-pad Up"),
                                                               trLater("D-pad Down"),
                                                               trLater("D-pad Left"),
                                                               trLater("D-pad Right"),
                                                               trLater("Misc"),
                                                               trLater("Paddle 1"),
                                                               trLater("Paddle 2"),
                                                               trLater("Paddle 3"),
                                                               trLater("Paddle 4"),
                                                               trLater("Touchpad")};
  if (button < 0 || button >= SDL_CONTROLLER_BUTTON_MAX) return std::to_string(button);
  // What is printed on the pad stays as printed; the rest are words, in the language shown.
  bool printed = button < SDL_CONTROLLER_BUTTON_LEFTSTICK ||
                 button == SDL_CONTROLLER_BUTTON_LEFTSHOULDER ||
                 button == SDL_CONTROLLER_BUTTON_RIGHTSHOULDER;
  return printed ? names[button] : tr(names[button]);
}

void startGamepads() {
  // Community mappings for pads SDL does not know; loaded before any pad is opened.
  if (std::ifstream(padMappingsPath).good() &&
      SDL_GameControllerAddMappingsFromFile(padMappingsPath) < 0)
    std::fprintf(stderr, "Brikka: could not read %s: %s\n", padMappingsPath, SDL_GetError());
  for (int i = 0; i < SDL_NumJoysticks(); ++i) openPad(i);
}

void closePads() {
  for (SDL_GameController*& pad : playerPads) {
    if (pad) SDL_GameControllerClose(pad);
    pad = nullptr;
  }
}

// Held until the game closes: the kinds swap too, so a replugged pad keeps the swapped player.
void swapPads() {
  std::swap(playerPads[0], playerPads[1]);
  std::swap(playerPadGuids[0], playerPadGuids[1]);
  std::swap(playerPadKnown[0], playerPadKnown[1]);
}

void handlePadEvent(const SDL_Event& event) {
  switch (event.type) {
  case SDL_CONTROLLERDEVICEADDED: // carries a device index
    openPad(event.cdevice.which);
    break;
  case SDL_CONTROLLERDEVICEREMOVED: // carries an instance id
    closePad(event.cdevice.which);
    break;
  case SDL_CONTROLLERBUTTONDOWN:
    padButtonDown(event.cbutton);
    break;
  default:
    break;
  }
}

bool padActionDown(int player, int action) {
  SDL_GameController* pad = playerPads[player == 1 ? 0 : 1];
  if (!pad || action < 0 || action >= padActionCount) return false;
  const int32_t* buttons = padButtons(player);
  int32_t button = buttons[action];
  if (buttonDown(pad, button)) return true;
  // The stick moves and soft-drops like the D-pad; pushed up it never hard-drops by accident.
  if (button != SDL_CONTROLLER_BUTTON_DPAD_UP && stickToward(pad, button)) return true;
  int32_t twin = otherShoulder(button);
  bool twinFree = std::find(buttons, buttons + padActionCount, twin) == buttons + padActionCount;
  return twin >= 0 && twinFree && buttonDown(pad, twin);
}

void pollPadMenu() {
  const int32_t directions[4] = {SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                                 SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_RIGHT};
  const MenuCommand commands[4] = {MenuCommand::up, MenuCommand::down, MenuCommand::left,
                                   MenuCommand::right};
  for (int i = 0; i < 4; ++i) {
    bool down = false;
    for (SDL_GameController* pad : playerPads)
      down = down || (pad && (buttonDown(pad, directions[i]) || stickToward(pad, directions[i])));
    // The memory runs on while a rebinding waits, so the button just bound moves nothing.
    bool fired = autoRepeat(down, padMenuDown[i], padMenuRepeat[i], padMenuRepeatStep);
    if (fired && !awaitingPadBinding && !awaitingKeyBinding) menuCommand(commands[i]);
  }
}
