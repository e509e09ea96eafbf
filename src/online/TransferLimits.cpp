#include "online/TransferLimits.h"

namespace orvanel {
namespace {

TransferLimits& Limits() {
  static TransferLimits limits;
  return limits;
}

}  // namespace

const TransferLimits& CurrentTransferLimits() { return Limits(); }

void SetTransferLimits(const TransferLimits& limits) { Limits() = limits; }

}  // namespace orvanel
