// orvanel-reg import reads .reg files that anyone may have written. Any bytes are read
// or refused with a reason; what is read is written back and read again unchanged.
#include "FuzzInput.h"
#include "RegFile.h"

using namespace orvanel;

namespace {

bool SameKeys(const std::vector<reg::RegKey>& a, const std::vector<reg::RegKey>& b) {
  if (a.size() != b.size()) return false;
  for (size_t k = 0; k < a.size(); ++k) {
    if (a[k].path != b[k].path || a[k].values.size() != b[k].values.size()) return false;
    for (size_t v = 0; v < a[k].values.size(); ++v) {
      const auto& x = a[k].values[v];
      const auto& y = b[k].values[v];
      if (x.name != y.name || x.type != y.type || x.data != y.data) return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<reg::RegKey> keys;
  std::string error;
  if (!reg::ParseRegFile(fuzz::Bytes(data, size), keys, error)) {
    FUZZ_CHECK(!error.empty());
    return 0;
  }
  std::vector<reg::RegKey> again;
  FUZZ_CHECK(reg::ParseRegFile(reg::FormatRegFile(keys), again, error));
  FUZZ_CHECK(SameKeys(keys, again));
  return 0;
}
