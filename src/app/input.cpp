// Input: the mouse's one-frame click, key capture for rebinding, Escape, and the fourteen
// per-player action flags with their auto-repeat.
#include "app/input.h"
#include "app/play.h"
#include "app/settings.h"

#include <algorithm>

namespace {

// Rotations and hard drops: once per press.
bool press(bool down, bool& wasDown) {
  bool fired = down && !wasDown;
  wasDown = down;
  return fired;
}

// What the input step remembers of one player's keys between frames.
struct KeyMemory {
  bool &rightDown, &leftDown;
  double &rightRepeat, &leftRepeat;
  bool &rotateCwDown, &rotateCcwDown, &hardDropDown;
  double sensitivity;
};

KeyMemory keyMemory(int player) {
  if (player == 1) {
    return {p1RightDown,    p1LeftDown,      p1RightRepeat,  p1LeftRepeat,
            p1RotateCwDown, p1RotateCcwDown, p1HardDropDown, p1Sensitivity};
  }
  return {p2RightDown,    p2LeftDown,      p2RightRepeat,  p2LeftRepeat,
          p2RotateCwDown, p2RotateCcwDown, p2HardDropDown, p2Sensitivity};
}

void startShift(ShiftMemory& memory, int32_t direction) {
  memory.direction = direction;
  memory.chargeMs = 0.0;
  memory.repeatsDone = 0;
}

// The custom handling's sideways step for one frame of frameMs: the columns to move (0 none, up
// to boardWidth) in memory.direction. The newest of two held directions wins; pressed in the
// same frame they cancel, as the flags always did.
int32_t customShift(bool right, bool left, const Handling& handling, ShiftMemory& memory,
                    double frameMs) {
  bool pressedRight = right && !memory.rightDown, pressedLeft = left && !memory.leftDown;
  memory.rightDown = right;
  memory.leftDown = left;
  if (pressedRight && pressedLeft) {
    startShift(memory, 0);
    return 0;
  }
  if (pressedRight || pressedLeft) {
    startShift(memory, pressedRight ? 1 : -1);
    return 1;
  }
  bool held = memory.direction > 0 ? right : (memory.direction < 0 ? left : false);
  if (!held) {
    // Released (or never chosen): the one still held takes over as if pressed now.
    startShift(memory, right != left ? (right ? 1 : -1) : 0);
    return memory.direction != 0 ? 1 : 0;
  }
  double time = frameMs;
  if (memory.cutMs > 0.0) {
    double waited = std::min(time, memory.cutMs);
    memory.cutMs -= waited;
    time -= waited;
    if (time <= 0.0) return 0; // the whole frame went to the cut
  }
  memory.chargeMs += time;
  if (memory.chargeMs < handling.dasMs) return 0;
  if (handling.arrMs <= 0) return boardWidth; // charged at zero repeat: always against the wall
  auto due = static_cast<int32_t>((memory.chargeMs - handling.dasMs) / handling.arrMs) + 1;
  int32_t cells = due - memory.repeatsDone;
  memory.repeatsDone = due;
  return std::min(cells, boardWidth);
}

// One player's seven flags from the seven bindings starting at first.
void computePlayerFlags(int player, const uint8_t* keys, int first) {
  PlayerState flags = playerState(player);
  KeyMemory memory = keyMemory(player);
  const Handling& handling = player == 1 ? p1Handling : p2Handling;
  ShiftMemory& shift = player == 1 ? p1Shift : p2Shift;
  // The player's pad feeds the same memory as the keys: every rule holds for both alike.
  auto down = [&](int offset) {
    if (padActionDown(player, offset)) return true;
    if (controls.size() < controlCount) return false; // nothing bound yet
    int32_t scancode = controls[first + offset];
    return scancode >= 0 && scancode < scancodeLimit && keys[scancode] != 0;
  };
  bool downs[padActionCount];
  for (int action = 0; action < padActionCount; ++action) downs[action] = down(action);
  countPresses(player, downs);
  bool custom = handling.kind == customHandling;
  if (custom) {
    // Real milliseconds of the game clock: the same feel at any frame rate.
    int32_t cells = customShift(downs[0], downs[1], handling, shift, frameDelta * 10.0);
    flags.moveRight = cells > 0 && shift.direction > 0;
    flags.moveLeft = cells > 0 && shift.direction < 0;
    flags.moveCells = std::max(cells, 1);
  } else {
    flags.moveRight =
        autoRepeat(downs[0], memory.rightDown, memory.rightRepeat, memory.sensitivity);
    flags.moveLeft = autoRepeat(downs[1], memory.leftDown, memory.leftRepeat, memory.sensitivity);
    flags.moveCells = 1;
  }
  flags.rotateCw = press(downs[2], memory.rotateCwDown);
  flags.rotateCcw = press(downs[3], memory.rotateCcwDown);
  flags.softDrop = downs[4];
  flags.softDropFactor = custom ? handling.softDropFactor : classicSoftDrop;
  flags.hardDrop = press(downs[5], memory.hardDropDown);
  flags.hold = downs[6];
  bool holdPressed = flags.hold && !shift.holdDown;
  shift.holdDown = flags.hold;
  if (custom && (flags.rotateCw || flags.rotateCcw || holdPressed)) shift.cutMs = handling.dasCutMs;
}

// The keys that work the menus. Repeats of a held arrow keep moving; a held Return presses once.
void menuKey(const SDL_KeyboardEvent& key) {
  // A key bound to an action plays; it never leaves the game.
  if (inPlay() &&
      std::find(controls.begin(), controls.end(), key.keysym.scancode) != controls.end())
    return;
  switch (key.keysym.scancode) {
  case SDL_SCANCODE_UP:
    return menuCommand(MenuCommand::up);
  case SDL_SCANCODE_DOWN:
    return menuCommand(MenuCommand::down);
  case SDL_SCANCODE_LEFT:
    return menuCommand(MenuCommand::left);
  case SDL_SCANCODE_RIGHT:
    return menuCommand(MenuCommand::right);
  case SDL_SCANCODE_TAB:
    return menuCommand((key.keysym.mod & KMOD_SHIFT) ? MenuCommand::previous : MenuCommand::next);
  case SDL_SCANCODE_RETURN:
  case SDL_SCANCODE_KP_ENTER:
    if (!key.repeat) menuCommand(MenuCommand::press);
    return;
  case SDL_SCANCODE_BACKSPACE:
    if (!key.repeat) leaveByKey("Backspace");
    return;
  default:
    return;
  }
}

} // namespace

