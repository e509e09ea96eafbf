// What confirming the prompt does.
#pragma once

#include "common/Text.h"
#include "platform/Ui.h"
#include "prompt/PromptState.h"

namespace orvanel {

struct OkAction {
  enum class Kind { Nothing, Ignore, OpenPage, OpenWith };
  Kind kind = Kind::Nothing;
  Text address;  // the page, for OpenPage
};

// The ticked box wins over every choice; else choice 1 is the search page, choice 2
// the page about the type, choice 3 the application chooser.
OkAction DecideOkAction(const platform::ui::PromptAnswer& answer, const Text& extension,
                        const Text& idQuery);

// Takes the identifier query from a Tracker of its own and carries out the decision.
void RunOkAction(const PromptState& state, const platform::ui::PromptAnswer& answer);

}  // namespace orvanel
