// A window shown modally: the main loop runs until the window's business is done.
// Orvanel has no loop of its own; each window runs one while it is shown.
#pragma once

#include <gtk/gtk.h>

namespace orvanel::platform::gtk {

class ModalLoop {
 public:
  ModalLoop();
  ~ModalLoop();
  ModalLoop(const ModalLoop&) = delete;
  ModalLoop& operator=(const ModalLoop&) = delete;

  // Runs until Finish; returns at once when it was called already.
  void Run();
  void Finish();
  bool finished() const { return finished_; }

 private:
  GMainLoop* loop_;
  bool finished_ = false;
};

// Destroys the window and lets the display take it off the screen now, not at the
// next window: what follows (a browser, a download) may take a while.
void CloseWindow(GtkWidget* window);

}  // namespace orvanel::platform::gtk
