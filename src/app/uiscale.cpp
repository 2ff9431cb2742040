// The menus at ui_scale 125 and 150: every screen's buttons grow about their centres, each as far
// as the room around it allows, when they are built and whenever the scale changes, so that drawing
// and the pointer agree on where they are. At 100 nothing moves.
#include "app/settings.h"
#include "app/widgets.h"
#include "render/render.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double minimumButtonGap = 10.0; // grown buttons keep this apart, unless closer at 100

// The most a box may reach out on each side along one axis, towards another box: the gap
// between them less what must stay of it, halved when the other box grows too.
double reach(double gap, bool otherGrows) {
  double room = gap - std::min(gap, minimumButtonGap);
  return otherGrows ? room / 2.0 : room;
}

// A button with nothing to read on it (a piece's tick box) has no caption to make room for.
bool blankCaption(const Button& button) {
  return (button.text + button.valueText).find_first_not_of(' ') == std::string::npos;
}

bool visible(const Button& button) {
  return button.size.x > 0 && button.size.y > 0;
}

// Texts other than the heading, at their widest.
std::vector<SDL_Rect> otherScreenTexts(int32_t screen) {
  switch (screen) {
  case piecesScreen: // the rows of piece tiles
    return {{0, 50, 1500, 150}, {0, 300, 1500, 150}, {0, 550, 1500, 150}};
  case difficultyScreen: // which network the level plays, and the next one
    return {{600, 758, 850, 32}, {600, 870, 850, 32}};
  case trainingScreen: // what a run does to the network
    return {{1060, 615, 420, 160}};
  case gamepadScreen: // each player's pad
    return {{50, 860, 600, 30}, {850, 860, 600, 30}};
  case modesScreen: // the bests
    return {{550, 365, 400, 30}, {550, 565, 400, 30}};
  case onlineScreen: // the status, the addresses, the keys line
    return {{150, 500, 1200, 45}, {150, 580, 1300, 70}, {150, 760, 1200, 30}};
  case networksScreen:
    return {{100, 50, 1300, 32}};
  default:
    return {};
  }
}

// Where the menus draw texts of their own between the buttons, at their widest (the positions
// are the drawing's); buttons keep clear of them. The heading is measured as drawn, grown or not.
std::vector<SDL_Rect> screenTexts(int32_t screen) {
  std::vector<SDL_Rect> texts = otherScreenTexts(screen);
  SDL_Rect heading = screenHeadingArea(screen);
  if (heading.w > 0 && heading.h > 0) texts.push_back(heading);
  return texts;
}

// A slider's track, knob and label as its menu font draws them: the label grows upwards from
// where it stands at 100.
SDL_Rect sliderArea(const Slider& slider) {
  TTF_Font* font = menuFont(2);
  int labelWidth = 0, labelHeight = 0;
  if (font) TTF_SizeUTF8(font, sliderCaption(slider).c_str(), &labelWidth, &labelHeight);
  int widest = sliderLabelRoom(slider);
  if (widest > 0 && labelWidth > widest) {
    labelHeight = labelHeight * widest / labelWidth;
    labelWidth = widest;
  }
  double reach = slider.knobSize * 0.5 + 4; // a hovered knob at either end
  double halfWidth = std::max(slider.trackWidth * 0.5 + reach, labelWidth * 0.5);
  double top = slider.position.y - slider.trackHeight * 0.5 - 20.0 - labelHeight * 0.5 -
               sliderLabelLift() * 0.5;
  double bottom = slider.position.y + reach;
  return {static_cast<int>(std::floor(slider.position.x - halfWidth)),
          static_cast<int>(std::floor(top)), static_cast<int>(std::ceil(2 * halfWidth)),
          static_cast<int>(std::ceil(bottom - top))};
}

SDL_Rect areaOf(const Button& button) {
  return {button.position.x, button.position.y, button.size.x, button.size.y};
}

void growScreen(int32_t screen) {
  std::vector<Button>& buttons = screenButtons[screen];
  std::vector<SDL_Rect> growing, keepClear = screenTexts(screen);
  for (const Button& button : buttons) {
    if (!visible(button)) continue;
    (blankCaption(button) ? keepClear : growing).push_back(areaOf(button));
  }
  if (screen < static_cast<int32_t>(screenSliders.size()))
    for (const Slider& slider : screenSliders[screen]) keepClear.push_back(sliderArea(slider));
  std::vector<Growth> growths = allowedGrowth(growing, keepClear, uiScalePercent() / 100.0);
  size_t k = 0;
  for (Button& button : buttons) {
    if (!visible(button) || blankCaption(button)) continue;
    SDL_Rect area = grownArea(areaOf(button), growths[k++]);
    button.position = {area.x, area.y};
    button.size = {area.w, area.h};
  }
}

} // namespace

