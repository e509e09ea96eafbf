#include <sys/stat.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "CaseName.h"
#include "LoopbackSite.h"
#include "TestSupport.h"
#include "platform/DataFolder.h"
#include "updates/VersionChecks.h"

namespace orvanel::test {
namespace {

// A download site on loopback and an empty data folder, both known to the checks.
class VersionChecksTest : public testing::Test {
 protected:
  VersionChecksTest() : downloadSite_("ORVANEL_DOWNLOAD_SITE", site_.Base()) {
    mkdir(DataFolder().c_str(), 0755);
    SetProcessDataFolder(Utf8ToWide(DataFolder() + "/"));
  }

  std::string DataFolder() const { return dir_ / "Orvanel"; }
  std::string LocalVersionFile() const { return DataFolder() + "/data_version.txt"; }

  TempDir dir_;
  LoopbackSite site_;
  ScopedEnv downloadSite_;
};

struct CatalogueCase {
  const char* name;
  std::string remoteBody;
  int remoteStatus;
  std::optional<std::string> localFile;  // nullopt: no local file
  bool newer;
};

class CatalogueCheckTest : public VersionChecksTest,
                           public testing::WithParamInterface<CatalogueCase> {};

TEST_P(CatalogueCheckTest, ComparesTheSitesNumberWithTheLocalOne) {
  const CatalogueCase& c = GetParam();
  site_.Serve("/data_version.txt", c.remoteBody, c.remoteStatus);
  if (c.localFile) WriteFile(LocalVersionFile(), *c.localFile);

  EXPECT_EQ(CatalogueUpdateAvailable(), c.newer);
  EXPECT_EQ(site_.Requests(), std::vector<std::string>{"/data_version.txt"});
}

// 258 blanks, then 5, then more digits: within the first 259 characters the
// line reads 5; read whole it would clamp to the largest number.
const std::string kLongLine = std::string(258, ' ') + "5" + std::string(40, '0');

INSTANTIATE_TEST_SUITE_P(
    Versions, CatalogueCheckTest,
    testing::Values(
        CatalogueCase{"NoLocalFileReadsZero", "12", 200, std::nullopt, true},
        CatalogueCase{"NoLocalFileAgainstZero", "0", 200, std::nullopt, false},
        CatalogueCase{"SameVersion", "12\r\n", 200, "12", false},
        CatalogueCase{"LocalNewer", "12\r\n", 200, "13", false},
        CatalogueCase{"LocalNegative", "12\r\n", 200, "-5", true},
        CatalogueCase{"LocalOlder", "12", 200, "11", true},
        CatalogueCase{"LocalWithCrLfAndMoreLines", "12", 200, "11\r\n99\r\n", true},
        CatalogueCase{"LocalWithoutNumberReadsZero", "1", 200, "version 20", true},
        CatalogueCase{"EmptyLocalFileReadsZero", "1", 200, "", true},
        CatalogueCase{"ErrorPageReadsZero", "<html>Server error</html>", 500, std::nullopt, false},
        CatalogueCase{"ErrorPageAgainstNegativeLocal", "<html>Not found</html>", 404, "-1", true},
        CatalogueCase{"EmptyRemoteReadsZero", "", 200, "-1", true},
        CatalogueCase{"RemoteNegative", "-3", 200, "-4", true},
        CatalogueCase{"ThreeHundredDigitsClampToLargest", "2147483647", 200, std::string(300, '9'),
                      false},
        CatalogueCase{"OnlyTheFirst259CharactersCountAbove", "6", 200, kLongLine, true},
        CatalogueCase{"OnlyTheFirst259CharactersCountEqual", "5", 200, kLongLine, false}),
    CaseName());

TEST_F(VersionChecksTest, UnreachableSiteOffersNoCatalogue) {
  ScopedEnv nowhere("ORVANEL_DOWNLOAD_SITE", "http://127.0.0.1:9");
  EXPECT_FALSE(CatalogueUpdateAvailable());
  ASSERT_TRUE(SaveDataVersion());
  EXPECT_EQ(ReadFile(LocalVersionFile()), "0");
}

TEST_F(VersionChecksTest, SaveWritesTheSitesNumberAsBareDigits) {
  site_.Serve("/data_version.txt", "12\r\n");
  ASSERT_TRUE(CatalogueUpdateAvailable());
  ASSERT_TRUE(SaveDataVersion());
  EXPECT_EQ(ReadFile(LocalVersionFile()), "12");
  EXPECT_FALSE(CatalogueUpdateAvailable()) << "the saved version now counts as local";
}

TEST_F(VersionChecksTest, TheSitesNumberIsRememberedEvenWhenNotNewer) {
  WriteFile(LocalVersionFile(), "13 and an old, longer content\r\n");
  site_.Serve("/data_version.txt", "12");
  ASSERT_FALSE(CatalogueUpdateAvailable());
  ASSERT_TRUE(SaveDataVersion());
  EXPECT_EQ(ReadFile(LocalVersionFile()), "12") << "the file is replaced whole";
}

TEST_F(VersionChecksTest, SaveWritesANegativeNumberWithItsSign) {
  site_.Serve("/data_version.txt", "-2147483648");
  CatalogueUpdateAvailable();
  ASSERT_TRUE(SaveDataVersion());
  EXPECT_EQ(ReadFile(LocalVersionFile()), "-2147483648");
}

TEST_F(VersionChecksTest, SaveFailsWithoutDataFolderAndCreatesNothing) {
  site_.Serve("/data_version.txt", "12");
  CatalogueUpdateAvailable();
  rmdir(DataFolder().c_str());
  EXPECT_FALSE(SaveDataVersion());
  EXPECT_FALSE(FileExists(DataFolder()));
}

struct SoftwareCase {
  const char* name;
  std::string remoteBody;
  int remoteStatus;
  bool newer;
};

class SoftwareCheckTest : public VersionChecksTest,
                          public testing::WithParamInterface<SoftwareCase> {};

TEST_P(SoftwareCheckTest, AnyVersionAboveZeroPointTwoIsNewer) {
  const SoftwareCase& c = GetParam();
  site_.Serve("/software_version.txt", c.remoteBody, c.remoteStatus);
  EXPECT_EQ(SoftwareUpdateAvailable(), c.newer);
  EXPECT_EQ(site_.Requests(), std::vector<std::string>{"/software_version.txt"});
}

INSTANTIATE_TEST_SUITE_P(
    Versions, SoftwareCheckTest,
    testing::Values(
        SoftwareCase{"Same", "0.2", 200, false}, SoftwareCase{"NewerMinor", "0.3", 200, true},
        SoftwareCase{"TwoDigitMinor", "0.10", 200, true},
        SoftwareCase{"NewerMajor", "1.0", 200, true}, SoftwareCase{"MajorOnly", "1", 200, true},
        SoftwareCase{"ZeroOnly", "0", 200, false}, SoftwareCase{"Empty", "", 200, false},
        SoftwareCase{"NegativeMajor", "-1.5", 200, false},
        SoftwareCase{"LeadingBlank", " 0.3", 200, true},
        SoftwareCase{"ThirdPartIgnored", "0.2.9", 200, false},
        SoftwareCase{"MinorReadToItsEnd", "0.3.1", 200, true},
        SoftwareCase{"LineEndAfter", "0.3\r\n", 200, true},
        SoftwareCase{"OlderMinor", "0.1", 200, false},
        SoftwareCase{"ErrorPage", "<html><body>Not Found</body></html>", 404, false}),
    CaseName());

TEST_F(VersionChecksTest, UnreachableSiteOffersNoSoftware) {
  ScopedEnv nowhere("ORVANEL_DOWNLOAD_SITE", "http://127.0.0.1:9");
  EXPECT_FALSE(SoftwareUpdateAvailable());
}

}  // namespace
}  // namespace orvanel::test
