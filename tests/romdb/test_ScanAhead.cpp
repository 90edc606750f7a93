#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "romdb/DatFile.h"
#include "romdb/DatFixtures.h"
#include "romdb/RomDbFixtures.h"
#include "romdb/ScanAhead.h"
#include "romdb/ZipArchive.h"

using namespace kestro;
using namespace kestro::romdb;
using test::CollectionTest;

namespace {

constexpr HashNeeds kAll{.crc = true, .sha1 = true, .md5 = true};

// Bytes in memory as a file; it can fail after failAt bytes, or hold back
// its bytes until the gate opens.
class MemoryInput final : public InputFile {
public:
    explicit MemoryInput(const std::vector<std::uint8_t>& bytes, std::int64_t failAt = -1,
                         const std::atomic<bool>* gate = nullptr)
        : m_bytes(bytes), m_failAt(failAt), m_gate(gate) {}
    std::int64_t Size() const override { return static_cast<std::int64_t>(m_bytes.size()); }
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) override {
        while (m_gate != nullptr && !*m_gate) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (m_failAt >= 0 && static_cast<std::int64_t>(m_at) >= m_failAt) return -1;
        const std::size_t n = std::min(size, m_bytes.size() - m_at);
        std::copy_n(m_bytes.begin() + static_cast<std::ptrdiff_t>(m_at), n, buffer);
        m_at += n;
        return static_cast<std::ptrdiff_t>(n);
    }
    std::string Error() const override { return "Input/output error"; }

private:
    const std::vector<std::uint8_t>& m_bytes;
    std::size_t m_at = 0;
    std::int64_t m_failAt;
    const std::atomic<bool>* m_gate;
};

// What a run keeps of a scan, for comparing.
std::string Summary(const RomScan& s) {
    return std::to_string(static_cast<int>(s.result)) + " " + std::to_string(s.size) + " " + HeaderDigits(s.header) +
           " " + std::to_string(s.wholeSum) + " " + std::to_string(s.headerSum) + " " + s.error + " " +
           (s.hashes.hasCrc ? CrcText(s.hashes.crc) : "-") + " " + s.hashes.sha1 + " " + s.hashes.md5;
}

std::string Summary(const Collection& c) {
    std::string text;
    for (const FileRow& r : c.Rows()) {
        text += r.name + "|" + r.displayLine + "|" + r.size + "|" + r.header + "|" + r.checksum + "|" + r.identified +
                "|" + (r.hashes.hasCrc ? CrcText(r.hashes.crc) : "-") + "|" + r.hashes.sha1 + "|" + r.hashes.md5 + "\n";
    }
    return text + c.reports().have() + c.reports().miss() + c.reports().dupes();
}

std::string Summary(const test::RecordingHost& host) {
    std::string text;
    for (const base::Message& m : host.messages) text += m.title + ": " + m.text + "\n";
    for (int p : host.progress) text += std::to_string(p) + " ";
    return text + std::to_string(host.steps.size());
}

}  // namespace

TEST(ScanAhead, ScansComeInOrderAsOnOneThreadWithFaultsWhereTheyHappened) {
    std::vector<std::vector<std::uint8_t>> files;
    for (std::uint32_t i = 0; i < 40; ++i) {
        files.push_back(i % 7 == 3 ? std::vector<std::uint8_t>(i, 1)
                                   : test::RomBuilder::Unknown().Size(1024 * (i % 5 + 1) + i).Seed(i).Build());
    }
    // File 5 cannot be opened, 9 fails half-way, the opener of 25 throws.
    auto open = [&](std::size_t i, std::string& error) -> std::unique_ptr<InputFile> {
        if (i == 5) return error = "gone", nullptr;
        if (i == 25) throw std::runtime_error("out of memory");
        return std::make_unique<MemoryInput>(files[i], i == 9 ? 2048 : -1);
    };
    ScanAhead ahead(files.size(), open, kAll, 2);
    HashRun hashes;
    std::vector<std::uint8_t> buffer;
    auto inline_ = [&](std::size_t i) {
        std::string error;
        auto input = open(i, error);
        RomScan scan;
        if (!input) {
            scan.result = RomScan::Result::Unreadable;
            scan.error = error;
            return scan;
        }
        return ScanInput(*input, buffer, {}, &hashes, kAll);
    };
    for (std::size_t i = 0; i < 25; ++i) EXPECT_EQ(Summary(ahead.Take(i, {})), Summary(inline_(i))) << i;
    EXPECT_THROW(ahead.Take(25, {}), std::runtime_error);
    // Skipping more files than the workers run ahead (a cancelled run) still gets the last.
    EXPECT_EQ(Summary(ahead.Take(39, {})), Summary(inline_(39)));
}