std::vector<Growth> allowedGrowth(const std::vector<SDL_Rect>& growing,
                                  const std::vector<SDL_Rect>& keepClear, double scale) {
  if (scale <= 1.0) return std::vector<Growth>(growing.size());
  std::vector<Growth> growths(growing.size(), Growth{scale, scale});
  for (size_t i = 0; i < growing.size(); ++i) {
    const SDL_Rect& a = growing[i];
    // How far a may reach out on each side, first within the window (kept off its edges too).
    double reachX = reach(std::min(a.x, windowWidth - a.x - a.w), false);
    double reachY = reach(std::min(a.y, windowHeight - a.y - a.h), false);
    auto keepApart = [&](const SDL_Rect& b, bool bGrows) {
      double gapX = std::max(a.x, b.x) - std::min(a.x + a.w, b.x + b.w);
      double gapY = std::max(a.y, b.y) - std::min(a.y + a.h, b.y + b.h);
      // Apart on both axes they need stay apart on only one: the one with more room (the same
      // choice seen from either box). Already overlapping (a text over a button at 100), the
      // button grows no further into it along the axis they overlap less.
      double& along = gapX >= gapY ? reachX : reachY;
      if (gapX >= 0 || gapY >= 0)
        along = std::min(along, reach(std::max(gapX, gapY), bGrows));
      else if (!bGrows)
        along = 0.0;
    };
    for (size_t j = 0; j < growing.size(); ++j)
      if (j != i) keepApart(growing[j], true);
    for (const SDL_Rect& b : keepClear) keepApart(b, false);
    Growth& growth = growths[i];
    growth.x = std::clamp(1.0 + 2.0 * std::max(reachX, 0.0) / a.w, 1.0, scale);
    growth.y = std::clamp(1.0 + 2.0 * std::max(reachY, 0.0) / a.h, 1.0, scale);
  }
  // A column of buttons (one left edge, one width) stays straight, a row (one top, one height)
  // level: each grows as little as the least of its fellows.
  for (size_t i = 0; i < growing.size(); ++i)
    for (size_t j = 0; j < growing.size(); ++j) {
      const SDL_Rect &a = growing[i], &b = growing[j];
      if (a.x == b.x && a.w == b.w) growths[i].x = std::min(growths[i].x, growths[j].x);
      if (a.y == b.y && a.h == b.h) growths[i].y = std::min(growths[i].y, growths[j].y);
    }
  return growths;
}

SDL_Rect grownArea(const SDL_Rect& area, Growth growth) {
  // The same whole number of pixels on both sides, never more than the exact growth.
  int sideX = static_cast<int>(std::floor(area.w * (growth.x - 1.0) / 2.0));
  int sideY = static_cast<int>(std::floor(area.h * (growth.y - 1.0) / 2.0));
  return {area.x - sideX, area.y - sideY, area.w + 2 * sideX, area.h + 2 * sideY};
}

void layOutScreen(int32_t screen) {
  if (screen < 0 || screen >= static_cast<int32_t>(screenButtons.size())) return;
  builtButtonAreas.resize(screenButtons.size());
  std::vector<SDL_Rect>& built = builtButtonAreas[screen];
  built.clear();
  for (const Button& button : screenButtons[screen]) built.push_back(areaOf(button));
  growScreen(screen);
}

void layOutMenus() {
  for (int32_t screen = 0; screen < static_cast<int32_t>(screenButtons.size()); ++screen)
    layOutScreen(screen);
}

void relayOutMenus() {
  builtButtonAreas.resize(screenButtons.size());
  for (size_t screen = 0; screen < screenButtons.size(); ++screen) {
    std::vector<Button>& buttons = screenButtons[screen];
    const std::vector<SDL_Rect>& built = builtButtonAreas[screen];
    if (built.size() != buttons.size()) continue; // not built through layOutScreen
    for (size_t k = 0; k < buttons.size(); ++k) {
      buttons[k].position = {built[k].x, built[k].y};
      buttons[k].size = {built[k].w, built[k].h};
    }
    growScreen(static_cast<int32_t>(screen));
  }
}
