// Install and uninstall against a store that cannot take their writes: one mounted
// read-only, and one on a full file system. Both end with -1 and one line that says
// why, and the store keeps exactly what it held before.
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "CaseName.h"
#include "ProgramFixture.h"

namespace orvanel::test {
namespace {

// A catalogue large enough that its registration cannot fit the small file system.
std::string LargeCatalogue() {
  std::string text = "extensions\r\n";
  for (int i = 0; i < 5000; ++i) text += "fault" + std::to_string(i) + "\r\n";
  return text;
}

enum class Fault { ReadOnly, Full };

struct FaultCase {
  const char* name;
  Fault fault;
  const char* mode;
  const char* line;  // the one line after "orvanel: "; empty: the store's own line
};

class StoreFaultProcessTest : public ProgramFixture, public testing::WithParamInterface<FaultCase> {
 protected:
  void SetUp() override {
    if (!RunsAsRoot()) GTEST_SKIP() << "needs root: mounts a file system for the store";
    CreateDataFolder();
    mkdir((dir_ / "store").c_str(), 0755);
  }

  // Every mount is undone, the top one first, so the folder can be removed.
  void TearDown() override {
    for (; mounts_ > 0; --mounts_) umount2((dir_ / "store").c_str(), MNT_DETACH);
  }

  void Mount(const char* type, const char* source, unsigned long flags, const char* options) {
    if (mount(source, (dir_ / "store").c_str(), type, flags, options) != 0) {
      // Root in a container may lack the right to mount: say so rather than pass.
      if (errno == EPERM) GTEST_SKIP() << "needs the right to mount file systems (CAP_SYS_ADMIN)";
      FAIL() << "mount " << (type ? type : "bind") << ": " << std::strerror(errno);
    }
    ++mounts_;
  }

  // The store, with a first install, on a file system of its own.
  void InstallOnSmallFileSystem(const char* size) {
    Mount("tmpfs", "tmpfs", 0, size);
    if (HasFatalFailure() || IsSkipped()) return;
    WriteFile(DataFolder() + "/extensions.txt", "extensions\r\nfirst\r\nsecond\r\n");
    const RunResult first = RunOrvanel({"-i"});
    ASSERT_EQ(first.exitCode, 0) << first.err;
  }

  void MakeReadOnly() {
    Mount(nullptr, (dir_ / "store").c_str(), MS_BIND, nullptr);
    if (HasFatalFailure() || IsSkipped()) return;
    Mount(nullptr, (dir_ / "store").c_str(), MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr);
  }

  // Fills the file system until nothing more fits.
  void FillUp() {
    std::FILE* file = std::fopen((dir_ / "store/filler").c_str(), "wb");
    ASSERT_NE(file, nullptr);
    const std::string block(4096, 'x');
    while (std::fwrite(block.data(), 1, block.size(), file) == block.size()) {
    }
    std::fclose(file);
  }

  std::string Export() { return RunProgram("orvanel-reg", {"export"}).out; }

  int mounts_ = 0;
};

TEST_P(StoreFaultProcessTest, EndsWithMinusOneAndOneLineAndLeavesTheStoreAsItWas) {
  const FaultCase& c = GetParam();
  InstallOnSmallFileSystem("size=2m");
  if (HasFatalFailure() || IsSkipped()) return;
  WriteFile(DataFolder() + "/extensions.txt", LargeCatalogue());
  const std::string before = Export();
  ASSERT_NE(before.find("[HKEY_CLASSES_ROOT\\.first]"), std::string::npos);
  if (c.fault == Fault::ReadOnly) MakeReadOnly();
  if (c.fault == Fault::Full) FillUp();
  if (HasFatalFailure() || IsSkipped()) return;

  const RunResult run = RunOrvanel({c.mode});

  EXPECT_EQ(run.exitCode, 255);
  const std::vector<std::string> lines = LinesBesidesFailedSiteRequests(run.err);
  ASSERT_EQ(lines.size(), 1u) << run.err;
  if (*c.line) {
    EXPECT_EQ(lines[0], std::string("orvanel: ") + c.line);
  } else {
    const std::string store = "orvanel: registry store " + StorePath() + ": ";
    EXPECT_EQ(lines[0].rfind(store, 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("database or disk is full"), std::string::npos) << lines[0];
  }
  EXPECT_EQ(Export(), before);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StoreFaultProcessTest,
    testing::Values(
        FaultCase{"ReadOnlyInstall", Fault::ReadOnly, "-i",
                  "install failed: the registry cannot be written (access denied)"},
        FaultCase{"ReadOnlyUninstall", Fault::ReadOnly, "-r",
                  "uninstall failed: the registry cannot be written (access denied)"},
        FaultCase{"FullInstall", Fault::Full, "-i", ""},
        FaultCase{"FullUninstall", Fault::Full, "-r", ""}),
    CaseName());

}  // namespace
}  // namespace orvanel::test
