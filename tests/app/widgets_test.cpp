// Buttons and sliders as the pointer meets them, and the screens the menus are built with.
#include "app/app.h"
#include "pictures.h"

#include <gtest/gtest.h>

namespace {

int clickSounds = 0;
void countClicks(SoundEffect effect, int channel) {
  if (effect == SoundEffect::clickButton && channel == 0) ++clickSounds;
}

void pointer(int x, int y, bool clicked = false, bool held = false) {
  mousePosition = {x, y};
  mouseClicked = clicked;
  mouseHeld = held || clicked;
}

void pointAt(Slider& slider, int x, int y, bool clicked = false, bool held = false) {
  pointer(x, y, clicked, held);
  update(slider);
}

} // namespace

TEST(Widgets, ButtonHoverIsStrictlyInsideAndClicksSoundOnlyOnTheButton) {
  soundHook = countClicks;
  clickSounds = 0;
  Button button = makeButton(100, 200, 350, 100, "", 2);
  EXPECT_EQ(button.text, "TEXT");
  for (Point edge : {Point{100, 250}, Point{450, 250}, Point{300, 200}, Point{300, 300}}) {
    pointer(edge.x, edge.y, true);
    checkHover(button);
    EXPECT_FALSE(button.hovered) << edge.x << "," << edge.y;
  }
  EXPECT_EQ(clickSounds, 0);
  pointer(101, 201);
  checkHover(button);
  EXPECT_TRUE(button.hovered);
  EXPECT_EQ(clickSounds, 0);
  pointer(449, 299, true);
  checkHover(button);
  EXPECT_EQ(clickSounds, 1);
  soundHook = nullptr;
}

TEST(Widgets, SliderDragsFromTheKnobOnlyAndClampsToTheTrack) {
  Slider population = makeSlider({650, 200}, 700, 1, 30, "Population", 20, true);
  double startKnob = population.knob.x;
  EXPECT_NEAR(startKnob, 300 + 19.0 / 29.0 * 700, 1e-9);
  // A click on the track beside the knob does nothing.
  pointAt(population, 400, 200, true);
  EXPECT_EQ(population.value, 20);
  EXPECT_FALSE(population.dragging);
  // Grab the knob, then drag it to two thirds of the track, off the knob's height.
  pointAt(population, static_cast<int>(startKnob), 200, true);
  pointAt(population, 300 + 700 * 2 / 3 + 1, 400, false, true);
  EXPECT_EQ(population.value, 20); // 1 + 19.33, truncated
  pointAt(population, 2000, 400, false, true);
  EXPECT_EQ(population.value, 30);
  EXPECT_EQ(population.knob.x, 1000);
  pointAt(population, -50, 400, false, true);
  EXPECT_EQ(population.value, 1);
  // Released: the knob stays where it was let go.
  pointAt(population, 600, 200);
  pointAt(population, 700, 200);
  EXPECT_EQ(population.value, 1);
  EXPECT_EQ(population.knob.x, 300);

  Slider sensitivity = makeSlider({350, 850}, 500, 0.01, 2.0, "Player 2 Sensitivity", 3.0, false);
  EXPECT_GT(sensitivity.knob.x, 600); // a value out of range starts off the track
  EXPECT_EQ(sensitivity.value, 3.0);
}

TEST(Widgets, MenusHoldEveryScreenInItsOrder) {
  useCatalogue(std::vector<Piece>(29, pieceFromPicture({"#"})));
  p1Sensitivity = 0.5;
  buildMenus();
  std::vector<size_t> buttons, sliders;
  for (size_t s = 0; s < screenButtons.size(); ++s) buttons.push_back(screenButtons[s].size());
  for (size_t s = 0; s < screenSliders.size(); ++s) sliders.push_back(screenSliders[s].size());
  EXPECT_EQ(buttons, (std::vector<size_t>{5, 2, 9, 17, 32}));
  EXPECT_EQ(sliders, (std::vector<size_t>{0, 5, 0, 2, 0}));
  const Button& p1Right = screenButtons[3][7];
  EXPECT_EQ(p1Right.text, "P1 | Right:   ");
  EXPECT_EQ(p1Right.position.x, 900);
  EXPECT_EQ(screenSliders[3][1].value, 0.5);
  // Pieces ten to a row, rows 250 apart; then the screen's own buttons.
  const Button& lastPiece = screenButtons[4][28];
  EXPECT_EQ(lastPiece.position.x, 1250);
  EXPECT_EQ(lastPiece.position.y, 700);
  EXPECT_EQ(screenButtons[4][29].text, "Back");
  EXPECT_EQ(screenButtons[4][31].text, "Select All");
}
