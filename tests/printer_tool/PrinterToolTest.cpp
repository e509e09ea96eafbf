// duvessa_printer run as the installer script runs it: a copy of the tool in a
// folder of its own, with one of the stand-in libraries beside it (or none), each
// recording into a file what it was asked.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace orvanel::test {
namespace {

namespace fs = std::filesystem;

const std::string kLoaded = "loaded\n";
const std::string kInstallCalls = "loaded\nIsInstalled(0)\nInstallPrinter(0)\n";
const std::string kCheckOnlyCalls = "loaded\nIsInstalled(0)\n";
const std::string kUninstallCalls = "loaded\nRemovePrinter(0)\n";
const std::string kUnknownParameterLine =
    "Duvessa: Unknown parameter passed to installer. Check NSIS script correctness.\n";

std::string FolderOf(const std::string& file) { return fs::path(file).parent_path().string(); }

class PrinterToolTest : public testing::Test {
 protected:
  PrinterToolTest() {
    fs::create_directories(ToolFolder());
    fs::copy_file(ProgramPath("duvessa_printer"), ToolPath());
  }

  std::string ToolFolder() const { return dir_ / "app"; }
  std::string ToolPath() const { return dir_ / "app/duvessa_printer"; }
  std::string LibraryBesideTool() const { return dir_ / "app/DuvessaInstall.dll"; }
  std::string CallsPath() const { return dir_ / "calls.txt"; }

  void PlaceLibrary(const std::string& library) {
    fs::remove(LibraryBesideTool());
    fs::create_symlink(library, LibraryBesideTool());
  }

  // Runs the tool with these arguments; `env` is set on top of a setting in which
  // nothing outside the test can supply a library or a frontend.
  RunResult RunTool(const std::vector<std::string>& arguments,
                    const std::map<std::string, std::string>& env = {}) {
    fs::remove(CallsPath());
    RunOptions options;
    options.unsetEnv = {"LD_LIBRARY_PATH", "DISPLAY", "WAYLAND_DISPLAY",
                        "DUVESSA_TEST_IS_INSTALLED", "DUVESSA_TEST_RESULT"};
    options.env = {{"DUVESSA_TEST_CALLS", CallsPath()}, {"ORVANEL_FRONTEND", "terminal"}};
    for (const auto& [name, value] : env) options.env[name] = value;
    std::vector<std::string> argv{ToolPath()};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return test::Run(argv, options);
  }

  std::string Calls() const { return ReadFile(CallsPath()); }

  TempDir dir_;
};

std::string Describe(const std::vector<std::string>& arguments) {
  std::string text = "arguments:";
  for (const auto& a : arguments) text += " [" + a + "]";
  return text;
}

TEST_F(PrinterToolTest, CommandLineChoosesTheStep) {
  PlaceLibrary(PRINTER_LIBRARY_COMPLETE);
  struct Case {
    std::vector<std::string> arguments;
    std::string calls;
    std::string err;
  };
  const Case cases[] = {
      {{}, kInstallCalls, ""},
      {{"install"}, kInstallCalls, ""},
      {{"uninstall"}, kUninstallCalls, ""},
      // Only a single argument is read: two or more mean install, whatever they say.
      {{"uninstall", "uninstall"}, kInstallCalls, ""},
      {{"uninstall", "x"}, kInstallCalls, ""},
      {{"install", "uninstall", "x"}, kInstallCalls, ""},
      // Anything else is compared byte for byte and refused without loading the library.
      {{"INSTALL"}, "", kUnknownParameterLine},
      {{"Uninstall"}, "", kUnknownParameterLine},
      {{"install "}, "", kUnknownParameterLine},
      {{"uninstal"}, "", kUnknownParameterLine},
      {{""}, "", kUnknownParameterLine},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Describe(c.arguments));
    const auto result = RunTool(c.arguments, {{"DUVESSA_TEST_IS_INSTALLED", "1"}});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(Calls(), c.calls);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err, c.err);
  }
}

TEST_F(PrinterToolTest, InstallAddsThePrinterOnlyWhenIsInstalledAnswersNonzero) {
  PlaceLibrary(PRINTER_LIBRARY_COMPLETE);
  struct Case {
    const char* isInstalled;
    const char* printerResult;  // what InstallPrinter answers: never examined
    std::string calls;
  };
  const Case cases[] = {
      {"0", "1", kCheckOnlyCalls},
      {"1", "1", kInstallCalls},
      {"1", "0", kInstallCalls},
      {"-1", "-5", kInstallCalls},
      // Nonzero anywhere in the 32 bits counts, not only in the low byte or the sign.
      {"0x100", "0", kInstallCalls},
      {"0x10000", "0", kInstallCalls},
      {"0x80000000", "0", kInstallCalls},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string("IsInstalled answers ") + c.isInstalled);
    const auto result = RunTool(
        {"install"}, {{"DUVESSA_TEST_IS_INSTALLED", c.isInstalled}, {"DUVESSA_TEST_RESULT", c.printerResult}});
    EXPECT_EQ(result.exitCode, 0);
    EXPECT_EQ(Calls(), c.calls);
    EXPECT_EQ(result.out + result.err, "");
  }
}

