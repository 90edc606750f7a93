// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Virtual-E's own question and help text (the front-ends' shared ones are in EmulatorRun.h).

#include <string>

#include "base/Message.h"

namespace kestro::emus {

/// Asked when Virtual-E is run with changed settings: OK/Cancel, Cancel the default.
base::Message SaveSettingChangesQuestion();

/// The Virtual-E window's help text.
std::string VirtualEHelpText();

}  // namespace kestro::emus
