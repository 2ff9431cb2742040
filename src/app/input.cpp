// Input: the mouse's one-frame click, key capture for rebinding, Escape, and the fourteen
// per-player action flags with their auto-repeat.
#include "app/app.h"

namespace {

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

// Rotations and hard drops: once per press.
bool press(bool down, bool& wasDown) {
  bool fired = down && !wasDown;
  wasDown = down;
  return fired;
}

void clearActionFlags() {
  p1MoveRight = p1MoveLeft = p1RotateCw = p1RotateCcw = p1SoftDrop = p1HardDrop = p1Hold = false;
  p2MoveRight = p2MoveLeft = p2RotateCw = p2RotateCcw = p2SoftDrop = p2HardDrop = p2Hold = false;
}

} // namespace

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
  // Letters come out as their capitals; other keys show whatever character lands there.
  int32_t code = ((scancode + 61) % 256 + 256) % 256;
  return std::string(1, static_cast<char>(code));
}

void computeActionFlags(const uint8_t* keys) {
  if (controls.size() != controlCount) {
    clearActionFlags();
    return;
  }
  auto down = [&](int index) {
    int32_t scancode = controls[index];
    return scancode >= 0 && scancode < scancodeLimit && keys[scancode] != 0;
  };
  p2MoveRight = autoRepeat(down(0), p2RightDown, p2RightRepeat, p2Sensitivity);
  p2MoveLeft = autoRepeat(down(1), p2LeftDown, p2LeftRepeat, p2Sensitivity);
  p2RotateCw = press(down(2), p2RotateCwDown);
  p2RotateCcw = press(down(3), p2RotateCcwDown);
  p2SoftDrop = down(4);
  p2HardDrop = press(down(5), p2HardDropDown);
  p2Hold = down(6);
  p1MoveRight = autoRepeat(down(7), p1RightDown, p1RightRepeat, p1Sensitivity);
  p1MoveLeft = autoRepeat(down(8), p1LeftDown, p1LeftRepeat, p1Sensitivity);
  p1RotateCw = press(down(9), p1RotateCwDown);
  p1RotateCcw = press(down(10), p1RotateCcwDown);
  p1SoftDrop = down(11);
  p1HardDrop = press(down(12), p1HardDropDown);
  p1Hold = down(13);
}

void captureKey(const uint8_t* keys) {
  bool validIndex = bindingIndex >= 0 && bindingIndex < static_cast<int32_t>(controls.size());
  for (int32_t scancode = 0; scancode < scancodeLimit && validIndex; ++scancode) {
    if (!keys[scancode]) continue;
    // Later (higher) scancodes overwrite earlier ones: the highest key held wins.
    controls[bindingIndex] = scancode;
    if (screenButtons.size() > 3 && bindingIndex < static_cast<int32_t>(screenButtons[3].size())) {
      screenButtons[3][bindingIndex].valueText = keyDisplayName(scancode);
    }
  }
  writeControls();
  awaitingKeyBinding = false;
}

void handleEvents() {
  const uint8_t* keys = SDL_GetKeyboardState(nullptr);
  SDL_GetMouseState(&mousePosition.x, &mousePosition.y);
  if (mouseDownLatch) mouseClicked = false;
  mouseReleased = false;

  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    switch (event.type) {
    case SDL_QUIT:
      running = false;
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button != SDL_BUTTON_LEFT) break;
      mouseHeld = true;
      if (!mouseDownLatch) {
        mouseClicked = true;
        mouseDownLatch = true;
      }
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button != SDL_BUTTON_LEFT) break;
      mouseHeld = mouseClicked = mouseDownLatch = false;
      mouseReleased = true;
      break;
    case SDL_KEYDOWN:
      if (awaitingKeyBinding) captureKey(keys);
      break;
    default:
      break;
    }
  }

  if (keys[escapeScancode]) running = false;
  computeActionFlags(keys);
}
