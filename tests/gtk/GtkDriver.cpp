#include "GtkDriver.h"

// gtest before the X headers, whose macros (None, Bool) would clash with it.
#include <gtest/gtest.h>

#include <gdk/gdkx.h>

#include <chrono>
#include <cstdlib>
#include <future>
#include <memory>
#include <stdexcept>

namespace orvanel::test {
namespace {

constexpr auto kStepTimeout = std::chrono::seconds(10);

struct Step {
  std::function<void()> body;
  std::promise<void> done;
};

gboolean RunStep(gpointer data) {
  auto& step = **static_cast<std::shared_ptr<Step>*>(data);
  step.body();
  step.done.set_value();
  return G_SOURCE_REMOVE;
}

// Set once a window has been drawn after the driver found it.
constexpr char kDrawnKey[] = "orvanel-test-drawn";

gboolean MarkDrawn(GtkWidget* widget, cairo_t*, gpointer) {
  g_object_set_data(G_OBJECT(widget), kDrawnKey, GINT_TO_POINTER(2));
  return FALSE;
}

// Main thread.
GtkWindow* VisibleWindow(const std::string& title) {
  GtkWindow* found = nullptr;
  GList* windows = gtk_window_list_toplevels();
  for (GList* item = windows; item; item = item->next) {
    GtkWindow* window = GTK_WINDOW(item->data);
    const char* shown = gtk_window_get_title(window);
    if (shown && title == shown && gtk_widget_get_mapped(GTK_WIDGET(window))) found = window;
  }
  g_list_free(windows);
  return found;
}

void Collect(GtkWidget* widget, gpointer list) {
  static_cast<std::vector<GtkWidget*>*>(list)->push_back(widget);
  if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), Collect, list);
}

// The thread that runs the windows: the one that chose the desktop frontend.
std::thread::id& GtkThread() {
  static std::thread::id id;
  return id;
}

}  // namespace

void UseDesktopFrontend() {
  GtkThread() = std::this_thread::get_id();
  setenv("DISPLAY", TestDisplay().name().c_str(), 1);
  setenv("ORVANEL_FRONTEND", "gtk", 1);
  setenv("GDK_BACKEND", "x11", 1);
  setenv("NO_AT_BRIDGE", "1", 1);  // no accessibility bus on a bare X server
  unsetenv("WAYLAND_DISPLAY");
}

bool OnGtkThread(const std::function<void()>& body) {
  if (std::this_thread::get_id() == GtkThread()) {
    body();
    return true;
  }
  auto step = std::make_shared<Step>();
  step->body = body;
  std::future<void> done = step->done.get_future();
  g_idle_add_full(G_PRIORITY_DEFAULT, RunStep, new std::shared_ptr<Step>(step),
                  [](gpointer data) { delete static_cast<std::shared_ptr<Step>*>(data); });
  return done.wait_for(kStepTimeout) == std::future_status::ready;
}

GtkWindow* WaitForDrawnWindow(const std::string& title, int timeoutSeconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  while (std::chrono::steady_clock::now() < deadline) {
    GtkWindow* window = nullptr;
    bool drawn = false;
    if (!OnGtkThread([&] {
          window = VisibleWindow(title);
          if (!window) return;
          const int state = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(window), kDrawnKey));
          if (state == 0) {
            // Drawn from now on: the frame after this one is what the screen shows.
            g_object_set_data(G_OBJECT(window), kDrawnKey, GINT_TO_POINTER(1));
            g_signal_connect_after(window, "draw", G_CALLBACK(MarkDrawn), nullptr);
            gtk_widget_queue_draw(GTK_WIDGET(window));
          }
          drawn = state == 2;
          if (drawn) gdk_display_sync(gdk_display_get_default());
        })) {
      return nullptr;
    }
    if (drawn) return window;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return nullptr;
}

bool WaitUntilClosed(const std::string& title, int timeoutSeconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  while (WindowShown(title)) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

bool WindowShown(const std::string& title) {
  bool shown = false;
  OnGtkThread([&] { shown = VisibleWindow(title) != nullptr; });
  return shown;
}

std::string XidOf(GtkWindow* window) {
  std::string id;
  OnGtkThread([&] {
    id = std::to_string(gdk_x11_window_get_xid(gtk_widget_get_window(GTK_WIDGET(window))));
  });
  return id;
}

std::vector<GtkWidget*> Descendants(GtkWidget* widget) {
  std::vector<GtkWidget*> widgets;
  if (GTK_IS_CONTAINER(widget)) gtk_container_forall(GTK_CONTAINER(widget), Collect, &widgets);
  return widgets;
}

std::vector<std::string> LabelTexts(GtkWidget* widget) {
  std::vector<std::string> texts;
  for (GtkWidget* child : Descendants(widget)) {
    if (GTK_IS_LABEL(child) && gtk_widget_get_visible(child))
      texts.push_back(gtk_label_get_text(GTK_LABEL(child)));
  }
  return texts;
}

Driver::Driver(std::function<void()> steps)
    : thread_([this, steps = std::move(steps)] {
        try {
          steps();
        } catch (const std::exception& error) {
          ADD_FAILURE() << error.what();
        }
        // Whatever is still open after the steps (a failed step) is closed as the
        // window manager would, so that the window's modal loop ends.
        OnGtkThread([] {
          GList* windows = gtk_window_list_toplevels();
          for (GList* item = windows; item; item = item->next) {
            if (gtk_widget_get_mapped(GTK_WIDGET(item->data)))
              gtk_window_close(GTK_WINDOW(item->data));
          }
          g_list_free(windows);
        });
        finished_ = true;
      }) {}

Driver::~Driver() { Join(); }

void Driver::Join() {
  // The driver's last steps may need the main loop after the window's own has ended.
  while (!finished_) {
    while (g_main_context_iteration(nullptr, FALSE)) {
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  if (thread_.joinable()) thread_.join();
}

}  // namespace orvanel::test
