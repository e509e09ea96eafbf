// How far a site may hold Orvanel up. Every answer comes from outside and may be
// hostile: a dead site, one that trickles a byte at a time or one that never ends
// must not keep a run waiting, nor fill its memory or its disk.
#pragma once

#include <cstddef>
#include <cstdint>

namespace orvanel {

struct TransferLimits {
  long connectSeconds = 15;  // to establish the connection
  // A transfer slower than this many bytes per second for stallSeconds is given up.
  long slowestBytesPerSecond = 100;
  long stallSeconds = 30;
  // A text answer (the version files are a few bytes) is held in memory: a longer one
  // is refused, and a fetch or a report ends within textTotalSeconds.
  size_t textMaxBytes = 64 * 1024;
  long textTotalSeconds = 30;
  // A download ends within this, and is refused beyond downloadMaxBytes: far above any
  // catalogue or installer, far below a full disk.
  long downloadTotalSeconds = 60;
  int64_t downloadMaxBytes = int64_t{1} << 30;
};

// The limits every transfer starts with.
const TransferLimits& CurrentTransferLimits();

// Replaces the limits for the transfers that follow; tests shorten them so that a
// stall is seen in seconds. Not for use while a transfer runs.
void SetTransferLimits(const TransferLimits& limits);

}  // namespace orvanel