// Move keys: fire on the first frame, then whenever the held frames add up to one whole step.
// Counting frames rather than time keeps the feel the same at any frame rate.
bool autoRepeat(bool down, bool& wasDown, double& accumulator, double sensitivity) {
  if (!down) {
    wasDown = false;
    accumulator = 0.0;
    return false;
  }
  if (!wasDown) {
    wasDown = true;
    return true;
  }
  accumulator += sensitivity;
  if (accumulator >= 1.0) {
    accumulator -= 1.0;
    return true;
  }
  return false;
}

std::string bindingLabel(int32_t index) {
  if (awaitingKeyBinding && index == bindingIndex) return tr("Press a key");
  if (index < 0 || index >= static_cast<int32_t>(controls.size())) return "";
  return keyDisplayName(controls[index]);
}

std::string keyDisplayName(int32_t scancode) {
  switch (scancode) {
  case 79:
    return "RIGHT ARROW";
  case 80:
    return "LEFT ARROW";
  case 81:
    return "DOWN ARROW";
  case 82:
    return "UP ARROW";
  case 44:
    return "SPACE";
  case 229:
    return "RSHIFT";
  case 56:
    return "RSLASH";
  default:
    break;
  }
  if (scancode >= 4 && scancode <= 29) return std::string(1, static_cast<char>('A' + scancode - 4));
  // Every other key by the name SDL knows it by ("1", "Return", "Left Shift"), or its number.
  const char* name = scancode > 0 && scancode < SDL_NUM_SCANCODES
                         ? SDL_GetScancodeName(static_cast<SDL_Scancode>(scancode))
                         : "";
  return name[0] != '\0' ? std::string(name) : std::to_string(scancode);
}

Point logicalPoint(int windowX, int windowY) {
  if (renderer == nullptr) return {windowX, windowY};
  float x = 0.0f, y = 0.0f;
  SDL_RenderWindowToLogical(renderer, windowX, windowY, &x, &y);
  return {static_cast<int32_t>(x), static_cast<int32_t>(y)};
}

