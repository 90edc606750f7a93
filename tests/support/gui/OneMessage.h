#pragma once
// The one message box a step should show.

#include <gtest/gtest.h>

#include "support/gui/TestServices.h"

namespace kestro::test {

/// Takes the boxes shown so far; exactly one is expected (else the test fails
/// and an empty message comes back, so that the checks after it fail too).
inline base::Message TakeOne(ScriptedMessageBox& boxes) {
    const auto shown = boxes.Take();
    EXPECT_EQ(shown.size(), 1u) << (shown.empty() ? "no box" : shown.back().title);
    return shown.size() == 1 ? shown[0] : base::Message{};
}

}  // namespace kestro::test
