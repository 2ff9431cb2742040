// The menus at ui_scale 125 and 150: larger buttons that stay apart and on the window, captions
// that fit them even in the smallest window, and the layout of 100 back as it was.
#include "app/records.h"
#include "render/render.h"
#include "scenario.h"

namespace {

constexpr double readableFit = 0.8; // a grown caption is shrunk to fit by no more than this

class UiScale : public Scenario {
protected:
  void SetUp() override {
    Scenario::SetUp();
    ASSERT_EQ(TTF_Init(), 0);
    for (auto [font, points] : {std::pair{&fontSmall, 24}, {&fontMedium, 36}, {&fontLarge, 48}})
      if (!*font) *font = TTF_OpenFont(BRIKKA_FONT_FILE, points);
    ASSERT_NE(fontLarge, nullptr);
  }
  void TearDown() override {
    uiScaleStep = 0;
    openMenuFonts(BRIKKA_FONT_FILE);
    for (TTF_Font** font : {&fontSmall, &fontMedium, &fontLarge}) // the other suites draw none
      TTF_CloseFont(*font), *font = nullptr;
    Scenario::TearDown();
  }
};

SDL_Rect areaOf(const Button& button) {
  return {button.position.x, button.position.y, button.size.x, button.size.y};
}

// Every button of every screen as "x y w h" lines, one screen after another.
std::string allAreas() {
  std::string areas;
  for (const std::vector<Button>& buttons : screenButtons) {
    for (const Button& button : buttons)
      areas += std::to_string(button.position.x) + " " + std::to_string(button.position.y) + " " +
               std::to_string(button.size.x) + " " + std::to_string(button.size.y) + "\n";
    areas += "\n";
  }
  return areas;
}

bool inside(const SDL_Rect& inner, const SDL_Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

// Drawn at the smallest window (the drawing scaled to half), each screen's buttons on red: the
// pixels that are not red and lie outside every button, give or take the pixel scaling rounds.
int paintOutsideButtons(int32_t screen) {
  SDL_Surface* window = SDL_CreateRGBSurfaceWithFormat(0, smallestWindowWidth, smallestWindowHeight,
                                                       32, SDL_PIXELFORMAT_ARGB8888);
  renderer = SDL_CreateSoftwareRenderer(window);
  SDL_RenderSetLogicalSize(renderer, windowWidth, windowHeight);
  SDL_SetRenderDrawColor(renderer, 255, 0, 0, 255);
  SDL_RenderClear(renderer);
  for (const Button& button : screenButtons[screen]) drawMenuButton(button);
  SDL_RenderFlush(renderer);
  double s = static_cast<double>(smallestWindowWidth) / windowWidth;
  int outside = 0;
  for (int y = 0; y < window->h; ++y)
    for (int x = 0; x < window->w; ++x) {
      uint8_t r, g, b;
      SDL_GetRGB(static_cast<uint32_t*>(window->pixels)[y * window->pitch / 4 + x], window->format,
                 &r, &g, &b);
      if (r == 255 && g == 0 && b == 0) continue;
      bool onButton = false;
      for (const Button& button : screenButtons[screen])
        onButton = onButton || (x >= button.position.x * s - 1 && y >= button.position.y * s - 1 &&
                                x <= (button.position.x + button.size.x) * s + 1 &&
                                y <= (button.position.y + button.size.y) * s + 1);
      outside += !onButton;
    }
  SDL_DestroyRenderer(renderer);
  renderer = nullptr;
  SDL_FreeSurface(window);
  return outside;
}

TEST_F(UiScale, ButtonsGrowApartOnTheWindowAndEveryCaptionFitsAtTheSmallestWindow) {
  start(std::vector<Piece>(29, pieceFromPicture({"##", "##"})));
  for (int k = 0; k < 15; ++k) // two pages of replays
    writeFile("Storage/replays/20261208-1015" + std::to_string(10 + k) +
                  "_sprint_1234_40_5678.replay",
              "");
  listReplays();
  openNetworksScreen();
  std::string built = allAreas();
  std::vector<int> headingHeights; // at 100
  for (size_t screen = 0; screen < screenButtons.size(); ++screen)
    headingHeights.push_back(screenHeadingArea(static_cast<int32_t>(screen)).h);
  for (int32_t step : {1, 2}) {
    uiScaleStep = step;
    ASSERT_TRUE(openMenuFonts(BRIKKA_FONT_FILE));
    relayOutMenus();
    double scale = uiScalePercent() / 100.0;
    EXPECT_NEAR(areaOf(screenButtons[mainMenuScreen][0]).w, 350 * scale, 2); // room enough there
    for (size_t screen = 0; screen < screenButtons.size(); ++screen) {
      std::vector<SDL_Rect> areas;
      for (const Button& button : screenButtons[screen])
        if (button.size.x > 0) areas.push_back(areaOf(button));
      // A heading grows with the menus, and the buttons keep off it.
      SDL_Rect heading = screenHeadingArea(static_cast<int32_t>(screen));
      if (headingHeights[screen] > 0) {
        EXPECT_GT(heading.h, headingHeights[screen]) << uiScalePercent() << " %, screen " << screen;
      }
      for (size_t i = 0; i < areas.size(); ++i) {
        EXPECT_FALSE(SDL_HasIntersection(&heading, &areas[i]))
            << uiScalePercent() << " %, screen " << screen << ", heading and button " << i;
        EXPECT_TRUE(inside(areas[i], {0, 0, windowWidth, windowHeight}))
            << uiScalePercent() << " %, screen " << screen << ", button " << i;
        for (size_t j = i + 1; j < areas.size(); ++j)
          EXPECT_FALSE(SDL_HasIntersection(&areas[i], &areas[j]))
              << uiScalePercent() << " %, screen " << screen << ", buttons " << i << ", " << j;
      }
      EXPECT_EQ(paintOutsideButtons(static_cast<int32_t>(screen)), 0)
          << uiScalePercent() << " %, screen " << screen;
      // A column built straight (one left edge, one width) stays straight, a row stays level.
      const std::vector<Button>& buttons = screenButtons[screen];
      const std::vector<SDL_Rect>& asBuilt = builtButtonAreas[screen];
      for (size_t i = 0; i < buttons.size(); ++i)
        for (size_t j = i + 1; j < buttons.size(); ++j) {
          const SDL_Rect &a = asBuilt[i], &b = asBuilt[j];
          if (a.x == b.x && a.w == b.w) {
            EXPECT_EQ(buttons[i].position.x, buttons[j].position.x) << "screen " << screen;
            EXPECT_EQ(buttons[i].size.x, buttons[j].size.x) << "screen " << screen;
          }
          if (a.y == b.y && a.h == b.h) {
            EXPECT_EQ(buttons[i].position.y, buttons[j].position.y) << "screen " << screen;
            EXPECT_EQ(buttons[i].size.y, buttons[j].size.y) << "screen " << screen;
          }
        }
    }
    for (size_t screen = 0; screen < screenButtons.size(); ++screen)
      for (const Button& button : screenButtons[screen]) {
        if (button.size.x <= 0 || button.text.find_first_not_of(' ') == std::string::npos) continue;
        CaptionFit fit = captionFit(button, menuFont(button.textSize));
        std::string where = std::to_string(uiScalePercent()) + " %: \"" + fit.caption +
                            "\" on screen " + std::to_string(screen);
        EXPECT_TRUE(inside(fit.drawn, areaOf(button))) << where;
        EXPECT_GE(fit.factor, readableFit) << where;
      }
  }
  uiScaleStep = 0;
  ASSERT_TRUE(openMenuFonts(BRIKKA_FONT_FILE));
  relayOutMenus();
  EXPECT_EQ(allAreas(), built); // 100 again: every button where it was built
  EXPECT_EQ(areaOf(screenButtons[mainMenuScreen][0]).w, 350);
}

TEST_F(UiScale, TheRowFallsBackAndTheButtonCyclesSavesAndGrowsTheMenus) {
  writeFile(preferencesPath, "ui_scale = 110\n");
  std::string errors = errorsOf(readPreferences);
  EXPECT_EQ(lineCount(errors), 1);
  EXPECT_NE(errors.find("100, 125 or 150; using 100"), std::string::npos) << errors;
  EXPECT_EQ(uiScalePercent(), 100);
  writeFile(preferencesPath, "ui_scale = 150\n");
  readPreferences();
  EXPECT_EQ(uiScalePercent(), 150);
  uiScaleStep = 0;
  // The game opens its font from the runtime folder.
  std::filesystem::create_directories("Fonts");
  std::filesystem::copy_file(BRIKKA_FONT_FILE, "Fonts/nasaFont.ttf");
  currentScreen = audioDisplayScreen;
  const Button& scaleButton = screenButtons[audioDisplayScreen].back();
  EXPECT_EQ(scaleButton.text + scaleButton.valueText, "UI scale: 100%");
  clickOn(scaleButton);
  EXPECT_EQ(scaleButton.valueText, "125%");
  EXPECT_NE(readFile(preferencesPath).find("ui_scale = 125\n"), std::string::npos);
  EXPECT_GT(areaOf(screenButtons[mainMenuScreen][0]).w, 350);
  EXPECT_NE(menuFontSmall, nullptr);
  clickOn(scaleButton);
  clickOn(scaleButton);
  EXPECT_EQ(scaleButton.valueText, "100%");
  EXPECT_EQ(areaOf(screenButtons[mainMenuScreen][0]).w, 350);
  EXPECT_EQ(menuFontSmall, nullptr);
}

} // namespace
