#include "platform/gtk/DialogLayout.h"

namespace orvanel::platform::gtk {
namespace {

// Windows measures the average width over the alphabet, rounded: (width / 26 + 1) / 2.
constexpr char kAlphabet[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ";

// a * b / c rounded to the nearest integer, as MulDiv.
int Scale(int a, int b, int c) { return (a * b + c / 2) / c; }

}  // namespace

DialogUnits::DialogUnits(GtkWidget* widget) {
  PangoLayout* layout = gtk_widget_create_pango_layout(widget, kAlphabet);
  int width = 0;
  int height = 0;
  pango_layout_get_pixel_size(layout, &width, &height);
  g_object_unref(layout);
  charWidth_ = width > 0 ? (width / 26 + 1) / 2 : 6;
  charHeight_ = height > 0 ? height : 13;
}

DialogRect DialogUnits::ToPixels(const DialogRect& units) const {
  return {Scale(units.x, charWidth_, 4), Scale(units.y, charHeight_, 8),
          Scale(units.width, charWidth_, 4), Scale(units.height, charHeight_, 8)};
}

GtkFixed* TemplateWindow(GtkWindow* window, const DialogUnits& units, int width, int height) {
  const DialogRect size = units.ToPixels({0, 0, width, height});
  gtk_window_set_resizable(window, FALSE);
  gtk_window_set_position(window, GTK_WIN_POS_CENTER);
  gtk_window_set_type_hint(window, GDK_WINDOW_TYPE_HINT_DIALOG);
  GtkWidget* fixed = gtk_fixed_new();
  gtk_widget_set_size_request(fixed, size.width, size.height);
  gtk_container_add(GTK_CONTAINER(window), fixed);
  return GTK_FIXED(fixed);
}

void PlaceControl(GtkFixed* fixed, GtkWidget* widget, const DialogUnits& units,
                  const DialogRect& rect) {
  const DialogRect pixels = units.ToPixels(rect);
  gtk_widget_set_size_request(widget, pixels.width, pixels.height);
  gtk_fixed_put(fixed, widget, pixels.x, pixels.y);
  int height = 0;
  gtk_widget_get_preferred_height(widget, &height, nullptr);
  if (height > pixels.height)
    gtk_fixed_move(fixed, widget, pixels.x, pixels.y - (height - pixels.height) / 2);
}

}  // namespace orvanel::platform::gtk
