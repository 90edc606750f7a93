// SPDX-License-Identifier: GPL-3.0-or-later
#include "romdb/ScanAhead.h"

#include <algorithm>
#include <chrono>

namespace kestro::romdb {

namespace {

// How far the workers run ahead of the caller: enough to keep them busy,
// few enough that a cancelled run stops at once and memory stays small.
constexpr std::size_t kAhead = 16;

// How often a caller waiting for a file lets its window draw.
constexpr auto kWaitStep = std::chrono::milliseconds(15);

// An input that fails as soon as the run is stopped, so that a worker in the
// middle of a large file gives up at its next chunk.
class StoppableInput final : public InputFile {
public:
    StoppableInput(InputFile& input, const std::atomic<bool>& stop) : m_input(input), m_stop(stop) {}
    std::int64_t Size() const override { return m_input.Size(); }
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) override {
        return m_stop ? -1 : m_input.Read(buffer, size);
    }
    std::string Error() const override { return m_stop ? "The run was stopped." : m_input.Error(); }
    FileIdentity Identity() const override { return m_input.Identity(); }

private:
    InputFile& m_input;
    const std::atomic<bool>& m_stop;
};

}  // namespace

unsigned DefaultScanThreads() {
    return std::clamp(std::thread::hardware_concurrency(), 1u, 2u);
}

ScanAhead::ScanAhead(std::size_t count, Opener open, const HashNeeds& needs, unsigned threads)
    : m_open(std::move(open)), m_needs(needs), m_slots(count) {
    threads = std::max(1u, threads);
    for (unsigned t = 0; t < threads && t < count; ++t) m_workers.emplace_back([this] { Work(); });
}

ScanAhead::~ScanAhead() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_space.notify_all();
    for (std::thread& worker : m_workers) worker.join();
}

void ScanAhead::Work() {
    std::vector<std::uint8_t> buffer;
    HashRun hashes;
    for (;;) {
        std::size_t index = 0;
        {
            std::unique_lock lock(m_mutex);
            m_space.wait(lock, [this] { return m_stop || m_next >= m_slots.size() || m_next < m_taken + kAhead; });
            if (m_stop || m_next >= m_slots.size()) return;
            index = m_next++;
        }
        Slot slot = ScanOne(index, buffer, hashes);
        {
            std::lock_guard lock(m_mutex);
            m_slots[index] = std::move(slot);
            m_slots[index].done = true;
        }
        m_done.notify_all();
    }
}

ScanAhead::Slot ScanAhead::ScanOne(std::size_t index, std::vector<std::uint8_t>& buffer, HashRun& hashes) {
    Slot slot;
    try {
        std::string error;
        const std::unique_ptr<InputFile> input = m_open(index, error);
        if (input) {
            StoppableInput stoppable(*input, m_stop);
            slot.scan = ScanInput(stoppable, buffer, {}, &hashes, m_needs);
        } else {
            slot.scan.result = RomScan::Result::Unreadable;
            slot.scan.error = std::move(error);
        }
    } catch (...) {
        slot.fault = std::current_exception();
    }
    return slot;
}

RomScan ScanAhead::Take(std::size_t index, const std::function<void()>& wait) {
    std::unique_lock lock(m_mutex);
    if (index > m_taken) {
        // Files skipped (a cancelled run's) let the workers on to this one.
        m_taken = index;
        m_space.notify_all();
    }
    while (!m_done.wait_for(lock, kWaitStep, [&] { return m_slots[index].done; })) {
        lock.unlock();
        if (wait) wait();
        lock.lock();
    }
    Slot slot = std::move(m_slots[index]);
    m_slots[index] = {};
    m_taken = std::max(m_taken, index + 1);
    lock.unlock();
    m_space.notify_all();
    if (slot.fault) std::rethrow_exception(slot.fault);
    return std::move(slot.scan);
}

}  // namespace kestro::romdb
