// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The utility chooser: the Virtual-E C Compiler, Virtual-Environment and the
// VB Development Kit, each offered when the options switched it on. Choosing
// one whose program is present closes the chooser and starts it.

#include "emus/frmChooser.h"

namespace kestro::emus {

class frmUtils final : public frmChooser {
    Q_OBJECT
public:
    explicit frmUtils(platform::Services& services, QWidget* parent = nullptr);

private:
    void ProgramFound(base::Program program, const Choice& choice) override;
};

/// Looks for a development tool in its configured directory and starts it
/// (or says why not), as choosing it in the chooser does once the chooser has
/// closed. False when its program is missing.
bool StartUtility(platform::Services& services, QWidget* parent, base::Program program);

}  // namespace kestro::emus
