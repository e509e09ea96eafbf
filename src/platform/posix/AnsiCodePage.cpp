// Natively the narrow charset is UTF-8.
#include "common/Text.h"

namespace orvanel {

std::string WideToAnsi(const Text& text) { return WideToUtf8(text); }

}  // namespace orvanel
