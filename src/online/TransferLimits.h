// How long a transfer may take to connect and how long it may stall before it is
// given up. Without them a dead or silent site would block Orvanel forever.
#pragma once

namespace orvanel {

struct TransferLimits {
  long connectSeconds = 15;   // to establish the connection
  long stallSeconds = 30;     // below one byte per second for this long aborts
};

// The limits every transfer starts with.
const TransferLimits& CurrentTransferLimits();

// Replaces the limits for the transfers that follow; tests shorten them so that a
// stall is seen in seconds. Not for use while a transfer runs.
void SetTransferLimits(const TransferLimits& limits);

}  // namespace orvanel
