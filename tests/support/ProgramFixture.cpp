#include "ProgramFixture.h"

#include <sys/stat.h>
#include <unistd.h>

#include <sstream>
#include <stdexcept>
#include <thread>

namespace orvanel::test {
namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

// mkdir's mode passes through the umask; the runs as another user need the real one.
void MakeFolder(const std::string& path, mode_t mode) {
  mkdir(path.c_str(), mode);
  if (chmod(path.c_str(), mode) != 0) throw std::runtime_error("cannot create " + path);
}

}  // namespace

ProgramFixture::ProgramFixture() : store_("ORVANEL_REGISTRY", StorePath()) {
  MakeFolder(dir_.path(), 0777);  // the runs as another user write their records here
  MakeFolder(DataHome(), 0777);
  for (const char* folder : {"bin", "config", "no-applications"}) MakeFolder(dir_ / folder, 0755);
  AddStandIn("pkexec");
  AddStandIn("xdg-open");
}

bool ProgramFixture::RunsAsRoot() { return geteuid() == 0; }

void ProgramFixture::CreateDataFolder() const { MakeFolder(DataFolder(), 0777); }

void ProgramFixture::UseSites(const std::string& info, const std::string& download) {
  infoSite_ = info;
  downloadSite_ = download;
}

RunResult ProgramFixture::RunOrvanel(const std::vector<std::string>& arguments,
                                     RunOptions options) {
  return RunProgram("orvanel", arguments, std::move(options));
}

RunResult ProgramFixture::RunOrvanel(const std::vector<std::string>& arguments,
                                     const std::string& input) {
  RunOptions options;
  options.input = input;
  return RunOrvanel(arguments, options);
}

RunResult ProgramFixture::RunProgram(const std::string& name,
                                     const std::vector<std::string>& arguments,
                                     RunOptions options) {
  std::vector<std::string> argv = {ProgramPath(name)};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  options.env.emplace("ORVANEL_REGISTRY", StorePath());
  options.env.emplace("XDG_DATA_HOME", DataHome());
  // No installed application is known unless a test installs one here.
  options.env.emplace("XDG_DATA_DIRS", dir_ / "no-applications");
  options.env.emplace("XDG_CONFIG_HOME", dir_ / "config");
  options.env.emplace("ORVANEL_FRONTEND", "terminal");
  options.env.emplace("ORVANEL_INFO_SITE", infoSite_);
  options.env.emplace("ORVANEL_DOWNLOAD_SITE", downloadSite_);
  options.env.emplace("PATH", (dir_ / "bin") + ":/usr/bin:/bin");
  // Nothing of the test's own session reaches the run.
  for (const char* name : {"PKEXEC_UID", "DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS"})
    options.unsetEnv.push_back(name);
  return test::Run(argv, options);
}

void ProgramFixture::AddStandIn(const std::string& name) {
  WriteFile(StandInPath(name), "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + RecordOf(name) + "'\n");
  if (chmod(StandInPath(name).c_str(), 0755) != 0)
    throw std::runtime_error("cannot make " + StandInPath(name) + " executable");
}

std::vector<std::string> ProgramFixture::Calls(const std::string& standIn, size_t expected,
                                               std::chrono::milliseconds wait) const {
  const auto deadline = std::chrono::steady_clock::now() + wait;
  std::vector<std::string> calls = Lines(ReadFile(RecordOf(standIn)));
  while (calls.size() < expected && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    calls = Lines(ReadFile(RecordOf(standIn)));
  }
  return calls;
}

}  // namespace orvanel::test