TEST_F(PrinterToolTest, UninstallRemovesThePrinterWithoutAskingIsInstalled) {
  PlaceLibrary(PRINTER_LIBRARY_COMPLETE);
  for (const char* isInstalled : {"0", "1"}) {
    for (const char* printerResult : {"0", "1", "-1"}) {
      SCOPED_TRACE(std::string("IsInstalled ") + isInstalled + ", RemovePrinter " + printerResult);
      const auto result = RunTool({"uninstall"}, {{"DUVESSA_TEST_IS_INSTALLED", isInstalled},
                                                  {"DUVESSA_TEST_RESULT", printerResult}});
      EXPECT_EQ(result.exitCode, 0);
      EXPECT_EQ(Calls(), kUninstallCalls);
      EXPECT_EQ(result.out + result.err, "");
    }
  }
}

TEST_F(PrinterToolTest, WithoutLibraryBothStepsEndWithOneSilently) {
  for (const auto& arguments : std::vector<std::vector<std::string>>{{}, {"install"}, {"uninstall"}}) {
    SCOPED_TRACE(Describe(arguments));
    const auto result = RunTool(arguments);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out + result.err, "");
  }
}

TEST_F(PrinterToolTest, UnloadableLibraryBesideToolEndsWithOneEvenWithAnotherOnTheSearchPath) {
  // A file of that name next to the tool is the one taken, as on Windows, even
  // when it is no library at all.
  WriteFile(LibraryBesideTool(), "MZ this is not a library\n");
  for (const char* step : {"install", "uninstall"}) {
    SCOPED_TRACE(step);
    const auto result = RunTool({step}, {{"LD_LIBRARY_PATH", FolderOf(PRINTER_LIBRARY_COMPLETE)},
                                         {"DUVESSA_TEST_IS_INSTALLED", "1"}});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(Calls(), "");
    EXPECT_EQ(result.out + result.err, "");
  }
}

TEST_F(PrinterToolTest, IncompleteLibraryCallsNothingItLacksAndEndsWithOne) {
  struct Case {
    const char* library;
    const char* step;
    int exitCode;
    std::string calls;
  };
  const Case cases[] = {
      // Without InstallPrinter neither step calls anything, even uninstall that never uses it.
      {PRINTER_LIBRARY_NO_INSTALL, "install", 1, kLoaded},
      {PRINTER_LIBRARY_NO_INSTALL, "uninstall", 1, kLoaded},
      // A missing entry point matters only to the step that would call it.
      {PRINTER_LIBRARY_NO_REMOVE, "install", 0, kInstallCalls},
      {PRINTER_LIBRARY_NO_REMOVE, "uninstall", 1, kLoaded},
      {PRINTER_LIBRARY_NO_IS_INSTALLED, "install", 1, kLoaded},
      {PRINTER_LIBRARY_NO_IS_INSTALLED, "uninstall", 0, kUninstallCalls},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.library) + " " + c.step);
    PlaceLibrary(c.library);
    const auto result = RunTool({c.step}, {{"DUVESSA_TEST_IS_INSTALLED", "1"}});
    EXPECT_EQ(result.exitCode, c.exitCode);
    EXPECT_EQ(Calls(), c.calls);
    EXPECT_EQ(result.out + result.err, "");
  }
}

TEST_F(PrinterToolTest, LibraryBesideToolComesBeforeTheSystemSearch) {
  PlaceLibrary(PRINTER_LIBRARY_COMPLETE);
  const auto result = RunTool({"install"}, {{"LD_LIBRARY_PATH", FolderOf(PRINTER_LIBRARY_NO_INSTALL)},
                                            {"DUVESSA_TEST_IS_INSTALLED", "1"}});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(Calls(), kInstallCalls);
}

TEST_F(PrinterToolTest, SystemSearchFindsLibraryWhenNoneIsBesideTool) {
  const auto result = RunTool({"uninstall"}, {{"LD_LIBRARY_PATH", FolderOf(PRINTER_LIBRARY_COMPLETE)}});
  EXPECT_EQ(result.exitCode, 0);
  EXPECT_EQ(Calls(), kUninstallCalls);
  EXPECT_EQ(result.out + result.err, "");
}

}  // namespace
}  // namespace orvanel::test
