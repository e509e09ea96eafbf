// What the fuzz targets share: the input as bytes, a scratch folder for readers that
// take a file, and a check that stops the run when a property does not hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace orvanel::fuzz {

inline std::string Bytes(const uint8_t* data, size_t size) {
  return std::string(reinterpret_cast<const char*>(data), size);
}

// A folder of this process's own, ending in '/', made on first use.
const std::string& ScratchFolder();

// Writes `bytes` as the file `name` of the scratch folder and returns its path.
std::string WriteScratchFile(const std::string& name, const std::string& bytes);

// A property that must hold for every input: a failure is a finding, and libFuzzer
// keeps the input that caused it.
#define FUZZ_CHECK(condition)                                                           \
  do {                                                                                  \
    if (!(condition)) {                                                                 \
      std::fprintf(stderr, "%s:%d: property failed: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (false)

}  // namespace orvanel::fuzz