TEST(ScanAhead, TheCallerDrawsWhileItWaitsAndStoppingAbandonsLongReads) {
    const std::vector<std::uint8_t> rom = test::RomBuilder::Unknown().Size(4096).Build();
    std::atomic<bool> gate = false;
    int waits = 0;
    {
        ScanAhead ahead(
            1, [&](std::size_t, std::string&) { return std::make_unique<MemoryInput>(rom, -1, &gate); }, kAll, 2);
        const RomScan scan = ahead.Take(0, [&] { gate = ++waits == 3; });
        EXPECT_EQ(waits, 3);
        EXPECT_EQ(scan.result, RomScan::Result::Valid);
    }
    // A file that never ends stops being read when the run is given up.
    class Endless final : public InputFile {
    public:
        std::int64_t Size() const override { return std::int64_t{1} << 50; }
        std::ptrdiff_t Read(std::uint8_t*, std::size_t size) override { return static_cast<std::ptrdiff_t>(size); }
        std::string Error() const override { return {}; }
    };
    const auto start = std::chrono::steady_clock::now();
    {
        ScanAhead ahead(
            3, [](std::size_t, std::string&) { return std::make_unique<Endless>(); }, kAll, 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// The same DAT collection, with an unreadable file and a refused archive
// entry, identified on worker threads and on the caller's thread alike.
TEST_F(CollectionTest, WorkerThreadsGiveTheSameRunAsOneThreadAndCancelAsPromptly) {
    test::WriteDatCollection(dir.Path());
    test::WriteZip(dir.File("bomb.zip"), {{"bomb.vb", std::vector<std::uint8_t>((17u << 20), 0)}});
    for (int i = 0; i < 40; ++i)
        test::WriteBytes(dir.File("extra" + std::to_string(i) + ".vb"), test::DumpBytes(100 + i));
    DatRead read = ParseDat(test::LogiqxDat("Nintendo - Virtual Boy", test::CollectionGames()));
    ASSERT_TRUE(read) << read.error;
    const auto catalogue = std::make_shared<const Catalogue>(std::move(*read.dat));
    files.failOpen = [](const std::string& p) { return p.ends_with("alarm.vb"); };

    collection.SetCatalogue(catalogue);
    collection.SetScanThreads(0);
    Run({.detailed = true});
    ASSERT_NE(host.Text("Files not read").find("alarm.vb"), std::string::npos);

    test::FaultyFileOps threaded;
    threaded.anyThread = true;
    threaded.failOpen = files.failOpen;
    test::RecordingHost threadedHost;
    Collection parallel(threaded, threadedHost, [] { return 0.25; });
    parallel.SetCatalogue(catalogue);
    parallel.SetScanThreads(2);
    parallel.SetListingDirectory(dir.Path().string());
    // Cancelled at its first test, the run stops with the rest unread.
    threadedHost.onEvents = [&](int events) {
        if (events == 2) parallel.RequestCancel();
    };
    parallel.Run({.detailed = true});
    EXPECT_EQ(threadedHost.messages.back().text, "ROM identiification aborted.");
    EXPECT_EQ(parallel.Status(parallel.Rows().size() - 1), "[YET TO BE IDENTIFIED]");

    threadedHost = {};
    parallel.Run({.detailed = true});
    EXPECT_EQ(Summary(parallel), Summary(collection));
    EXPECT_EQ(Summary(threadedHost), Summary(host));
}
