// The progress window of a download, laid out from dialog template 103: a caption, a
// bar from 0 to 100, no buttons. Neither Escape nor the window manager's close ends
// it; only ProgressWindow::Close does.
//
// GTK belongs to the main thread. A position or the close from the download's worker
// is handed to the main loop, and the worker waits until the window has handled it,
// as a window message sent synchronously, so the bar never lags behind the transfer
// and the window never outlives it.
#include <gtk/gtk.h>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "platform/gtk/DialogLayout.h"
#include "platform/gtk/GtkFrontend.h"
#include "platform/gtk/ModalLoop.h"
#include "resources/DialogTemplates.h"

namespace orvanel::platform::gtk {

using ui::ProgressWindow;
namespace {

// What the main thread and the senders share. Senders and queued requests hold it by
// shared pointer, so a request handled after the window has gone touches nothing
// freed; once `gone`, nobody waits and nothing touches the widgets.
struct Shared {
  std::mutex mutex;
  std::condition_variable handled;
  bool gone = false;
  // Main thread only.
  GtkWidget* bar = nullptr;
  ModalLoop* loop = nullptr;
};

struct Request {
  std::shared_ptr<Shared> shared;
  bool close = false;
  int position = 0;
  bool done = false;  // under shared->mutex
};

// On the main thread.
void Handle(Shared& shared, bool close, int position) {
  {
    std::lock_guard<std::mutex> lock(shared.mutex);
    if (shared.gone) return;
    if (close) shared.gone = true;
  }
  if (close) {
    shared.loop->Finish();
  } else {
    if (position < 0) position = 0;
    if (position > 100) position = 100;
    gtk_progress_bar_set_fraction(GTK_PROGRESS_BAR(shared.bar), position / 100.0);
  }
}

gboolean HandleQueued(gpointer data) {
  auto& request = **static_cast<std::shared_ptr<Request>*>(data);
  Handle(*request.shared, request.close, request.position);
  std::lock_guard<std::mutex> lock(request.shared->mutex);
  request.done = true;
  request.shared->handled.notify_all();
  return G_SOURCE_REMOVE;
}

class GtkProgressWindow final : public ProgressWindow {
 public:
  GtkProgressWindow(GtkWidget* bar, ModalLoop& loop)
      : shared_(std::make_shared<Shared>()), owner_(std::this_thread::get_id()) {
    shared_->bar = bar;
    shared_->loop = &loop;
  }

  void SetPosition(int position) override { Send(false, position); }
  void Close() override { Send(true, 0); }

  // The window's loop has ended; late senders return at once.
  void Abandon() {
    std::lock_guard<std::mutex> lock(shared_->mutex);
    shared_->gone = true;
    shared_->handled.notify_all();
  }

 private:
  void Send(bool close, int position) {
    if (std::this_thread::get_id() == owner_) {
      Handle(*shared_, close, position);
      return;
    }
    auto request = std::make_shared<Request>(Request{shared_, close, position});
    std::shared_ptr<Shared> shared = shared_;  // kept alive past this object
    std::unique_lock<std::mutex> lock(shared->mutex);
    if (shared->gone) return;
    // The main loop's thread handles it, whichever thread runs this: an idle source of
    // the default context, never g_main_context_invoke, which would run it here when
    // the main thread is between loops.
    g_idle_add_full(G_PRIORITY_DEFAULT, HandleQueued, new std::shared_ptr<Request>(request),
                    [](gpointer data) { delete static_cast<std::shared_ptr<Request>*>(data); });
    shared->handled.wait(lock, [&] { return request->done || shared->gone; });
  }

  std::shared_ptr<Shared> shared_;
  std::thread::id owner_;
};

// The theme draws a thin line in the middle of the bar's rectangle; the bar fills the
// rectangle instead, as the template's bordered smooth bar does.
void FillRectangle(GtkWidget* bar, int height) {
  const std::string css = "progressbar trough, progressbar progress { min-height: " +
                          std::to_string(height > 4 ? height - 4 : 1) + "px; }";
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
  gtk_style_context_add_provider(gtk_widget_get_style_context(bar), GTK_STYLE_PROVIDER(provider),
                                 GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

gboolean Refuse(GtkWidget*, GdkEvent*, gpointer) { return TRUE; }

gboolean RefuseEscape(GtkWidget*, GdkEventKey* event, gpointer) {
  return event->keyval == GDK_KEY_Escape;
}

}  // namespace

void RunProgressWindow(const Text& caption, const std::function<void(ProgressWindow&)>& started) {
  GtkWidget* widget = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(widget);
  gtk_window_set_title(window, WideToUtf8(caption).c_str());
  gtk_window_set_deletable(window, FALSE);
  const DialogUnits units(widget);
  GtkFixed* fixed = TemplateWindow(window, units, ORVANEL_UPDATE_SIZE);
  GtkWidget* bar = gtk_progress_bar_new();
  FillRectangle(bar, units.ToPixels({ORVANEL_UPDATE_PROGRESS_RECT}).height);
  PlaceControl(fixed, bar, units, {ORVANEL_UPDATE_PROGRESS_RECT});
  g_signal_connect(widget, "delete-event", G_CALLBACK(Refuse), nullptr);
  g_signal_connect(widget, "key-press-event", G_CALLBACK(RefuseEscape), nullptr);
  gtk_widget_show_all(widget);

  ModalLoop loop;
  GtkProgressWindow progress(bar, loop);
  started(progress);
  loop.Run();
  progress.Abandon();
  CloseWindow(widget);
}

}  // namespace orvanel::platform::gtk
