// The program's string table, written once. The C++ frontends expand it into
// a lookup table; the Windows resource script expands it into a STRINGTABLE.
// "%EXT%" marks where the prompt puts the extension.
#pragma once

#define ORVANEL_STRING_TABLE(X)                                                              \
  X(102, "Orvanel")                                                                          \
  X(103, "Orvanel finds information about the file types on your system and provides the "  \
         "software needed to open them.")                                                    \
  X(104, "File:")                                                                            \
  X(105, "What would you like to do?")                                                       \
  X(106, "Search the web for software to open the file")                                     \
  X(107, "Read and learn about .%EXT% file")                                                 \
  X(108, "Open using software already on your computer")                                     \
  X(109, "Do not show again for .%EXT% file")                                                \
  X(110, "OK")                                                                               \
  X(111, "Update Orvanel")                                                                   \
  X(112, "Download and install the latest version of Orvanel?")                              \
  X(113, "Open with")                                                                        \
  X(114, "The downloaded update could not be verified. Nothing was installed.")
