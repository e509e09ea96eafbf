#include "updates/DownloadDialog.h"

#include <exception>
#include <functional>
#include <thread>

#include "common/DataFiles.h"
#include "online/HttpTransfer.h"
#include "platform/DataFolder.h"
#include "platform/Files.h"
#include "platform/Ui.h"

namespace orvanel {
namespace {

// The caption of the update dialog's window.
const Text kCaption = u"Orvanel Update";

// What the worker needs, written on the calling thread before the worker starts and
// only read by it afterwards.
struct DownloadState {
  bool running = false;
  Text url;
  Text tmpPath;
  Text targetPath;
  bool replaced = false;  // written by the worker, read after it has been joined
};

DownloadState& State() {
  static DownloadState state;
  return state;
}

// The worker's body. Whatever happens, the window is closed at the end, so the
// dialog never outlives the transfer.
void DownloadAndReplace(platform::ui::ProgressWindow& window) {
  DownloadState& state = State();
  try {
    if (HttpDownloadFile(state.url, state.tmpPath, &window))
      state.replaced = platform::ReplaceFile(state.tmpPath, state.targetPath);
  } catch (const std::exception&) {
    // Out of memory or the like inside the transfer: it counts as failed.
  }
  window.Close();
}

}  // namespace

bool RunDownloadDialog(const Text& url, const Text& fileName) {
  DownloadState& state = State();
  if (state.running) return false;
  state.running = true;
  state.url = url;
  state.tmpPath = ProcessDataFolder() + kTemporaryFileName;
  state.targetPath = ProcessDataFolder() + fileName;
  state.replaced = false;

  std::thread worker;
  platform::ui::RunProgressWindow(kCaption, [&worker](platform::ui::ProgressWindow& window) {
    try {
      worker = std::thread(DownloadAndReplace, std::ref(window));
    } catch (const std::exception&) {
      // No thread for the transfer: nothing is downloaded, the window closes again.
      window.Close();
    }
  });
  if (worker.joinable()) worker.join();

  state.running = false;
  return state.replaced;
}

}  // namespace orvanel
