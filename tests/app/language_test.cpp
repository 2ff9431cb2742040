// The languages: which one is shown, every menu caption fitting its button in each, and English
// drawn exactly as it always was.
#include "scenario.h"

#include "net/state.h"
#include "render/render.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// Below this a shrunk caption gets hard to read; a translation needing more is too long.
constexpr double readableFit = 0.7;

const std::string localeFolder = std::string(BRIKKA_BINARY_DIR) + "/locale";

// Every language the game offers; each but English needs the catalogue the build makes of its
// .po, or its texts would quietly stay English.
std::vector<std::string> languagesBuilt() {
  std::vector<std::string> codes;
  for (const Language& language : languages) {
    if (language.code != std::string("en")) {
      EXPECT_TRUE(
          std::filesystem::exists(localeFolder + "/" + language.code + "/LC_MESSAGES/brikka.mo"))
          << language.code << ": no catalogue built";
    }
    codes.push_back(language.code);
  }
  return codes;
}

// Inside its room, and shrunk no further than to least of the size it is drawn at.
void expectReadable(const CaptionFit& fit, const std::string& where, double least = readableFit) {
  EXPECT_GE(fit.drawn.x, fit.room.x) << where << fit.caption;
  EXPECT_LE(fit.drawn.x + fit.drawn.w, fit.room.x + fit.room.w) << where << fit.caption;
  EXPECT_GE(fit.drawn.x, 0) << where << fit.caption; // and the window's edges cut nothing
  EXPECT_LE(fit.drawn.x + fit.drawn.w, windowWidth) << where << fit.caption;
  EXPECT_GE(fit.factor, least) << where << fit.caption;
}

// A panel over a finished game, as drawn: each line at least readableFit of its size.
void expectPanelReadable(const std::string& where, const std::vector<std::string>& lines,
                         void (*draw)(), size_t largeLines = 1) {
  recordDrawnAreas(true);
  draw();
  std::vector<SDL_Rect> areas = drawnAreas;
  recordDrawnAreas(false);
  ASSERT_GE(areas.size(), lines.size()) << where;
  for (size_t k = 0; k < lines.size(); ++k) {
    int natural = 0;
    TTF_SizeUTF8(k < largeLines ? fontLarge : fontMedium, lines[k].c_str(), &natural, nullptr);
    const SDL_Rect& drawn = areas[areas.size() - lines.size() + k];
    EXPECT_GE(drawn.w, readableFit * natural) << where << lines[k];
  }
}

void expectBannerReadable(const std::string& where) {
  expectPanelReadable(where, gameOverTexts(), drawGameOverBanner);
}

class Languages : public Scenario {
protected:
  void SetUp() override {
    Scenario::SetUp();
    ASSERT_EQ(TTF_Init(), 0);
    fontSmall = TTF_OpenFont(BRIKKA_FONT_FILE, 24);
    fontMedium = TTF_OpenFont(BRIKKA_FONT_FILE, 36);
    fontLarge = TTF_OpenFont(BRIKKA_FONT_FILE, 48);
    ASSERT_NE(fontLarge, nullptr);
    bindLanguageFolder(localeFolder);
  }
  void TearDown() override {
    applyLanguage("en");
    for (TTF_Font** font : {&fontSmall, &fontMedium, &fontLarge}) {
      TTF_CloseFont(*font);
      *font = nullptr;
    }
    TTF_Quit();
    Scenario::TearDown();
  }
  // A software renderer drawing at 1500 x 1000 onto a surface of the given size, as the game's
  // window does whatever its size.
  void useCanvas(int width, int height) {
    if (renderer) SDL_DestroyRenderer(renderer);
    if (surface) SDL_FreeSurface(surface);
    surface = SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888);
    renderer = SDL_CreateSoftwareRenderer(surface);
    ASSERT_NE(renderer, nullptr);
    SDL_RenderSetLogicalSize(renderer, windowWidth, windowHeight);
  }
  void freeCanvas() {
    SDL_DestroyRenderer(renderer);
    renderer = nullptr;
    SDL_FreeSurface(surface);
    surface = nullptr;
  }
  SDL_Surface* surface = nullptr;
};

