#pragma once

namespace kestro::app {

/// The clock: seconds since midnight, with milliseconds.
class Clock {
public:
    virtual ~Clock() = default;
    virtual double SecondsSinceMidnight() const = 0;
};

}  // namespace kestro::app
