#include "prompt/OkAction.h"

#include "online/Tracker.h"
#include "prompt/IgnoreList.h"
#include "prompt/InfoPageAddress.h"
#include "prompt/ShellActions.h"

namespace orvanel {

OkAction DecideOkAction(const platform::ui::PromptAnswer& answer, const Text& extension,
                        const Text& idQuery) {
  if (answer.dontShowAgain) return {OkAction::Kind::Ignore, Text()};
  switch (answer.choice) {
    case 1:
      return {OkAction::Kind::OpenPage, InfoPageAddress(kSearchPageKind, extension, idQuery)};
    case 2:
      return {OkAction::Kind::OpenPage, InfoPageAddress(kAboutPageKind, extension, idQuery)};
    case 3:
      return {OkAction::Kind::OpenWith, Text()};
    default:
      return {};
  }
}

void RunOkAction(const PromptState& state, const platform::ui::PromptAnswer& answer) {
  // The prompt's own Tracker lives only for this action; it sends nothing.
  const Tracker tracker;
  const OkAction action = DecideOkAction(answer, state.extension, tracker.IdQuery());
  switch (action.kind) {
    case OkAction::Kind::Ignore:
      IgnoreExtension();
      break;
    case OkAction::Kind::OpenPage:
      OpenUrl(action.address);
      break;
    case OkAction::Kind::OpenWith:
      ShowOpenWithDialog(state.filePath);
      break;
    case OkAction::Kind::Nothing:
      break;
  }
}

}  // namespace orvanel
