// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestro::base {

/// A steady clock for timing: seconds, with milliseconds, from some fixed
/// start; it never goes back, not at midnight nor when the wall clock is set.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double Seconds() const = 0;
};

}  // namespace kestro::base
