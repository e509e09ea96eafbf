// Runs the built orvanel against a temporary store, data folder and sites.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestSupport.h"
#include "platform/Registry.h"

namespace orvanel::test {

class ProgramFixture : public testing::Test {
 protected:
  ProgramFixture();

  std::string StorePath() const { return dir_ / "store/registry.db"; }
  std::string DataFolder() const { return dir_ / "data/Orvanel"; }
  std::string PkexecRecord() const { return dir_ / "pkexec.log"; }

  // Runs orvanel with these arguments (argv[0] added) in the temporary setting.
  RunResult RunOrvanel(const std::vector<std::string>& arguments, RunOptions options = {});

  // The lines the recording pkexec wrote, once it has written `expected` of them
  // (it runs detached), or what it wrote within a short wait.
  std::vector<std::string> PkexecCalls(size_t expected, int waitMilliseconds = 5000);

  TempDir dir_;
  ScopedEnv store_;

 private:
  std::string binFolder_;
};

}  // namespace orvanel::test
