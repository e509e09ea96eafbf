#include "prompt/PromptTexts.h"

#include "resources/ResourceIds.h"

namespace orvanel {
namespace {

constexpr char16_t kExtensionToken[] = u"%EXT%";
constexpr size_t kExtensionTokenLength = sizeof kExtensionToken / sizeof kExtensionToken[0] - 1;

}  // namespace

Text FillExtension(const Text& label, const Text& extension) {
  const size_t token = label.find(kExtensionToken);
  if (token == Text::npos) return label;
  Text filled = label;
  filled.replace(token, kExtensionTokenLength, extension);
  return filled;
}

platform::ui::PromptContent BuildPromptContent(const PromptState& state) {
  const auto load = [&](unsigned id) { return platform::LoadStringResource(state.instance, id); };
  platform::ui::PromptContent content;
  content.caption = load(IDS_PROMPT_CAPTION);
  content.intro = load(IDS_PROMPT_INTRO);
  content.fileLabel = load(IDS_PROMPT_FILE_LABEL);
  content.fileName = state.fileName;
  content.question = load(IDS_PROMPT_QUESTION);
  content.choices[0] = load(IDS_PROMPT_SEARCH);
  content.choices[1] = FillExtension(load(IDS_PROMPT_READ_ABOUT), state.extension);
  content.choices[2] = load(IDS_PROMPT_OPEN_WITH);
  content.dontShowAgain = FillExtension(load(IDS_PROMPT_DONT_SHOW), state.extension);
  content.ok = load(IDS_PROMPT_OK);
  return content;
}

}  // namespace orvanel
