#include <gtest/gtest.h>

#include <sys/stat.h>

#include "CaseName.h"
#include "ProgramFixture.h"
#include "platform/Registry.h"

namespace orvanel::test {
namespace {

namespace registry = platform::registry;

class DispatchTest : public ProgramFixture {
 protected:
  void CreateClassKey() {
    registry::Key key;
    ASSERT_EQ(registry::CreateKey(u"Orvanel", key), registry::Status::Ok);
  }
};

TEST_F(DispatchTest, NoArgumentDoesNothingAndFails) {
  const RunResult result = RunOrvanel({});
  EXPECT_EQ(result.exitCode, 255);
  EXPECT_EQ(result.out, "");
  EXPECT_EQ(result.err, "");
  EXPECT_FALSE(FileExists(StorePath()));
  EXPECT_FALSE(FileExists(DataFolder()));
}

TEST_F(DispatchTest, FrontendSettingThatNamesNoFrontendIsRefusedBeforeAnythingIsDone) {
  RunOptions options;
  options.env["ORVANEL_FRONTEND"] = "curses";
  const RunResult result = RunOrvanel({"-t=off"}, options);
  EXPECT_EQ(result.exitCode, 255);
  EXPECT_EQ(result.err, "orvanel: ORVANEL_FRONTEND=\"curses\" names no frontend (known: terminal, gtk)\n");
  EXPECT_FALSE(FileExists(StorePath()));
  EXPECT_FALSE(FileExists(DataFolder()));
}

TEST_F(DispatchTest, EmptyFrontendSettingChoosesTheBestAvailable) {
  if (!RunsAsRoot()) GTEST_SKIP() << "needs root: the tracking switch writes the flag only as root";
  RunOptions options;
  options.env["ORVANEL_FRONTEND"] = "";
  options.unsetEnv = {"DISPLAY", "WAYLAND_DISPLAY"};
  CreateClassKey();
  const RunResult result = RunOrvanel({"-t=off"}, options);
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "Orvanel: Tracking has been turned off\n");
}

struct SwitchCase {
  const char* name;
  const char* switchText;
  bool classKeyExists;
  const char* message;
  int exitCode;
  const char16_t* storedFlag;  // null: nothing stored
};

class TrackingSwitchTest : public DispatchTest, public testing::WithParamInterface<SwitchCase> {};

TEST_P(TrackingSwitchTest, WritesTheFlagIntoAnExistingClassKeyOnly) {
  if (!RunsAsRoot()) GTEST_SKIP() << "needs root: the tracking switch writes the flag only as root";
  const SwitchCase& c = GetParam();
  if (c.classKeyExists) CreateClassKey();

  const RunResult result = RunOrvanel({c.switchText});

  EXPECT_EQ(result.exitCode, c.exitCode);
  EXPECT_EQ(result.err, std::string(c.message) + "\n");
  registry::Key key;
  const registry::Status opened = registry::OpenKey(u"Orvanel", registry::Access::Read, key);
  if (!c.classKeyExists) {
    EXPECT_EQ(opened, registry::Status::NotFound) << "the class key must never be created";
    return;
  }
  ASSERT_EQ(opened, registry::Status::Ok);
  char16_t buffer[8] = {};
  uint32_t size = sizeof buffer;
  registry::Type type = registry::Type::None;
  ASSERT_EQ(registry::QueryValue(key, u"private", buffer, size, &type), registry::Status::Ok);
  EXPECT_EQ(type, registry::Type::Sz);
  EXPECT_EQ(size, 4u);
  EXPECT_EQ(Text(buffer), Text(c.storedFlag));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrackingSwitchTest,
    testing::Values(
        SwitchCase{"offDone", "-t=off", true, "Orvanel: Tracking has been turned off", 0, u"1"},
        SwitchCase{"onDone", "-t=on", true, "Orvanel: Tracking has been turned on", 0, u"0"},
        SwitchCase{"offWithoutClass", "-t=off", false, "Orvanel: Error while turning tracking off",
                   255, nullptr},
        SwitchCase{"onWithoutClass", "-t=on", false,
                   "Orvanel: Failed to turn on tracking.\n\nWas it turned off?", 255, nullptr}),
    CaseName());

struct RelaunchCase {
  const char* name;
  std::vector<std::string> arguments;
  const char* relaunchedWith;
};

class RelaunchTest : public DispatchTest, public testing::WithParamInterface<RelaunchCase> {};

TEST_P(RelaunchTest, WithoutAdministratorRightsHandsTheSwitchToAnElevatedCopy) {
  if (!RunsAsRoot()) GTEST_SKIP() << "needs root: to run orvanel as another user";
  const RelaunchCase& c = GetParam();
  RunOptions options;
  options.runAsUser = kNobody;

  const RunResult result = RunOrvanel(c.arguments, options);

  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(result.err, "");
  const auto calls = Calls("pkexec");
  ASSERT_EQ(calls.size(), 1u);
  const std::string& call = calls[0];
  const std::string tail = ProgramPath("orvanel") + " " + c.relaunchedWith;
  EXPECT_EQ(call.substr(call.size() - std::min(call.size(), tail.size())), tail) << call;
  // The copy sees the same store and this user's data folder.
  EXPECT_NE(call.find("ORVANEL_REGISTRY=" + StorePath()), std::string::npos) << call;
  EXPECT_NE(call.find("XDG_DATA_HOME=" + DataHome()), std::string::npos) << call;
  // Nothing is written by the instance that only relaunched itself.
  EXPECT_FALSE(FileExists(StorePath()));
  EXPECT_FALSE(FileExists(DataFolder()));
  EXPECT_EQ(Calls("pkexec", 2, kStrayCallWait).size(), 1u) << "the copy is started exactly once";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RelaunchTest,
    testing::Values(RelaunchCase{"trackingOff", {"-t=off"}, "-t=off"},
                    RelaunchCase{"trackingOn", {"-t=on"}, "-t=on"},
                    RelaunchCase{"install", {"-i"}, "-i"}, RelaunchCase{"uninstall", {"-r"}, "-r"},
                    RelaunchCase{"onlyTheFirstArgumentCounts", {"-i", "extra"}, "-i"}),
    CaseName());

// An elevated copy works for the user who asked: what it creates in that user's data
// folder stays theirs.
TEST_F(DispatchTest, ElevatedCopyLeavesTheDataFolderToTheInvokingUser) {
  if (!RunsAsRoot()) GTEST_SKIP() << "needs root: an elevated copy runs as root";
  RunOptions options;
  options.env["PKEXEC_UID"] = std::to_string(kNobody);

  const RunResult result = RunOrvanel({"-i"}, options);

  EXPECT_EQ(result.exitCode, 0) << result.err;
  struct stat info {};
  ASSERT_EQ(stat(DataFolder().c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, kNobody);
}

struct ArgumentCase {
  const char* name;
  std::vector<std::string> arguments;
};

class FileModeArgumentTest : public DispatchTest,
                             public testing::WithParamInterface<ArgumentCase> {};

// Switches match exactly: a different case, dash or a trailing blank makes a file path,
// and only the first argument is looked at.
TEST_P(FileModeArgumentTest, AnythingButAnExactSwitchIsAFileToPromptFor) {
  if (!RunsAsRoot()) GTEST_SKIP() << "needs root: to run orvanel as another user";
  RunOptions options;
  options.runAsUser = kNobody;
  const std::string& argument = GetParam().arguments[0];
  const std::string fileName = argument.substr(argument.find_last_of('/') + 1);

  const RunResult result = RunOrvanel(GetParam().arguments, options);

  EXPECT_EQ(result.exitCode, 0);
  EXPECT_NE(result.err.find("File: " + fileName + "\n"), std::string::npos) << result.err;
  EXPECT_TRUE(Calls("pkexec", 1, kStrayCallWait).empty());
  EXPECT_FALSE(FileExists(StorePath()));
}

INSTANTIATE_TEST_SUITE_P(Cases, FileModeArgumentTest,
                         testing::Values(ArgumentCase{"upperCaseInstall", {"-I"}},
                                         ArgumentCase{"upperCaseTrackingOff", {"-T=OFF"}},
                                         ArgumentCase{"slashInsteadOfDash", {"/i"}},
                                         ArgumentCase{"trailingBlank", {"-i "}},
                                         ArgumentCase{"switchAfterAFile", {"report.xyz", "-i"}}),
                         CaseName());

}  // namespace
}  // namespace orvanel::test
