// Names for the cases of parameterised tests, so that the test lists show a word
// for each case instead of a dump of the parameter's bytes.
#pragma once

#include <gtest/gtest.h>

#include <string>

namespace orvanel::test {

// `text` as a test name: every character outside [A-Za-z0-9_] becomes '_', and
// nothing at all becomes "empty".
std::string CaseNameOf(const std::string& text);

// The name generator for a case struct with a `name` field.
struct CaseName {
  template <typename Case>
  std::string operator()(const testing::TestParamInfo<Case>& info) const {
    return CaseNameOf(info.param.name);
  }
};

}  // namespace orvanel::test
