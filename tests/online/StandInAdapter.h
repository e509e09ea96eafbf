// The adapter list of the tracker tests: this program defines the platform's
// FirstAdapterAddress itself, so the tests choose the address and see whether
// the adapters were read at all.
#pragma once

#include <array>
#include <cstdint>

namespace orvanel::test::standin {

extern int adapterReads;            // calls of FirstAdapterAddress so far
extern bool adapterPresent;         // false: no adapter can be read
constexpr std::array<uint8_t, 6> kAdapterAddress = {0x00, 0x1A, 0x2B, 0x3C, 0x4D, 0x5E};
// MD5 of "001A2B3C4D5E", computed with md5sum.
constexpr const char* kAdapterIdentifier = "7598b725a578ee13656d280b6520f326";

}  // namespace orvanel::test::standin
