// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kestro::base {

/// The clock: seconds since midnight, with milliseconds.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double SecondsSinceMidnight() const = 0;
};

}  // namespace kestro::base
