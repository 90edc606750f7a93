// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "romdb/DatFile.h"
#include "romdb/RomDbFixtures.h"
#include "romdb/ScanAhead.h"

using namespace kestro;
using namespace kestro::romdb;
using test::CollectionTest;

namespace {

constexpr HashNeeds kAll{.crc = true, .sha1 = true, .md5 = true};

// Bytes in memory as a file, failing after failAt bytes, or endless; each
// read waits for the gate to open.
class MemoryInput final : public InputFile {
public:
    MemoryInput(const std::vector<std::uint8_t>& bytes, std::int64_t failAt, const std::atomic<bool>& gate)
        : m_bytes(bytes), m_failAt(failAt), m_gate(gate) {}
    std::int64_t Size() const override { return m_failAt == -2 ? std::int64_t{1} << 50 : std::ssize(m_bytes); }
    std::ptrdiff_t Read(std::uint8_t* buffer, std::size_t size) override {
        while (!m_gate) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (m_failAt == -2) return static_cast<std::ptrdiff_t>(size);
        if (m_failAt >= 0 && std::cmp_greater_equal(m_at, m_failAt)) return -1;
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
    const std::atomic<bool>& m_gate;
};

std::string Summary(const RomScan& s) {
    return std::to_string(static_cast<int>(s.result)) + " " + std::to_string(s.size) + " " + HeaderDigits(s.header) +
           " " + std::to_string(s.wholeSum) + " " + std::to_string(s.headerSum) + " " + s.error + " " +
           CrcText(s.hashes.crc) + " " + s.hashes.sha1 + " " + s.hashes.md5;
}

// Every row, report and message of a run, and its progress, in order.
std::string Summary(const Collection& c, const test::RecordingHost& host) {
    std::string text;
    for (const FileRow& r : c.Rows()) {
        text += r.displayLine + "|" + r.size + "|" + r.header + "|" + r.checksum + "|" + r.identified + "|" +
                CrcText(r.hashes.crc) + "|" + r.hashes.sha1 + "|" + r.hashes.md5 + "\n";
    }
    for (const base::Message& m : host.messages) text += m.title + ": " + m.text + "\n";
    for (int p : host.progress) text += std::to_string(p) + " ";
    return text + c.reports().have() + c.reports().miss() + c.reports().dupes();
}

}  // namespace

TEST(ScanAhead, ScansComeInOrderAsOnOneThreadAndAStopAbandonsLongReads) {
    std::vector<std::vector<std::uint8_t>> files;
    for (std::uint32_t i = 0; i < 40; ++i) {
        files.push_back(i % 7 == 3 ? std::vector<std::uint8_t>(i, 1)
                                   : test::RomBuilder::Unknown().Size(1024 * (i % 5 + 1) + i).Seed(i).Build());
    }
    // File 0 waits until the caller has waited twice; 5 cannot be opened,
    // 9 fails half-way, the opener of 25 throws.
    std::atomic<bool> gate = false;
    auto open = [&](std::size_t i, std::string& error) -> std::unique_ptr<InputFile> {
        if (i == 5) return error = "gone", nullptr;
        if (i == 25) throw std::runtime_error("out of memory");
        return std::make_unique<MemoryInput>(files[i], i == 9 ? 2048 : -1, gate);
    };
    ScanAhead ahead(files.size(), open, kAll, 2);
    std::vector<std::uint8_t> buffer;
    HashRun hashes;
    auto alone = [&](std::size_t i) {
        std::string error;
        if (auto input = open(i, error)) return ScanInput(*input, buffer, {}, &hashes, kAll);
        RomScan scan;
        scan.result = RomScan::Result::Unreadable;
        scan.error = error;
        return scan;
    };
    int waits = 0;
    const RomScan first = ahead.Take(0, [&] { gate = ++waits == 2; });
    EXPECT_EQ(Summary(first), Summary(alone(0)));
    EXPECT_EQ(waits, 2) << "the caller's window draws while it waits";
    for (std::size_t i = 1; i < 25; ++i) EXPECT_EQ(Summary(ahead.Take(i, {})), Summary(alone(i))) << i;
    EXPECT_THROW(ahead.Take(25, {}), std::runtime_error);
    // Skipping more files than the workers run ahead (a cancelled run) still gets the last.
    EXPECT_EQ(Summary(ahead.Take(39, {})), Summary(alone(39)));

    const auto start = std::chrono::steady_clock::now();
    {
        ScanAhead endless(
            3, [&](std::size_t, std::string&) { return std::make_unique<MemoryInput>(files[0], -2, gate); }, kAll, 2);
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

// A DAT collection with an unreadable file and a refused archive entry,
// identified on worker threads and on the caller's thread alike.
TEST_F(CollectionTest, WorkerThreadsGiveTheSameRunAsOneThreadAndCancelAsPromptly) {
    test::WriteDatCollection(dir.Path());
    test::WriteZip(dir.File("bomb.zip"), {{"bomb.vb", std::vector<std::uint8_t>((17u << 20), 0)}});
    for (int i = 0; i < 40; ++i) test::WriteBytes(dir.File("x" + std::to_string(i) + ".vb"), test::DumpBytes(100 + i));
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
    threadedHost.onEvents = [&](int events) {
        if (events == 2) parallel.RequestCancel();
    };
    parallel.Run({.detailed = true});
    EXPECT_EQ(threadedHost.messages.back().text, "ROM identiification aborted.");
    EXPECT_EQ(parallel.Status(parallel.Rows().size() - 1), "[YET TO BE IDENTIFIED]");

    threadedHost = {};
    parallel.Run({.detailed = true});
    EXPECT_EQ(Summary(parallel, threadedHost), Summary(collection, host));
}
