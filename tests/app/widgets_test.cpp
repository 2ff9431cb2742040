// Buttons and sliders as the pointer meets them.
#include "app/widgets.h"

#include <gtest/gtest.h>

namespace {

int clickSounds = 0;
void countClicks(SoundEffect effect, int channel) {
  clickSounds += effect == SoundEffect::clickButton && channel == 0;
}

void pointer(int x, int y, bool clicked = false, bool held = false) {
  mousePosition = {x, y};
  mouseClicked = clicked;
  mouseHeld = held || clicked;
}

TEST(Widgets, ButtonHoverIsStrictlyInsideAndClicksSoundOnlyOnTheButton) {
  soundHook = countClicks;
  clickSounds = 0;
  Button button = makeButton(100, 200, 350, 100, "", 2);
  EXPECT_EQ(button.text, "TEXT");
  // {pointer, clicked, hovered afterwards}: the edges are outside; only clicks on it sound.
  const std::tuple<Point, bool, bool> cases[] = {
      {{100, 250}, true, false}, {{450, 250}, true, false}, {{300, 200}, true, false},
      {{300, 300}, true, false}, {{101, 201}, false, true}, {{449, 299}, true, true}};
  for (const auto& [at, clicked, inside] : cases) {
    pointer(at.x, at.y, clicked);
    checkHover(button);
    EXPECT_EQ(button.hovered, inside) << at.x << "," << at.y;
  }
  EXPECT_EQ(clickSounds, 1);
  soundHook = nullptr;
}

TEST(Widgets, SliderDragsFromTheKnobOnlyAndClampsToTheTrack) {
  Slider population = makeSlider({650, 200}, 700, 1, 30, "Population", 20, true);
  double startKnob = population.knob.x;
  EXPECT_NEAR(startKnob, 300 + 19.0 / 29.0 * 700, 1e-9);
  // {x, y, clicked, held, value afterwards}: a click beside the knob does nothing; a drag from
  // the knob follows the pointer off the knob's height and stops at the track's ends.
  const std::tuple<int, int, bool, bool, double> steps[] = {
      {400, 200, true, true, 20},  {int(startKnob) + 1, 200, true, true, 20},
      {767, 400, false, true, 20}, {2000, 400, false, true, 30},
      {-50, 400, false, true, 1},  {600, 200, false, false, 1},
      {700, 200, false, false, 1}};
  for (const auto& [x, y, clicked, held, value] : steps) {
    pointer(x, y, clicked, held);
    update(population);
    EXPECT_EQ(population.value, value) << x << "," << y;
  }
  EXPECT_EQ(population.knob.x, 300); // released, the knob stays where it was let go
}

} // namespace
