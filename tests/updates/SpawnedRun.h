// Runs a program like test::Run, but starts it with posix_spawn and an environment
// built beforehand, so that nothing is allocated between fork and exec. test::Run
// sets the environment in the forked child; with the loopback site's threads
// allocating at that moment, the child can hang on the allocator's lock.
#pragma once

#include <string>
#include <vector>

#include "TestSupport.h"

namespace orvanel::test {

// The same contract as test::Run (runAsUser is not supported).
RunResult RunSpawned(const std::vector<std::string>& argv, const RunOptions& options);

}  // namespace orvanel::test
