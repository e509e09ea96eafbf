#include <gtest/gtest.h>

#include <vector>

#include "associations/Associator.h"

namespace orvanel {
namespace {

const std::vector<Text> kExpectedList = {
    u"ade", u"adp", u"bat",        u"chm", u"cmd", u"com", u"cpl", u"exe", u"hta", u"ins", u"isp",
    u"jse", u"lib", u"library-ms", u"lnk", u"mde", u"msi", u"msc", u"msp", u"mst", u"pif", u"rdp",
    u"scr", u"sct", u"shb",        u"sys", u"vb",  u"vbe", u"vbs", u"vxd", u"wsc", u"wsf", u"wsh"};

TEST(AssociatorTest, KeepsItsFactsAndReferencesTheCallersInstanceHandle) {
  int module = 0;
  platform::InstanceHandle instance = &module;
  Associator associator(u"/opt/orvanel/orvanel", instance, u"/data/Orvanel/");
  EXPECT_EQ(associator.modulePath, u"/opt/orvanel/orvanel");
  EXPECT_EQ(associator.dataFolder, u"/data/Orvanel/");
  EXPECT_EQ(&associator.instanceHandle, &instance);
  EXPECT_EQ(associator.exclusions, kExpectedList);
}

TEST(AssociatorTest, ExcludesEveryEntryOfTheList) {
  platform::InstanceHandle instance = nullptr;
  const Associator associator(u"", instance, u"");
  for (const Text& entry : kExpectedList) {
    EXPECT_TRUE(associator.IsExcluded(entry)) << WideToUtf8(entry);
  }
}

TEST(AssociatorTest, ExclusionIsExactAndCaseSensitive) {
  platform::InstanceHandle instance = nullptr;
  const Associator associator(u"", instance, u"");
  for (const char16_t* other : {u"EXE", u"Exe", u".exe", u"exe ", u" exe", u"ex", u"exee", u"vbx",
                                u"v", u"library", u"library-MS", u"", u"xyz"}) {
    EXPECT_FALSE(associator.IsExcluded(other)) << WideToUtf8(other);
  }
}

}  // namespace
}  // namespace orvanel
