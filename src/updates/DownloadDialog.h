// The update dialog: a progress window while a worker thread downloads a file of the
// download site into the data folder and puts it in place of the file there.
#pragma once

#include "common/Text.h"

namespace orvanel {

// Downloads `url` into "tmp_file" of the data folder and, once the transfer has
// completed, replaces the data folder's `fileName` with it in one step. Returns when
// the progress window has closed: true when the target was replaced. A failed
// transfer (any status but 2xx, a broken or too slow or too long answer, or a
// "tmp_file" that cannot be created) leaves the target as it was and no "tmp_file"
// behind. One download at a time: a call while another runs returns false at once.
bool RunDownloadDialog(const Text& url, const Text& fileName);

}  // namespace orvanel
