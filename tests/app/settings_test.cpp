// The settings files as a player meets them: exact bytes on disk, numbers read back the way
// they were written, broken files replaced by defaults, and no half-written file ever.
#include "app/app.h"
#include "tempstorage.h"

#include <csignal>
#include <sys/resource.h>

namespace {

const std::string defaultControlsText = "7\n4\n26\n27\n22\n8\n20\n79\n80\n82\n44\n81\n229\n56\n";
const std::vector<int32_t> defaultBindings(defaultControls, defaultControls + controlCount);

class Settings : public TempStorage {
protected:
  void SetUp() override {
    TempStorage::SetUp();
    screenButtons.assign(5, {});
    screenButtons[3].resize(17);
    controls.clear();
    highscore = 0;
    p1Sensitivity = p2Sensitivity = 0.1;
  }
  void TearDown() override {
    screenButtons.clear();
    TempStorage::TearDown();
  }
  // Reads the controls at start-up and returns what went to standard error.
  std::string readControlsAtStartUp() {
    testing::internal::CaptureStderr();
    controls.clear();
    readControls(true);
    return testing::internal::GetCapturedStderr();
  }
  std::string readSensitivitiesCapturingErrors() {
    testing::internal::CaptureStderr();
    readSensitivities();
    return testing::internal::GetCapturedStderr();
  }
  std::vector<std::string> filesInStorage() {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder / "Storage")) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }
};

TEST_F(Settings, WritersProduceExactlyTheDocumentedBytes) {
  p1Sensitivity = 0.5;
  p2Sensitivity = 0.14;
  EXPECT_TRUE(writeSensitivities());
  EXPECT_EQ(readFile(sensitivityPath), "0.500000\n0.140000\n");

  controls = defaultBindings;
  controls[12] = 300;
  EXPECT_TRUE(writeControls());
  std::string expected = defaultControlsText;
  expected.replace(expected.find("229"), 3, "300");
  EXPECT_EQ(readFile(controlsPath), expected);

  highscore = 1500;
  writeFile(highscorePath, "123456\n");
  EXPECT_TRUE(writeHighscore());
  EXPECT_EQ(readFile(highscorePath), "1500"); // no line feed, nothing left of the longer old file
  EXPECT_EQ(filesInStorage().size(), 3u);     // no temporary file stays behind
}

TEST_F(Settings, ReadersTakeTheLeadingNumberOfEachLineAndLabelTheControlButtons) {
  writeFile(controlsPath, "7 \r\n 4\r\n26abc\n27\n22\n8\n20\n79\n80\n82\n44\n81\n229\n56\n");
  EXPECT_EQ(readControlsAtStartUp(), "");
  EXPECT_EQ(controls, defaultBindings);
  EXPECT_EQ(screenButtons[3][0].valueText, "D");
  EXPECT_EQ(screenButtons[3][2].valueText, "W");
  EXPECT_EQ(screenButtons[3][7].valueText, "RIGHT ARROW");
  EXPECT_EQ(screenButtons[3][13].valueText, "RSLASH");
  EXPECT_EQ(screenButtons[3][14].valueText, ""); // "Back" is not a control

  writeFile(sensitivityPath, "0.25 fast\r\n1.5\n");
  EXPECT_EQ(readSensitivitiesCapturingErrors(), "");
  EXPECT_DOUBLE_EQ(p1Sensitivity, 0.25);
  EXPECT_DOUBLE_EQ(p2Sensitivity, 1.5);

  readHighscore(); // missing: stays 0
  EXPECT_EQ(highscore, 0);
  writeFile(highscorePath, "");
  readHighscore();
  EXPECT_EQ(highscore, 0);
  for (const char* text : {"1200", "1200\n", "  1200  ", "1200 300"}) {
    highscore = 0;
    writeFile(highscorePath, text);
    readHighscore();
    EXPECT_EQ(highscore, 1200) << "file holding \"" << text << "\"";
  }
}

