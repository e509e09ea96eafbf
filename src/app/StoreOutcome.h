// How the store's part of an install or uninstall decides its end.
#pragma once

namespace orvanel {

// `exitCode`, or -1 when the store could not be written or could not save during the
// run. A store that refused access gets one line through the diagnostics saying so;
// one that failed otherwise has said why already.
int WithStoreOutcome(const char* operation, int exitCode);

}  // namespace orvanel