TEST_F(Languages, TheSettingThenTheSystemThenLangThenEnglishChooseTheLanguage) {
  EXPECT_EQ(chooseLanguage("pl", {"de_DE"}, "fr_FR.UTF-8"), "pl");
  EXPECT_EQ(chooseLanguage("", {"de_DE", "fr"}, "ru_RU.UTF-8"), "de");
  EXPECT_EQ(chooseLanguage("", {"ja_JP", "fr-CA"}, ""), "fr"); // the first the game speaks
  EXPECT_EQ(chooseLanguage("", {"pt_PT"}, ""), "pt_BR");       // the one Portuguese shipped
  EXPECT_EQ(chooseLanguage("", {"en_GB", "de"}, ""), "en");    // English is a choice too
  EXPECT_EQ(chooseLanguage("", {}, "ru_RU.UTF-8"), "ru");
  EXPECT_EQ(chooseLanguage("", {"ja"}, "C.UTF-8"), "en");
  EXPECT_EQ(chooseLanguage("klingon", {}, "es_ES@euro"), "es"); // an unknown setting is ignored
  // ...and from the preferences file it costs one line and follows the system.
  languageSetting = "klingon";
  EXPECT_EQ(lineCount(errorsOf([] { applyLanguageSetting(); })), 1);
  EXPECT_EQ(languageSetting, "");
}

TEST_F(Languages, TheLanguageScreenShowsAndKeepsTheChoiceAndAutomaticForgetsIt) {
  applyLanguage("en");
  const Button& door = screenButtons[mainMenuScreen].back();
  EXPECT_EQ(door.text, "Language");
  EXPECT_EQ(door.position.x, 1270);
  clickOn(door);
  ASSERT_EQ(currentScreen, languageScreen);
  clickOn(screenButtons[languageScreen][3]); // the third language: French
  EXPECT_EQ(languageShown, "fr");
  EXPECT_NE(readFile("Storage/preferences.txt").find("language = fr\n"), std::string::npos);
  frame(0, 0);
  EXPECT_TRUE(screenButtons[languageScreen][3].hovered); // the choice stays lit
  clickOn(screenButtons[languageScreen][0]);             // Automatic
  EXPECT_NE(readFile("Storage/preferences.txt").find("language = \n"), std::string::npos);
  EXPECT_EQ(languageSetting, "");
  clickOn(screenButtons[languageScreen].back());
  EXPECT_EQ(currentScreen, mainMenuScreen);
}

TEST_F(Languages, EveryCaptionFitsItsRoomReadablyInEveryLanguageAtAnyWindowSize) {
  // Every menu screen with the settings' words all on, then all off (the longer may be either),
  // at the largest window and a tiny one; then play's buttons and banners.
  for (const std::string& code : languagesBuilt()) {
    applyLanguage(code);
    gameMode = menuMode; // the last language's banners left a finished game
    for (int32_t step : {uiScaleSteps - 1, 0}) {
      uiScaleStep = step; // the menus at 150 % and at 100 %
      ASSERT_TRUE(openMenuFonts(BRIKKA_FONT_FILE));
      relayOutMenus();
      for (bool on : {false, true}) {
        fullscreenOn = pauseOnFocusLoss = soundMuted = vsyncOn = pieceSymbolsOn = reduceMotion = on;
        palette = on ? highContrastPalette : okabeItoPalette;
        portMappingWanted = on;
        p1Handling.kind = p2Handling.kind = on ? customHandling : classicHandling;
        for (int32_t screen = 0; screen < screenCount; ++screen) {
          currentScreen = screen;
          frame(0, 0); // the screen writes its words (On, Off, Custom…)
          CaptionFit longest{};
          for (const CaptionFit& fit : captionFits(screen))
            if (fit.natural * longest.room.w >= longest.natural * fit.room.w) longest = fit;
          // For the translators: each screen's tightest caption.
          if (on && longest.room.w > 0)
            std::printf("%s at %d %%, screen %2d: \"%s\" %d of %d pixels, drawn at %.2f\n",
                        code.c_str(), uiScalePercent(), screen, longest.caption.c_str(),
                        longest.natural, longest.room.w, longest.factor);
          for (SDL_Point size : {SDL_Point{1500, 1000}, SDL_Point{150, 100}}) {
            useCanvas(size.x, size.y);
            std::vector<CaptionFit> fits = captionFits(screen);
            // Sliders' labels come last; their room stays as at 100 %, so a grown label may
            // shrink back, but never below readable at its size at 100 %.
            size_t buttons = fits.size() - screenSliders[screen].size();
            for (size_t k = 0; k < fits.size(); ++k)
              expectReadable(fits[k],
                             code + " at " + std::to_string(uiScalePercent()) + " %, screen " +
                                 std::to_string(screen) + ", " + std::to_string(size.x) + " wide: ",
                             k < buttons ? readableFit : readableFit * 100 / uiScalePercent());
          }
        }
      }
    }
    // Play's own buttons, and the banners over a finished game.
    useCanvas(1500, 1000);
    for (const Button* button :
         {&backButton, &visualizationButton, &resumeButton, &quitToMenuButton, &rematchButton})
      expectReadable(captionFit(*button, fontForSize(button->textSize)), code + ", in play: ");
    matchOver = true;
    for (int32_t mode : {playerVersusMode, versusBotMode})
      for (bool firstWon : {true, false}) {
        gameMode = mode;
        p2Losses = firstWon ? 3 : 1;
        p1Losses = firstWon ? 1 : 3;
        expectBannerReadable(code + ", versus banner: ");
      }
    // The online result with its longest reasons, the broken rule's name included.
    gameMode = onlineVersusMode;
    onlineResult = OnlineResult::brokeRulesGuest;
    for (bool host : {true, false})
      for (const char* reason :
           {"The opponent found that your game broke the rules", "Opponent's game broke the rules",
            "The other side said nothing: connection closed"})
        for (Foul foul : {Foul::none, Foul::boardDiffers, Foul::falseEnd}) {
          onlineIsHost = host;
          onlineReason = reason;
          foulFound = onlineReason.find("rules") != std::string::npos ? foul : Foul::none;
          expectPanelReadable(code + ", online result: ", onlineResultTexts(), drawOnlineResult,
                              onlineOutcomeLines());
        }
    onlineReason.clear();
    foulFound = Foul::none;
    onlineResult = OnlineResult::undecided;
    gameMode = soloPlayMode;
    // The solo figures' last line, keys per piece, unshrunk and clear of the box's sides.
    finesseCounts[0].placements = 20;
    finesseCounts[0].keyPresses = 69;
    recordDrawnAreas(true);
    drawPlayFigures();
    std::vector<SDL_Rect> areas = drawnAreas;
    recordDrawnAreas(false);
    int natural = 0;
    TTF_SizeUTF8(fontSmall, trf("Keys/piece %s", "3.45").c_str(), &natural, nullptr);
    ASSERT_GE(areas.size(), 2u);
    EXPECT_EQ(areas.back().w, natural) << code << ", solo figures";
    EXPECT_GE(areas.back().x, areas.front().x + 5) << code << ", solo figures";
    EXPECT_LE(areas.back().x + areas.back().w, areas.front().x + areas.front().w - 5)
        << code << ", solo figures";
    finesseCounts[0] = {};
    newHighscore = true;
    expectBannerReadable(code + ", solo banner: ");
    matchOver = newHighscore = false;
  }
  freeCanvas();
  gameMode = currentScreen = 0;
}

