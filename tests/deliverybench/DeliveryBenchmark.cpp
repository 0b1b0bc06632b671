// How fast a report is zipped and mailed, and how much memory mailing takes: a benchmark, not a timed
// test. The ctest run uses small files and a loopback server; tools/bench-delivery.sh runs it on a
// 20 MB folder, a 6 MB attachment (next to Info-ZIP and Python's smtplib) and a 100 MB attachment.
// It reads:
//     BRAN_BENCH_FOLDER      the report folder to zip (Windows path)
//     BRAN_BENCH_ARCHIVE     where the archive goes
//     BRAN_BENCH_ATTACHMENT  the file SendMail sends for the memory figure
//     BRAN_SMTP_SERVER       host:port of the server the report is mailed to
// and prints "zip <seconds> <bytes>", "mail <seconds>" and
// "mailmemory <attachment bytes> <peak bytes before> <peak bytes after> <block bytes>".
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>

#include "../delivery/DeliveryTestSupport.h"
#include "LoopbackPeer.h"
#include "mail/SMTP.h"
#include "mail/SendMail.h"
#include "platform/Registry.h"

namespace {
double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

TEST_F(DeliveryTest, BenchmarkZipReportFolder) {
    std::string folder = EnvironmentValue("BRAN_BENCH_FOLDER"), archive = EnvironmentValue("BRAN_BENCH_ARCHIVE");
    if (folder.empty()) {
        AddReportFile("CASE.RTF", std::string(20000, 'r'));
        AddReportFile("ruis.bin", NoiseBytes(200000, 1));
        folder = Report->Folder();
    }
    if (archive.empty()) archive = Folder / "Case.zip";
    TMessageRecorder boxes;
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Delivery.ZipReportFolder(archive, folder));
    double seconds = SecondsSince(start);
    printf("zip %.3f %llu\n", seconds, static_cast<unsigned long long>(FileSize(archive).value_or(0)));
    EXPECT_TRUE(boxes.Texts().empty());
}

TEST_F(DeliveryTest, BenchmarkEmailReport) {
    std::string folder = EnvironmentValue("BRAN_BENCH_FOLDER"), server = EnvironmentValue("BRAN_SMTP_SERVER");
    if (!folder.empty()) {
        // The benchmark's folder holds the attachment; the report is mailed from a copy in its own folder.
        for (const TSearchRec& r : FindFiles(IncludeTrailingBackslash(folder) + "*.*", faAnyFile))
            ASSERT_TRUE(FileCopy(IncludeTrailingBackslash(folder) + r.Name, ReportFolder() + r.Name, false));
    } else {
        AddReportFile("bijlage.bin", NoiseBytes(100000, 2));
    }
    std::unique_ptr<TLoopbackPeer> peer;
    if (server.empty()) {
        peer = std::make_unique<TLoopbackPeer>(SwallowingSmtpServer());
        server = "127.0.0.1:" + std::to_string(peer->Port());
    }
    TRegistrySandbox registry;
    TUser user;
    user.LastName().SetAsString("Jansen");
    user.HouseNumber().SetAsString("12");
    user.ZipCode().SetAsString("1234 AB");
    user.Email().SetAsString("p.jansen@example.nl");
    user.Mailserver().SetAsString(server);
    App.HelpDeskEmailAddress().SetAsString("helpdesk@kasboek.nl");
    TMessageRecorder boxes;
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(Delivery.EmailReport(*Report, user));
    printf("mail %.3f\n", SecondsSince(start));
    EXPECT_EQ(boxes.Texts().back(), "Het helpdeskrapport is verzonden.");
}

TEST_F(DeliveryTest, BenchmarkMailMemory) {
    std::string file = EnvironmentValue("BRAN_BENCH_ATTACHMENT"), server = EnvironmentValue("BRAN_SMTP_SERVER");
    if (file.empty()) {
        // Written a piece at a time: the test itself holds no attachment in memory.
        file = Folder / "CASE.ZIP";
        WriteRepeated(file, NoiseBytes(1024 * 1024, 3), 8);
    }
    std::unique_ptr<TLoopbackPeer> peer;
    if (server.empty()) {
        peer = std::make_unique<TLoopbackPeer>(SwallowingSmtpServer());
        server = "127.0.0.1:" + std::to_string(peer->Port());
    }
    const uint64_t before = PeakMemory();
    auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(SendMail("p.jansen@example.nl", {"helpdesk@kasboek.nl"}, "1234AB12aJan", {file}, server, {}, {}));
    const double seconds = SecondsSince(start);
    printf("mailmemory %llu %llu %llu %llu %.3f\n", static_cast<unsigned long long>(FileSize(file).value_or(0)),
           static_cast<unsigned long long>(before), static_cast<unsigned long long>(PeakMemory()),
           static_cast<unsigned long long>(TmsSMTP::BlockSize), seconds);
}
