#pragma once
// Questions and texts the emulator front-ends share.

#include <string>

#include "base/Message.h"

namespace kestro::emus {

/// "Revert to default": Yes/No, No the default.
base::Message RevertToDefaultQuestion();
/// "Revert to saved": Yes/No, No the default.
base::Message RevertToSavedQuestion();
/// Asked when Virtual-E is run with changed settings: OK/Cancel, Cancel the default.
base::Message SaveSettingChangesQuestion();
/// The start of an emulator failed; the launcher's reason.
base::Message StartFailedMessage(const std::string& title, const std::string& reason);

/// The Virtual-E window's help text.
std::string VirtualEHelpText();

}  // namespace kestro::emus
