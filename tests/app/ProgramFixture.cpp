#include "ProgramFixture.h"

#include <sys/stat.h>

#include <chrono>
#include <sstream>
#include <thread>

namespace orvanel::test {

ProgramFixture::ProgramFixture() : store_("ORVANEL_REGISTRY", dir_ / "store/registry.db") {
  chmod(dir_.path().c_str(), 0777);  // the unprivileged runs write their records here
  binFolder_ = dir_ / "bin";
  mkdir(binFolder_.c_str(), 0755);
  const std::string pkexec = binFolder_ + "/pkexec";
  WriteFile(pkexec, "#!/bin/sh\nprintf '%s\\n' \"$*\" >> '" + PkexecRecord() + "'\n");
  chmod(pkexec.c_str(), 0755);
}

RunResult ProgramFixture::RunOrvanel(const std::vector<std::string>& arguments, RunOptions options) {
  std::vector<std::string> argv = {ProgramPath("orvanel")};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  options.env.emplace("ORVANEL_REGISTRY", StorePath());
  options.env.emplace("XDG_DATA_HOME", dir_ / "data");
  options.env.emplace("ORVANEL_FRONTEND", "terminal");
  options.env.emplace("ORVANEL_INFO_SITE", "http://127.0.0.1:9");
  options.env.emplace("ORVANEL_DOWNLOAD_SITE", "http://127.0.0.1:9");
  options.env.emplace("PATH", binFolder_ + ":/usr/bin:/bin");
  options.unsetEnv.push_back("PKEXEC_UID");
  return test::Run(argv, options);
}

std::vector<std::string> ProgramFixture::PkexecCalls(size_t expected, int waitMilliseconds) {
  std::vector<std::string> lines;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMilliseconds);
  do {
    lines.clear();
    std::istringstream record(ReadFile(PkexecRecord()));
    for (std::string line; std::getline(record, line);) lines.push_back(line);
    if (lines.size() >= expected) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  } while (std::chrono::steady_clock::now() < deadline);
  return lines;
}

}  // namespace orvanel::test