TEST_F(Languages, EnglishDrawsExactlyAsWithoutCataloguesAndOtherLanguagesTranslate) {
  useCanvas(1500, 1000);
  auto drawSettings = [this] {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    for (const Button& button : screenButtons[settingsScreen]) drawButton(button);
    for (const Slider& slider : screenSliders[settingsScreen]) drawSlider(slider);
    SDL_RenderFlush(renderer);
    return std::string(static_cast<const char*>(surface->pixels),
                       static_cast<size_t>(surface->pitch) * surface->h);
  };
  // No catalogue found at all: the message ids themselves.
  bindLanguageFolder("/nonexistent");
  applyLanguage("de");
  std::string plain = drawSettings();
  bindLanguageFolder(localeFolder);
  applyLanguage("en");
  EXPECT_EQ(drawSettings(), plain);
  EXPECT_EQ(buttonCaption(screenButtons[mainMenuScreen][0]), "Solo Play");
  EXPECT_EQ(sliderCaption(screenSliders[settingsScreen][1]), "Player 1 Sensitivity : 0.10");
  EXPECT_EQ(trf("Best: %s", "1:02.50"), "Best: 1:02.50");
  for (const std::string& code : languagesBuilt()) {
    if (code == "en") continue;
    applyLanguage(code);
    EXPECT_NE(buttonCaption(screenButtons[mainMenuScreen][0]), "Solo Play") << code;
    // A pad's buttons: the words translated, what is printed on the pad as printed.
    EXPECT_NE(padButtonName(SDL_CONTROLLER_BUTTON_DPAD_UP), "D-pad Up") << code;
    EXPECT_EQ(padButtonName(SDL_CONTROLLER_BUTTON_START), "Start") << code;
    EXPECT_NE(drawSettings(), plain) << code;
    // The online layer's English texts, a filled-in part and all.
    EXPECT_EQ(onlineText("No answer from 10.0.0.2 in 10 s"),
              trf("No answer from %s in 10 s", "10.0.0.2"))
        << code;
    EXPECT_EQ(onlineText("Connecting…"), tr("Connecting…")) << code;
    EXPECT_EQ(onlineText("Choose a port from 1 to 65535"), tr("Choose a port from 1 to 65535"))
        << code;
    // The libraries' messages, which our log lines quote, stay English.
    EXPECT_STREQ(std::strerror(ENOENT), "No such file or directory") << code;
  }
  freeCanvas();
}

} // namespace
