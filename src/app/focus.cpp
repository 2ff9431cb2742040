// The menus without a mouse: a focus that the arrow keys, Tab, the D-pad and the left stick move
// between the widgets of whatever screen is shown, by where they are drawn. Pressing it is a click
// on the focused button; while it shows, it stands in for the pointer's hover.
#include "app/input.h"
#include "app/widgets.h"
#include "net/state.h"
#include "render/render.h"

#include <cmath>
#include <cstdlib>

namespace {

SDL_Point centre(const SDL_Rect& area) {
  return {area.x + area.w / 2, area.y + area.h / 2};
}

// A button of no size (a list's empty row) is neither seen nor reached.
bool focusable(int32_t index) {
  SDL_Rect area = focusItem(index).area;
  return area.w > 0 && area.h > 0;
}

// Tab order: top to bottom, left to right within a row.
bool readsBefore(int32_t a, int32_t b) {
  SDL_Point p = centre(focusItem(a).area), q = centre(focusItem(b).area);
  return p.y < q.y || (p.y == q.y && (p.x < q.x || (p.x == q.x && a < b)));
}

bool menuContext(int32_t context) {
  return context >= 0 && context < screenCount;
}

// A new screen starts with its top-left widget, a screen come back to with the one that left it
// (so "Back" lands where the player was); a game starts with no focus shown, since its keys
// play; a paused game starts on "Resume".
void followFocusContext() {
  int32_t context = currentFocusContext();
  if (context == focusContext) return;
  if (menuContext(focusContext)) screenFocus[focusContext] = focusIndex;
  focusContext = context;
  int32_t remembered = menuContext(context) ? screenFocus[context] : -1;
  bool back = remembered >= 0 && remembered < focusItemCount() && focusable(remembered);
  focusIndex = back ? remembered : -1;
  for (int32_t i = 0; !back && i < focusItemCount(); ++i)
    if (focusable(i) && (focusIndex < 0 || readsBefore(i, focusIndex))) focusIndex = i;
  if (focusIndex < 0) focusIndex = 0;
  if (inPlay()) focusVisible = false;
  if (pausedGame()) focusIndex = 0; // "Resume"
}

int32_t nextInReadingOrder(bool forward) {
  int32_t best = -1, wrap = -1;
  for (int32_t i = 0; i < focusItemCount(); ++i) {
    if (i == focusIndex || !focusable(i)) continue;
    bool after = forward ? readsBefore(focusIndex, i) : readsBefore(i, focusIndex);
    auto closer = [&](int32_t candidate, int32_t current) {
      return current < 0 ||
             (forward ? readsBefore(candidate, current) : readsBefore(current, candidate));
    };
    if (after && closer(i, best)) best = i;
    if (!after && closer(i, wrap)) wrap = i; // past the end: round to the other end
  }
  return best >= 0 ? best : (wrap >= 0 ? wrap : focusIndex);
}

// The nearest widget in the arrow's direction, within a cone twice as wide as it is deep, so
// that Right never jumps to a button far down the screen; sideways distance counts double.
int32_t nextInDirection(MenuCommand command) {
  SDL_Point from = centre(focusItem(focusIndex).area);
  int32_t best = focusIndex;
  long bestCost = 0;
  for (int32_t i = 0; i < focusItemCount(); ++i) {
    SDL_Point to = centre(focusItem(i).area);
    long dx = to.x - from.x, dy = to.y - from.y;
    bool vertical = command == MenuCommand::up || command == MenuCommand::down;
    long ahead = vertical ? (command == MenuCommand::down ? dy : -dy)
                          : (command == MenuCommand::right ? dx : -dx);
    long aside = std::labs(vertical ? dx : dy);
    if (i == focusIndex || !focusable(i) || ahead <= 0 || aside > 2 * ahead) continue;
    long cost = ahead + 2 * aside;
    if (best == focusIndex || cost < bestCost) best = i, bestCost = cost;
  }
  return best;
}

// Left and right on a slider move its knob by a round step, about a hundredth of its range.
void stepSlider(Slider& slider, int direction) {
  double range = slider.maxValue - slider.minValue;
  if (!(range > 0.0)) return;
  // 1, 2 or 5 times a power of ten: sensitivities step by 0.02, the moves slider by 10.
  double target = range / 100.0, power = std::pow(10.0, std::floor(std::log10(target)));
  double step = 10.0 * power;
  for (double factor : {5.0, 2.0, 1.0})
    if (factor * power >= target) step = factor * power;
  if (slider.isInteger && step < 1.0) step = 1.0;
  setSliderValue(slider, slider.value + direction * step);
  // One step is a whole drag: screens that store a slider on release store it now.
  mouseReleased = true;
}

Button* backOfScreen() {
  if (gameMode != menuMode) return &backButton;
  if (!validScreen()) return nullptr;
  for (Button& button : screenButtons[currentScreen])
    if (button.text == "Back") return &button;
  return nullptr;
}

} // namespace

bool inPlay() {
  bool playing = gameMode == soloPlayMode || gameMode == playerVersusMode ||
                 gameMode == versusBotMode ||
                 (gameMode == onlineVersusMode && onlinePhase == OnlinePhase::playing);
  return playing && !gamePaused && !matchOver;
}

Button* focusedButton() {
  followFocusContext();
  return focusVisible ? focusItem(focusIndex).button : nullptr;
}

Slider* focusedSlider() {
  followFocusContext();
  return focusVisible ? focusItem(focusIndex).slider : nullptr;
}

void menuCommand(MenuCommand command) {
  followFocusContext();
  if (command == MenuCommand::back) {
    Button* back = backOfScreen();
    for (int32_t i = 0; back && i < focusItemCount(); ++i)
      if (focusItem(i).button == back) focusIndex = i;
    if (!back) return;
    focusVisible = true;
    mouseClicked = true; // the frame update sees a click on the focused "Back"
    return;
  }
  // In a game the keys and buttons play; only "Back" is theirs.
  if (inPlay() || focusItemCount() == 0) return;
  // The first key only shows where the focus is; but Return on a paused game resumes at once.
  if (!focusVisible) {
    focusVisible = true;
    if (!pausedGame() || command != MenuCommand::press) return;
  }
  FocusItem item = focusItem(focusIndex);
  bool sideways = command == MenuCommand::left || command == MenuCommand::right;
  if (item.slider && sideways) {
    stepSlider(*item.slider, command == MenuCommand::right ? 1 : -1);
  } else if (command == MenuCommand::press) {
    if (item.button) mouseClicked = true;
  } else if (command == MenuCommand::next || command == MenuCommand::previous) {
    focusIndex = nextInReadingOrder(command == MenuCommand::next);
  } else {
    focusIndex = nextInDirection(command);
  }
}
