// The one way files are read: what is not a plain file of a sensible size is refused at once,
// with one line naming it; and what killed writes leave behind is cleared on the next start.
#include "folders.h"
#include "game/game.h"

#include <sys/stat.h>

namespace fs = std::filesystem;
using ReadFileLimited = TempFolder;

TEST_F(ReadFileLimited, RefusesWhatIsNotASensiblePlainFileWithoutBlocking) {
  fs::create_directories(folder / "folder");
  const std::string fifo = (folder / "fifo").string(), loop = (folder / "loop").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0); // no writer: a blocking open would wait forever
  fs::create_symlink(loop, loop);
  fs::create_symlink("/dev/zero", folder / "zero");
  std::ofstream(folder / "big") << std::string(2001, 'x');
  std::ofstream(folder / "fine") << "7\n4";
  std::ofstream(folder / "locked") << "1";
  fs::permissions(folder / "locked", fs::perms::none);

  auto reason = [&](const std::string& name) {
    std::string text = "untouched", error;
    bool read = readFileLimited((folder / name).string(), 2000, &text, &error);
    EXPECT_FALSE(read) << name;
    EXPECT_EQ(text, "untouched") << name;
    EXPECT_EQ(error.find((folder / name).string() + ": "), 0u) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    return error.substr((folder / name).string().size() + 2);
  };
  EXPECT_EQ(reason("fifo"), "is not a regular file");
  EXPECT_EQ(reason("folder"), "is a folder, not a file");
  EXPECT_EQ(reason("zero"), "is not a regular file");
  EXPECT_EQ(reason("loop"), "Too many levels of symbolic links");
  EXPECT_EQ(reason("big"), "is larger than 2000 bytes, too large for this kind of file");
  EXPECT_EQ(reason("none"), "missing");
  EXPECT_EQ(errno, ENOENT);
  if (geteuid() != 0) { // root reads anything
    EXPECT_EQ(reason("locked"), "Permission denied");
  }

  std::string text;
  EXPECT_TRUE(readFileLimited((folder / "fine").string(), 3, &text)); // exactly at the limit
  EXPECT_EQ(text, "7\n4");
}

TEST_F(ReadFileLimited, StartUpRemovesOnlyStaleTemporaryFiles) {
  const std::string prefix = temporaryFilePrefix;
  for (const std::string& name : {prefix + "controls.txt.old", prefix + "controls.txt.new",
                                  std::string("controls.txt"), std::string("notes.txt.old")})
    std::ofstream(folder / name) << "x";
  // Two hours ago: what a write killed long ago left. A young one may be a live writer's.
  for (const std::string& name : {prefix + "controls.txt.old", std::string("notes.txt.old")})
    fs::last_write_time(folder / name, fs::file_time_type::clock::now() - std::chrono::hours(2));

  EXPECT_EQ(removeStaleTemporaryFiles(folder.string()), 1);
  EXPECT_FALSE(fs::exists(folder / (prefix + "controls.txt.old")));
  for (const std::string& name :
       {prefix + "controls.txt.new", std::string("controls.txt"), std::string("notes.txt.old")})
    EXPECT_TRUE(fs::exists(folder / name)) << name;
  // A whole write leaves no temporary file behind.
  ASSERT_TRUE(writeFileAtomically((folder / "sens.txt").string(), "0.1\n"));
  EXPECT_EQ(filesIn(folder), 5); // with the empty Storage/
}
