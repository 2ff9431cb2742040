// The settings files as a player meets them: exact bytes on disk, numbers read back the way
// they were written, broken files replaced by defaults, and no half-written file ever.
#include "app/settings.h"
#include "scenario.h"

#include <csignal>
#include <sys/resource.h>

namespace {

using Settings = Scenario;
const std::string defaultText = "7\n4\n26\n27\n22\n8\n20\n79\n80\n82\n44\n81\n229\n56\n";

TEST_F(Settings, WritersProduceExactBytesAndReadersTakeTheLeadingNumberOfEachLine) {
  p1Sensitivity = 0.5;
  p2Sensitivity = 0.14;
  EXPECT_TRUE(writeSensitivities());
  EXPECT_EQ(readFile(sensitivityPath), "0.500000\n0.140000\n");
  highscore = 1500;
  writeFile(highscorePath, "123456\n");
  EXPECT_TRUE(writeHighscore());
  EXPECT_EQ(readFile(highscorePath), "1500"); // no line feed, nothing left of the old text
  EXPECT_EQ(filesIn("Storage"), 2);           // and no temporary file

  writeFile(sensitivityPath, "0.25 fast\r\n1.5\n");
  EXPECT_EQ(errorsOf(readSensitivities), "");
  EXPECT_EQ(p1Sensitivity, 0.25);
  EXPECT_EQ(p2Sensitivity, 1.5);
  // Values beyond the sliders' range are held to it, so they survive the next write whole.
  writeFile(sensitivityPath, "1e200\n-3\n");
  readSensitivities();
  EXPECT_TRUE(writeSensitivities());
  EXPECT_EQ(readFile(sensitivityPath), "2.000000\n0.010000\n");
  for (const auto& [text, expected] :
       {std::pair{"", 0}, {"champion", 0}, {"  1200  ", 1200}, {"1200 300", 1200}}) {
    highscore = 0;
    writeFile(highscorePath, text);
    errorsOf(readHighscore);
    EXPECT_EQ(highscore, expected) << text;
  }
}

TEST_F(Settings, BrokenFilesGiveTheDefaultsOneErrorLineAndAFreshFile) {
  auto edited = [](const std::string& from, const std::string& to) {
    std::string text = defaultText;
    return text.replace(text.find(from), from.size(), to);
  };
  for (const std::string& text :
       {std::string("missing"), std::string(), edited("56\n", ""), defaultText + "7\n",
        edited("26", "W"), edited("229", "322"), edited("7\n4", "99999999999\n4")}) {
    writeFile(controlsPath, text);
    if (text == "missing") std::filesystem::remove(controlsPath);
    controls.clear();
    std::string errors = errorsOf([] { readControls(true); });
    EXPECT_EQ(controls, std::vector<int32_t>(defaultControls, defaultControls + 14)) << text;
    EXPECT_EQ(screenButtons[3][7].valueText, "RIGHT ARROW");
    EXPECT_EQ(readFile(controlsPath), defaultText);
    EXPECT_EQ(errors.find(controlsPath), 0u) << errors;
    EXPECT_EQ(std::count(errors.begin(), errors.end(), '\n'), 1) << errors;
  }
  for (const char* text : {"missing", "0.3\n", "fast\n0.2\n", "0.2\nnan\n", "1e999\n0.2"}) {
    writeFile(sensitivityPath, text);
    if (std::string(text) == "missing") std::filesystem::remove(sensitivityPath);
    p1Sensitivity = p2Sensitivity = 0.7;
    EXPECT_EQ(errorsOf(readSensitivities).find(sensitivityPath), 0u);
    EXPECT_EQ(p1Sensitivity, 0.1) << "file: " << text;
    EXPECT_EQ(p2Sensitivity, 0.1) << "file: " << text;
    EXPECT_EQ(readFile(sensitivityPath), "0.100000\n0.100000\n");
  }
}

TEST_F(Settings, FailedWriteLeavesTheOldFileWholeAndSaysWhy) {
  writeFile(highscorePath, "1200");
  highscore = 987654321;
  // A disk that fills up after two bytes: the new score cannot be written whole.
  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit tiny{2, saved.rlim_max};
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &tiny), 0);
  bool written = writeHighscore();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(readFile(highscorePath), "1200");
  EXPECT_EQ(filesIn("Storage"), 1);
  // Storage/ is not a folder at all: one line names the file and the reason.
  std::filesystem::remove_all("Storage");
  writeFile("Storage", "");
  EXPECT_EQ(errorsOf(writeSensitivities),
            "Brikka: could not save Storage/sens.txt: Not a directory\n");
}

} // namespace
