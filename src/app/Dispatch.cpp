#include "app/Dispatch.h"

#include <memory>
#include <string>

#include "app/Locations.h"
#include "app/Modes.h"
#include "online/Tracker.h"
#include "platform/Diagnostics.h"
#include "platform/System.h"

namespace orvanel {
namespace {

int RunMode(platform::InstanceHandle& instance, const Text& argument, Tracker& tracker) {
  if (argument == u"-t=off") return RunTrackingSwitch(argument, true);
  if (argument == u"-t=on") return RunTrackingSwitch(argument, false);
  if (argument == u"-i") return RunInstall(instance, tracker);
  if (argument == u"-r") return RunUninstall(tracker);
  return RunFileMode(instance, argument);
}

}  // namespace

int RunOrvanel(platform::InstanceHandle instance) {
  auto tracker = std::make_unique<Tracker>();
  SetProcessDataFolder(DataFolderPath());
  const std::vector<Text> arguments = platform::CommandLineArguments();

  int exitCode = -1;
  if (arguments.size() >= 2) {
    try {
      exitCode = RunMode(instance, arguments[1], *tracker);
    } catch (const platform::SystemError& error) {
      // The administrator test itself failed: nothing can be decided safely.
      platform::ReportDiagnostic(std::string("orvanel: ") + error.what() + " (system error " +
                                 std::to_string(error.code()) + ")");
      exitCode = -1;
    }
  }
  tracker.reset();
  return exitCode;
}

}  // namespace orvanel
