#include "platform/gtk/ModalLoop.h"

namespace orvanel::platform::gtk {

ModalLoop::ModalLoop() : loop_(g_main_loop_new(nullptr, FALSE)) {}

ModalLoop::~ModalLoop() { g_main_loop_unref(loop_); }

void ModalLoop::Run() {
  if (!finished_) g_main_loop_run(loop_);
}

void ModalLoop::Finish() {
  finished_ = true;
  g_main_loop_quit(loop_);
}

void CloseWindow(GtkWidget* window) {
  gtk_widget_destroy(window);
  while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
  gdk_display_flush(gdk_display_get_default());
}

}  // namespace orvanel::platform::gtk