TEST_F(Settings, RelabellingAfterResetKeepsTheBindingsInMemory) {
  controls = defaultBindings;
  controls[0] = 4;
  writeFile(controlsPath, defaultControlsText);
  readControls(false);
  EXPECT_EQ(controls[0], 4);
  EXPECT_EQ(screenButtons[3][0].valueText, "D");
  EXPECT_EQ(screenButtons[3][1].valueText, "A");
}

TEST_F(Settings, BrokenControlsFileGivesTheDefaultsAndIsWrittenAnew) {
  std::string thirteen = defaultControlsText.substr(0, defaultControlsText.rfind("56\n"));
  std::string lettersOnLine3 = defaultControlsText;
  lettersOnLine3.replace(lettersOnLine3.find("26"), 2, "W");
  std::string tooHigh = defaultControlsText;
  tooHigh.replace(tooHigh.find("229"), 3, "322");
  std::string negative = defaultControlsText;
  negative.replace(0, 1, "-1");
  std::string huge = defaultControlsText;
  huge.replace(0, 1, "99999999999");
  const std::vector<std::string> broken = {
      "", thirteen, defaultControlsText + "7\n", lettersOnLine3, tooHigh, negative, huge};
  for (const std::string& text : broken) {
    writeFile(controlsPath, text);
    std::string errors = readControlsAtStartUp();
    EXPECT_EQ(controls, defaultBindings) << "file:\n" << text;
    EXPECT_EQ(readFile(controlsPath), defaultControlsText);
    EXPECT_NE(errors.find(controlsPath), std::string::npos) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
    EXPECT_EQ(screenButtons[3][12].valueText, "RSHIFT");
  }

  std::filesystem::remove(controlsPath);
  EXPECT_NE(readControlsAtStartUp().find("missing"), std::string::npos);
  EXPECT_EQ(controls, defaultBindings);
  EXPECT_EQ(readFile(controlsPath), defaultControlsText);
}

TEST_F(Settings, BrokenSensitivityFileGivesTheDefaultsAndIsWrittenAnew) {
  for (const char* text :
       {"", "0.3\n", "fast\n0.2\n", "0.2\nnan\n", "inf\n0.2\n", "1e999\n0.2\n"}) {
    p1Sensitivity = p2Sensitivity = 0.7;
    writeFile(sensitivityPath, text);
    std::string errors = readSensitivitiesCapturingErrors();
    EXPECT_EQ(p1Sensitivity, 0.1) << "file: " << text;
    EXPECT_EQ(p2Sensitivity, 0.1) << "file: " << text;
    EXPECT_EQ(readFile(sensitivityPath), "0.100000\n0.100000\n");
    EXPECT_NE(errors.find(sensitivityPath), std::string::npos) << errors;
  }
  std::filesystem::remove(sensitivityPath);
  readSensitivitiesCapturingErrors();
  EXPECT_EQ(readFile(sensitivityPath), "0.100000\n0.100000\n");
}

TEST_F(Settings, NonNumericHighscoreCountsAsNoHighscore) {
  writeFile(highscorePath, "champion");
  testing::internal::CaptureStderr();
  readHighscore();
  std::string errors = testing::internal::GetCapturedStderr();
  EXPECT_EQ(highscore, 0);
  EXPECT_NE(errors.find(highscorePath), std::string::npos);
}

TEST_F(Settings, FailedWriteLeavesTheOldFileWhole) {
  writeFile(highscorePath, "1200");
  highscore = 987654321;

  // A disk that fills up after two bytes: the write of the new score fails half-way.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit tiny = saved;
  tiny.rlim_cur = 2;
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
  bool written = writeHighscore();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);

  EXPECT_FALSE(written);
  EXPECT_EQ(readFile(highscorePath), "1200");
  EXPECT_EQ(filesInStorage(), std::vector<std::string>{"highscore.txt"});

  // A folder that cannot take the file at all: nothing is written, nothing reported as done.
  std::filesystem::remove_all(folder / "Storage");
  EXPECT_FALSE(writeControls());
  EXPECT_FALSE(std::filesystem::exists(folder / "Storage"));
}

} // namespace