void computeActionFlags(const uint8_t* keys) {
  computePlayerFlags(2, keys, 0); // player 2's bindings come first
  computePlayerFlags(1, keys, 7);
}

void captureKey(const uint8_t* keys) {
  awaitingKeyBinding = false;
  // Escape cancels the wait and keeps the old key; a player cancelling must not lose the game.
  if (keys[escapeScancode]) {
    escapeCancelledWait = true;
    return;
  }
  if (captureExtraKey(keys)) return; // the pause and restart keys live in the preferences
  bool validIndex = bindingIndex >= 0 && bindingIndex < static_cast<int32_t>(controls.size());
  for (int32_t scancode = 0; scancode < scancodeLimit && validIndex; ++scancode) {
    if (!keys[scancode]) continue;
    // Later (higher) scancodes overwrite earlier ones: the highest key held wins.
    controls[bindingIndex] = scancode;
    if (screenButtons.size() > settingsScreen && bindingIndex < controlCount)
      screenButtons[settingsScreen][bindingIndex].valueText = keyDisplayName(scancode);
  }
  if (validIndex) saveControl(bindingIndex);
}

void handleEvents() {
  const uint8_t* keys = SDL_GetKeyboardState(nullptr);
  int windowX = 0, windowY = 0;
  SDL_GetMouseState(&windowX, &windowY);
  mousePosition = logicalPoint(windowX, windowY);
  // A click lasts one frame, even when its press and release both fall in the last frame.
  mouseClicked = false;
  for (uint8_t& key : eventKeys) key &= keyHeld;
  mouseReleased = false;

  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    if (gameMode == menuMode && currentScreen == onlineScreen) onlineTextEvent(event);
    switch (event.type) {
    case SDL_QUIT:
      running = false;
      break;
    case SDL_MOUSEMOTION:
      focusVisible = false; // the pointer is back in charge
      break;
    case SDL_MOUSEBUTTONDOWN:
      focusVisible = false;
      if (event.button.button != SDL_BUTTON_LEFT) break;
      mouseHeld = true;
      if (!mouseDownLatch) {
        mouseClicked = true;
        mouseDownLatch = true;
      }
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button != SDL_BUTTON_LEFT) break;
      // A press released within the same frame (a tap) keeps its click for this frame.
      mouseHeld = mouseDownLatch = false;
      mouseReleased = true;
      break;
    case SDL_KEYUP:
      if (event.key.keysym.scancode < SDL_NUM_SCANCODES)
        eventKeys[event.key.keysym.scancode] &= ~keyHeld;
      break;
    case SDL_KEYDOWN:
      if (event.key.keysym.scancode < SDL_NUM_SCANCODES)
        eventKeys[event.key.keysym.scancode] = keyHeld | keyWentDown;
      // A held key's repeats are no new key: the Return that started the wait is not its key.
      if (awaitingKeyBinding) {
        if (!event.key.repeat) captureKey(keys);
      } else if (awaitingPadBinding) {
        // To a control that waits for a pad button, only Escape means something: cancel.
        if (event.key.keysym.scancode == escapeScancode) {
          awaitingPadBinding = false;
          escapeCancelledWait = true;
        }
      } else if (gameMode == menuMode && currentScreen == onlineScreen && onlineFocus != 0) {
        // A field being typed into has the keys: "m" is a letter there, not mute.
      } else {
        handleShellKey(event.key);
        // Alt+Enter is full screen, not a press of the focused button.
        if (!(event.key.keysym.mod & KMOD_ALT)) menuKey(event.key);
      }
      break;
    case SDL_WINDOWEVENT:
      handleWindowEvent(event.window);
      break;
    default:
      handlePadEvent(event);
      break;
    }
  }

  // Escape quits from anywhere, except while it is still held after cancelling a rebinding.
  if (!keys[escapeScancode])
    escapeCancelledWait = false;
  else if (!escapeCancelledWait)
    running = false;
  pollPadMenu();
  // A key tapped within this frame counts as down for it: no press is lost to a slow frame.
  static uint8_t held[SDL_NUM_SCANCODES];
  for (int i = 0; i < SDL_NUM_SCANCODES; ++i) held[i] = keys[i] | eventKeys[i];
  computeActionFlags(held);
}
