// Natively the narrow charset is UTF-8.
#include "platform/CodePage.h"

namespace orvanel::platform {

std::string WideToAnsi(const Text& text) { return WideToUtf8(text); }

}  // namespace orvanel::platform
