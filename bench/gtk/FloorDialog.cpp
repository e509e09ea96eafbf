// The floor of the start-up benchmark: the least a GTK 3 program does to show a
// dialog with the prompt's widgets (texts, three radio buttons, a check box, a
// separator and a button at fixed places), and nothing else.
#include <gtk/gtk.h>

namespace {

void Put(GtkFixed* fixed, GtkWidget* widget, int x, int y, int width, int height) {
  gtk_widget_set_size_request(widget, width, height);
  gtk_fixed_put(fixed, widget, x, y);
}

}  // namespace

int main(int argc, char** argv) {
  gtk_init(&argc, &argv);
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  gtk_window_set_title(GTK_WINDOW(window), "Floor");
  gtk_window_set_resizable(GTK_WINDOW(window), FALSE);
  gtk_window_set_position(GTK_WINDOW(window), GTK_WIN_POS_CENTER);
  GtkFixed* fixed = GTK_FIXED(gtk_fixed_new());
  gtk_container_add(GTK_CONTAINER(window), GTK_WIDGET(fixed));
  GtkWidget* intro = gtk_label_new(
      "Orvanel finds information about the file types on your system and provides the "
      "software needed to open them.");
  gtk_label_set_line_wrap(GTK_LABEL(intro), TRUE);
  gtk_label_set_max_width_chars(GTK_LABEL(intro), 70);
  Put(fixed, intro, 14, 10, 592, 60);
  Put(fixed, gtk_label_new("File:"), 14, 68, 28, 17);
  Put(fixed, gtk_label_new("report.xyz"), 48, 68, 218, 17);
  Put(fixed, gtk_label_new("What would you like to do?"), 14, 106, 592, 17);
  GtkWidget* first = gtk_radio_button_new_with_label(nullptr, "Search the web");
  Put(fixed, first, 54, 149, 552, 21);
  GSList* group = gtk_radio_button_get_group(GTK_RADIO_BUTTON(first));
  GtkWidget* second = gtk_radio_button_new_with_label(group, "Read and learn about .xyz file");
  Put(fixed, second, 54, 187, 552, 21);
  group = gtk_radio_button_get_group(GTK_RADIO_BUTTON(second));
  Put(fixed, gtk_radio_button_new_with_label(group, "Open using software already there"), 54, 223,
      552, 21);
  Put(fixed, gtk_separator_new(GTK_ORIENTATION_HORIZONTAL), 14, 261, 592, 2);
  Put(fixed, gtk_check_button_new_with_label("Do not show again for .xyz file"), 14, 281, 486, 21);
  Put(fixed, gtk_button_new_with_label("OK"), 506, 274, 100, 30);
  g_signal_connect(window, "destroy", G_CALLBACK(gtk_main_quit), nullptr);
  gtk_widget_show_all(window);
  gtk_main();
  return 0;
}
