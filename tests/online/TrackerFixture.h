// A temporary registry store, data folder and info site for each tracker test,
// and short helpers to set the tracking-off flag and the data version file.
#pragma once

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

#include "LoopbackSite.h"
#include "StandInAdapter.h"
#include "TestSupport.h"
#include "platform/Registry.h"

namespace orvanel::test {

namespace registry = platform::registry;

class TrackerFixture : public ::testing::Test {
 protected:
  TrackerFixture() {
    mkdir((dir / "data").c_str(), 0700);
    mkdir(dataFolder.c_str(), 0700);
    standin::adapterReads = 0;
    standin::adapterPresent = true;
    site.Serve("/analytics/analytics.php", "");
  }

  static void SetFlag(registry::Type type, const std::string& bytes, const Text& keyPath = u"Orvanel") {
    registry::Key key;
    ASSERT_EQ(registry::CreateKey(keyPath, key), registry::Status::Ok);
    ASSERT_EQ(registry::SetValue(key, u"private", type, bytes.data(), static_cast<uint32_t>(bytes.size())),
              registry::Status::Ok);
  }

  static void SetFlagText(const Text& text) {
    registry::Key key;
    ASSERT_EQ(registry::CreateKey(u"Orvanel", key), registry::Status::Ok);
    ASSERT_EQ(registry::SetTextValue(key, u"private", text), registry::Status::Ok);
  }

  void WriteDataVersion(const std::string& bytes) const { WriteFile(dataFolder + "data_version.txt", bytes); }

  TempDir dir;
  LoopbackSite site;
  const std::string dataFolder = dir / "data/Orvanel/";
  ScopedEnv store{"ORVANEL_REGISTRY", dir / "registry.db"};
  ScopedEnv data{"XDG_DATA_HOME", dir / "data"};
  ScopedEnv info{"ORVANEL_INFO_SITE", site.Base()};
};

}  // namespace orvanel::test
