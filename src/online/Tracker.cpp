// Placeholder until the usage reporter lands: tracking reads as off, nothing is sent.
#include "online/Tracker.h"

namespace orvanel {

bool IsTrackingOff() { return true; }

Tracker::Tracker() : trackingOff(1) {}
void Tracker::ReportInstall() {}
void Tracker::ReportUninstall() {}
void Tracker::Report(const Text&) {}
Text Tracker::IdQuery() const { return Text(); }

}  // namespace orvanel
