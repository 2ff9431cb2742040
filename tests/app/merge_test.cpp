// Two games on one folder: each change of a binding or a sensitivity rewrites only its own
// entry of the file as it is now, so neither player's changes are lost to the other's.
#include "app/settings.h"
#include "scenario.h"

#include <sys/wait.h>

namespace {

using SharedFolder = Scenario;

// In another process, as another game on the same folder would: started from the same files,
// it rebinds player 2's Rotate CW key and moves player 2's slider, then quits.
void otherGame() {
  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    controls[2] = 30;
    bool saved = saveControl(2);
    p2Sensitivity = 0.7;
    saved = writeSensitivities() && saved;
    _exit(saved ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST_F(SharedFolder, EachGameChangesOnlyItsOwnEntries) {
  // The file as an editor may leave it: blank lines at the end, no line feed on the last.
  writeFile(controlsPath, "7\n4\n26\n27\n22\n8\n20\n79\n80\n82\n44\n81\n229\n56\n\n \n");
  writeFile(sensitivityPath, "0.200000\n0.300000");
  readControls(true);
  readSensitivities();
  EXPECT_EQ(controls[13], 56); // not replaced by the defaults
  EXPECT_EQ(p2Sensitivity, 0.3);

  otherGame();
  controls[9] = 17; // this game rebinds player 1's Rotate CW and moves player 1's slider
  ASSERT_TRUE(saveControl(9));
  p1Sensitivity = 1.5;
  ASSERT_TRUE(writeSensitivities());
  EXPECT_EQ(readFile(controlsPath), "7\n4\n30\n27\n22\n8\n20\n79\n80\n17\n44\n81\n229\n56\n");
  EXPECT_EQ(readFile(sensitivityPath), "1.500000\n0.700000\n");
}

} // namespace
