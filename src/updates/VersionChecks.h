// Whether the download site offers a newer extension catalogue or a newer Orvanel,
// and the record of which catalogue this machine has ("data_version.txt").
#pragma once

namespace orvanel {

// Fetches the site's data version (remembered for SaveDataVersion, whatever the
// number) and compares it with the local one: true when the site's is greater.
// A failed fetch (unreachable site, redirect, error status, an answer too long or too
// slow) is false and remembers nothing. A missing local file reads as 0.
bool CatalogueUpdateAvailable();

// True when the site's "major.minor" is above this build's version; false when the
// fetch failed.
bool SoftwareUpdateAvailable();

// Writes the data version remembered by the last CatalogueUpdateAvailable (0 when
// none ran) as the local one. False when the file cannot be written; a failed write
// removes it, so that the catalogue is offered again rather than skipped.
bool SaveDataVersion();

}  // namespace orvanel
