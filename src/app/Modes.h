// The modes of a run, each chosen by the first argument and returning the exit code.
#pragma once

#include "common/Text.h"
#include "online/Tracker.h"
#include "platform/Resources.h"

namespace orvanel {

// "-t=off" / "-t=on": writes the tracking-off flag.
int RunTrackingSwitch(const Text& switchText, bool turnTrackingOff);

// "-i": refreshes the catalogue, registers Orvanel and reports the install.
int RunInstall(platform::InstanceHandle& instance, Tracker& tracker);

// "-r": removes the registration and reports the uninstall.
int RunUninstall(Tracker& tracker);

// Any other argument: the prompt for that file, then the update offer.
int RunFileMode(platform::InstanceHandle instance, const Text& filePath);

}  // namespace orvanel
