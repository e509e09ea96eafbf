// Windows from the dialog templates: dialog units become pixels through the dialog
// font's average character size, as Windows converts them (x * width / 4,
// y * height / 8), so a window keeps its template's proportions in any font.
#pragma once

#include <gtk/gtk.h>

namespace orvanel::platform::gtk {

// A rectangle of a template: x, y, width, height, in dialog units or in pixels.
struct DialogRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
};

class DialogUnits {
 public:
  // The units of the font that `widget` draws its text with.
  explicit DialogUnits(GtkWidget* widget);

  DialogRect ToPixels(const DialogRect& units) const;
  int charWidth() const { return charWidth_; }
  int charHeight() const { return charHeight_; }

 private:
  int charWidth_;
  int charHeight_;
};

// A window without decorations of its own, of the template's size (`units` covers the
// client area, as on Windows), centred on the screen. Its controls go into the
// returned fixed container.
GtkFixed* TemplateWindow(GtkWindow* window, const DialogUnits& units, int width, int height);

// Puts `widget` at its template rectangle. A control that GTK draws taller than its
// rectangle (a button with the theme's padding) is centred on it, so that controls
// the template lines up stay lined up.
void PlaceControl(GtkFixed* fixed, GtkWidget* widget, const DialogUnits& units,
                  const DialogRect& rect);

}  // namespace orvanel::platform::gtk
