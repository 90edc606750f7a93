// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reading and hashing a run's files on worker threads, a few files ahead of
// the caller, who takes each file's scan in the listing's order. The files
// are read once each, as on one thread; only the hashing runs side by side.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "romdb/ContentHash.h"
#include "romdb/FileOps.h"
#include "romdb/RomScan.h"

namespace kestro::romdb {

class ScanAhead {
public:
    /// Opens file index, or gives nothing with the reason; called on the workers.
    using Opener = std::function<std::unique_ptr<InputFile>(std::size_t index, std::string& error)>;

    /// Starts threads workers (at least one) over files 0 .. count - 1.
    ScanAhead(std::size_t count, Opener open, const HashNeeds& needs, unsigned threads);
    /// Stops the workers, abandoning files being read, and waits for them.
    ~ScanAhead();
    ScanAhead(const ScanAhead&) = delete;
    ScanAhead& operator=(const ScanAhead&) = delete;

    /// The scan of file index, waiting for it when it is not done yet; wait
    /// runs every few milliseconds meanwhile. Files are taken in order; one
    /// skipped is never waited for. What a worker threw is thrown here.
    RomScan Take(std::size_t index, const std::function<void()>& wait);

private:
    struct Slot {
        bool done = false;
        RomScan scan;
        std::exception_ptr fault;
    };
    void Work();
    Slot ScanOne(std::size_t index, std::vector<std::uint8_t>& buffer, HashRun& hashes);

    Opener m_open;
    HashNeeds m_needs;
    std::mutex m_mutex;
    std::condition_variable m_done;   ///< a slot was filled
    std::condition_variable m_space;  ///< the caller took one, or stop
    std::vector<Slot> m_slots;
    std::size_t m_next = 0;   ///< the next file a worker claims
    std::size_t m_taken = 0;  ///< files before this one were taken or skipped
    std::atomic<bool> m_stop = false;
    std::vector<std::thread> m_workers;
};

/// Workers a run uses by default: enough to hash while another file is
/// read; more only compete for the disk.
unsigned DefaultScanThreads();

}  // namespace kestro::romdb
