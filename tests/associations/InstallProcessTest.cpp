// The install ("-i") and uninstall ("-r") modes as whole processes, against a store
// prepared from a .reg fixture, read back with orvanel-reg export.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "ProgramFixture.h"

namespace orvanel::test {
namespace {

const std::string kFixtures = ORVANEL_ASSOCIATIONS_FIXTURES;
const char kFailureMessage[] = "Error: One or more unassociations failed\n";

std::string Fixture(const std::string& name) { return ReadFile(kFixtures + "/" + name); }

class InstallProcessTest : public ProgramFixture {
 protected:
  void SetUp() override {
    if (!RunsAsRoot())
      GTEST_SKIP() << "needs root: install and uninstall only start an elevated copy otherwise";
    CreateDataFolder();
  }

  void UseCatalogue(const std::string& fixture) {
    WriteFile(DataFolder() + "/extensions.txt", Fixture(fixture));
  }

  void Import(const std::string& fixture) {
    WriteFile(dir_ / fixture, Fixture(fixture));
    const RunResult result = RunProgram("orvanel-reg", {"import", dir_ / fixture});
    ASSERT_EQ(result.exitCode, 0) << result.err;
  }

  RunResult Orvanel(const std::string& mode) { return RunOrvanel({mode}); }

  std::string Export() {
    const RunResult result = RunProgram("orvanel-reg", {"export"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
  }

  // An expected export, with the path of the orvanel under test in its commands.
  static std::string Expected(const std::string& fixture) {
    std::string text = Fixture(fixture);
    char* resolved = realpath(ProgramPath("orvanel").c_str(), nullptr);
    const std::string module = resolved ? resolved : "";
    free(resolved);
    const std::string placeholder = "@MODULE@";
    for (size_t at; (at = text.find(placeholder)) != std::string::npos;) {
      text.replace(at, placeholder.size(), module);
    }
    return text;
  }
};

TEST_F(InstallProcessTest, InstallRegistersTheClassVerbAndCatalogueExactly) {
  Import("prepared.reg");
  UseCatalogue("extensions.txt");

  const RunResult install = Orvanel("-i");
  EXPECT_EQ(install.exitCode, 0) << install.err;
  EXPECT_EQ(Export(), Expected("installed.reg"));
}

TEST_F(InstallProcessTest, InstallingTwiceGivesTheSameStoreAsOnce) {
  Import("prepared.reg");
  UseCatalogue("extensions.txt");

  ASSERT_EQ(Orvanel("-i").exitCode, 0);
  const std::string once = Export();
  EXPECT_EQ(Orvanel("-i").exitCode, 0);
  EXPECT_EQ(Export(), once);
}

TEST_F(InstallProcessTest, UninstallLeavesEmptiedDefaultsAndOpenWithProgidsKeys) {
  Import("prepared.reg");
  UseCatalogue("extensions.txt");
  ASSERT_EQ(Orvanel("-i").exitCode, 0);

  const RunResult uninstall = Orvanel("-r");
  EXPECT_EQ(uninstall.exitCode, 0) << uninstall.err;
  EXPECT_EQ(uninstall.err.find(kFailureMessage), std::string::npos) << uninstall.err;
  EXPECT_EQ(Export(), Expected("uninstalled.reg"));

  // The second uninstall finds nothing more to do and says nothing.
  const RunResult again = Orvanel("-r");
  EXPECT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(again.err.find(kFailureMessage), std::string::npos) << again.err;
  EXPECT_EQ(Export(), Expected("uninstalled.reg"));
}

TEST_F(InstallProcessTest, InstallAfterUninstallTakesTheEmptiedExtensionsBack) {
  Import("prepared.reg");
  UseCatalogue("extensions.txt");
  ASSERT_EQ(Orvanel("-i").exitCode, 0);
  ASSERT_EQ(Orvanel("-r").exitCode, 0);

  EXPECT_EQ(Orvanel("-i").exitCode, 0);
  EXPECT_EQ(Export(), Expected("installed.reg"));
}

TEST_F(InstallProcessTest, MissingCatalogueStillInstallsTheClassAndTheVerb) {
  const RunResult install = Orvanel("-i");
  EXPECT_EQ(install.exitCode, 0) << install.err;
  EXPECT_EQ(Export(), Expected("classes-only.reg"));
}

TEST_F(InstallProcessTest, MissingCatalogueAtUninstallIsShownAndTheExtensionsStay) {
  Import("prepared.reg");
  UseCatalogue("extensions.txt");
  ASSERT_EQ(Orvanel("-i").exitCode, 0);
  const std::string installed = Export();
  unlink((DataFolder() + "/extensions.txt").c_str());

  const RunResult uninstall = Orvanel("-r");
  EXPECT_EQ(uninstall.exitCode, 0);
  EXPECT_NE(uninstall.err.find(kFailureMessage), std::string::npos) << uninstall.err;
  const std::string remains = Export();
  EXPECT_NE(remains.find("[HKEY_CLASSES_ROOT\\.new]\n@=\"Orvanel\"\n"), std::string::npos);
  EXPECT_EQ(remains.find("[HKEY_CLASSES_ROOT\\Orvanel\\DefaultIcon]"), std::string::npos);
  EXPECT_EQ(remains.find("[HKEY_CLASSES_ROOT\\*\\shell\\Open with"), std::string::npos);
  EXPECT_EQ(remains.find("[HKEY_CLASSES_ROOT\\Applications\\Orvanel]"), std::string::npos);
}

TEST_F(InstallProcessTest, InstallIntoAStoreThatCannotBeWrittenFails) {
  UseCatalogue("extensions.txt");
  mkdir((dir_ / "store").c_str(), 0755);
  mkdir(StorePath().c_str(), 0755);  // a folder where the store file should be

  const RunResult install = Orvanel("-i");
  EXPECT_EQ(install.exitCode, 255);
}

}  // namespace
}  // namespace orvanel::test
