// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An emulator's own words in the windows: the end of a start watched for a
// few seconds, and its log shown in a window of its own.

#include <QString>
#include <functional>
#include <memory>
#include <string>

class QObject;
class QWidget;

namespace kestro::base {
class ExitWatch;
}

namespace kestro::platform {

/// Watches a started program for the quick-failure time without holding up
/// the window; when it ends within that time, ended gets its exit status.
/// Nothing happens once context is gone.
void WhenEndedSoon(QObject* context, std::shared_ptr<base::ExitWatch> watch, std::function<void(int status)> ended);

/// Shows a log (newest run first) in the modal window frmRunLog.
void ShowRunLog(QWidget* parent, const QString& caption, const std::string& path);

}  // namespace kestro::platform
