// The open-file prompt as a window laid out from dialog template 101. Enter presses
// OK wherever the focus is, as the default button of a dialog; Escape does nothing;
// the window manager's close ends the prompt without OK.
#include <gtk/gtk.h>

#include <string>

#include "platform/gtk/DialogLayout.h"
#include "platform/gtk/GtkFrontend.h"
#include "platform/gtk/ModalLoop.h"
#include "resources/DialogTemplates.h"

namespace orvanel::platform::gtk {

using ui::PromptAnswer;
using ui::PromptContent;
namespace {

struct PromptWindow {
  GtkWidget* window = nullptr;
  GtkWidget* ok = nullptr;
  GtkWidget* choices[3] = {};
  GtkWidget* dontShowAgain = nullptr;
  ModalLoop loop;
  PromptAnswer answer;
};

GtkWidget* Label(const Text& text) {
  GtkWidget* label = gtk_label_new(WideToUtf8(text).c_str());
  gtk_label_set_xalign(GTK_LABEL(label), 0.0f);
  gtk_label_set_yalign(GTK_LABEL(label), 0.0f);
  return label;
}

// A label as wide as its template rectangle, not as its text: without this GTK would
// size the window for the whole text on one line.
void KeepToRectangle(GtkWidget* label) { gtk_label_set_max_width_chars(GTK_LABEL(label), 1); }

// Text that comes from the file (its name, its extension) may be of any length; it
// is cut short with an ellipsis rather than pushing the control out of its place.
void FitTextOf(GtkWidget* label, PangoEllipsizeMode where) {
  gtk_label_set_ellipsize(GTK_LABEL(label), where);
  KeepToRectangle(label);
}

void FitButtonText(GtkWidget* button) {
  FitTextOf(gtk_bin_get_child(GTK_BIN(button)), PANGO_ELLIPSIZE_END);
}

void OnOk(GtkButton*, gpointer data) {
  auto& prompt = *static_cast<PromptWindow*>(data);
  prompt.answer.okPressed = true;
  for (int i = 0; i < 3; ++i) {
    if (gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(prompt.choices[i])))
      prompt.answer.choice = i + 1;
  }
  prompt.answer.dontShowAgain =
      gtk_toggle_button_get_active(GTK_TOGGLE_BUTTON(prompt.dontShowAgain));
  prompt.loop.Finish();
}

gboolean OnDelete(GtkWidget*, GdkEvent*, gpointer data) {
  static_cast<PromptWindow*>(data)->loop.Finish();
  return TRUE;  // the window is destroyed once the loop has ended
}

gboolean OnKey(GtkWidget*, GdkEventKey* event, gpointer data) {
  auto& prompt = *static_cast<PromptWindow*>(data);
  switch (event->keyval) {
    case GDK_KEY_Return:
    case GDK_KEY_KP_Enter:
    case GDK_KEY_ISO_Enter:
      gtk_widget_activate(prompt.ok);
      return TRUE;
    case GDK_KEY_Escape:
      return TRUE;
    default:
      return FALSE;
  }
}

void Build(PromptWindow& prompt, const PromptContent& content) {
  prompt.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(prompt.window);
  gtk_window_set_title(window, WideToUtf8(content.caption).c_str());
  const DialogUnits units(prompt.window);
  GtkFixed* fixed = TemplateWindow(window, units, ORVANEL_PROMPT_SIZE);

  // In template order.
  prompt.ok = gtk_button_new_with_label(WideToUtf8(content.ok).c_str());
  PlaceControl(fixed, prompt.ok, units, {ORVANEL_PROMPT_OK_RECT});

  GtkWidget* intro = Label(content.intro);
  gtk_label_set_line_wrap(GTK_LABEL(intro), TRUE);
  gtk_label_set_line_wrap_mode(GTK_LABEL(intro), PANGO_WRAP_WORD_CHAR);
  // Its natural width is that of a line about as long as its rectangle is wide.
  gtk_label_set_max_width_chars(
      GTK_LABEL(intro), units.ToPixels({ORVANEL_PROMPT_INTRO_RECT}).width / units.charWidth());
  PlaceControl(fixed, intro, units, {ORVANEL_PROMPT_INTRO_RECT});
  PlaceControl(fixed, Label(content.fileLabel), units, {ORVANEL_PROMPT_FILE_LABEL_RECT});
  GtkWidget* fileName = Label(content.fileName);
  FitTextOf(fileName, PANGO_ELLIPSIZE_MIDDLE);  // the extension at the end stays in sight
  gtk_widget_set_tooltip_text(fileName, WideToUtf8(content.fileName).c_str());
  PlaceControl(fixed, fileName, units, {ORVANEL_PROMPT_FILE_NAME_RECT});
  PlaceControl(fixed, Label(content.question), units, {ORVANEL_PROMPT_QUESTION_RECT});

  const DialogRect choiceRects[3] = {{ORVANEL_PROMPT_SEARCH_RECT},
                                     {ORVANEL_PROMPT_READ_ABOUT_RECT},
                                     {ORVANEL_PROMPT_OPEN_WITH_RECT}};
  GSList* group = nullptr;
  for (int i = 0; i < 3; ++i) {
    prompt.choices[i] =
        gtk_radio_button_new_with_label(group, WideToUtf8(content.choices[i]).c_str());
    group = gtk_radio_button_get_group(GTK_RADIO_BUTTON(prompt.choices[i]));
    FitButtonText(prompt.choices[i]);
    PlaceControl(fixed, prompt.choices[i], units, choiceRects[i]);
  }
  gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(prompt.choices[0]), TRUE);

  prompt.dontShowAgain = gtk_check_button_new_with_label(WideToUtf8(content.dontShowAgain).c_str());
  FitButtonText(prompt.dontShowAgain);
  PlaceControl(fixed, prompt.dontShowAgain, units, {ORVANEL_PROMPT_DONT_SHOW_RECT});

  PlaceControl(fixed, gtk_separator_new(GTK_ORIENTATION_HORIZONTAL), units,
               {ORVANEL_PROMPT_SEPARATOR_RECT});

  gtk_widget_set_can_default(prompt.ok, TRUE);
  gtk_window_set_default(window, prompt.ok);
  g_signal_connect(prompt.ok, "clicked", G_CALLBACK(OnOk), &prompt);
  g_signal_connect(prompt.window, "delete-event", G_CALLBACK(OnDelete), &prompt);
  g_signal_connect(prompt.window, "key-press-event", G_CALLBACK(OnKey), &prompt);
}

}  // namespace

PromptAnswer RunPrompt(const PromptContent& content) {
  PromptWindow prompt;
  Build(prompt, content);
  gtk_widget_show_all(prompt.window);
  prompt.loop.Run();
  CloseWindow(prompt.window);
  return prompt.answer;
}

}  // namespace orvanel::platform::gtk
