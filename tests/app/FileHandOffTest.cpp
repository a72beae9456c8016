// SPDX-License-Identifier: GPL-3.0-or-later
// A later start hands its file to the running copy through the program folder's socket.
#include <gtest/gtest.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTest>
#include <filesystem>
#include <future>
#include <string>
#include <tuple>
#include <vector>

#include "app/CommandLine.h"
#include "app/FileHandOff.h"
#include "support/PlotWindowFixture.h"
#include "support/TestEnvironment.h"
#include "ui/app/QtHandedFiles.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;

// Hands the file over on a thread of its own while this thread's event loop lets the server
// answer. Returns what HandOffFile returned.
bool HandOverWhileServing(const QString& socket, const std::string& file, int timeoutMs = 5000) {
    std::future<bool> done =
        std::async(std::launch::async, [&] { return HandOffFile(socket, file, timeoutMs); });
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return done.wait_for(std::chrono::seconds(0)) == std::future_status::ready; },
        timeoutMs + 5000));
    return done.get();
}

TEST(FileHandOff, EachFileReachesTheRunningCopyByTheBytesOfItsName) {
    test::TempProgramDir runtime(false);
    const QString socket = HandOffSocketPath(runtime.path(), "/home/ann/.local/share/sabrix");
    FileHandOffServer server(socket);
    ASSERT_TRUE(server.listen());
    std::vector<QByteArray> received;
    QObject::connect(&server, &FileHandOffServer::fileReceived,
                     [&](const QByteArray& path) { received.push_back(path); });
    // A blank, a name that is not UTF-8, and a name as long as a path may be.
    const std::vector<std::string> files = {"/home/ann/stars/rw aur.txt",
                                            "/home/ann/stars/\xE9toile.txt",
                                            "/" + std::string(4095, 'x')};
    for (const std::string& file : files) EXPECT_TRUE(HandOverWhileServing(socket, file));
    ASSERT_EQ(received.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) EXPECT_EQ(received[i].toStdString(), files[i]);
}

TEST(FileHandOff, OptionsOfTheCommandLineTravelWithTheFileAndANameAloneIsAsBefore) {
    const CommandLineRequest request =
        ParseCommandLine({"lc1.dat", "--view", "0.1,2455000.123456789,-3,1e3", "--time-offset",
                          "2450000.5", "--three-column"});
    ASSERT_EQ(request.kind, CommandLineRequest::Kind::Gui);
    const HandedFile handed = ReadHandOffMessage(HandOffMessage("/d/lc1.dat", request));
    EXPECT_EQ(handed.path, "/d/lc1.dat");
    EXPECT_EQ(handed.load.kind, ObservationFileKind::ThreeColumnFile);
    EXPECT_EQ(handed.load.timeOffset, 2450000.5);
    ASSERT_TRUE(handed.view);
    EXPECT_EQ(std::make_tuple(handed.view->jdLeft, handed.view->jdRight, handed.view->magTop,
                              handed.view->magBottom),
              std::make_tuple(0.1, 2455000.123456789, -3.0, 1e3));
    EXPECT_EQ(HandOffMessage("/d/a b.txt", ParseCommandLine({"a b.txt"})), "/d/a b.txt");
    // A later version's option is passed over: the file loads as a dropped one.
    const HandedFile unknown = ReadHandOffMessage(std::string("/d/x.txt\0--later", 16));
    EXPECT_EQ(unknown.path, "/d/x.txt");
    EXPECT_FALSE(unknown.load.kind || unknown.load.timeOffset || unknown.view);
}

// A later start whose message reaches the running copy in pieces, each piece read there before
// the next is sent: part of the length, the rest of it with part of the path, then the rest.
TEST(FileHandOff, AMessageArrivingInPiecesIsOneFileWithItsOptions) {
    test::TempProgramDir runtime(false);
    const QString socket = HandOffSocketPath(runtime.path(), runtime.path());
    FileHandOffServer server(socket);
    ASSERT_TRUE(server.listen());
    std::vector<QByteArray> received;
    QObject::connect(&server, &FileHandOffServer::fileReceived,
                     [&](const QByteArray& message) { received.push_back(message); });
    const std::string message =
        HandOffMessage("/home/ann/stars/rw aur.dat",
                       ParseCommandLine({"rw aur.dat", "--star-file", "--view", "1,2,3,4"}));
    std::string bytes(4, '\0');
    for (size_t i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((message.size() >> (24 - 8 * i)) & 0xFF);
    bytes += message;

    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socket.toStdString().copy(address.sun_path, sizeof(address.sun_path) - 1);
    ASSERT_EQ(::connect(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    // Nothing the copy has not read yet is left in the socket.
    const auto readThere = [fd] {
        int unread = -1;
        return ::ioctl(fd, SIOCOUTQ, &unread) == 0 && unread == 0;
    };
    const size_t cuts[] = {0, 2, 20, bytes.size()};
    for (size_t k = 0; k + 1 < std::size(cuts); ++k) {
        EXPECT_TRUE(received.empty()) << "taken after " << cuts[k] << " bytes";
        const auto length = static_cast<ssize_t>(cuts[k + 1] - cuts[k]);
        ASSERT_EQ(::write(fd, bytes.data() + cuts[k], static_cast<size_t>(length)), length);
        ASSERT_TRUE(QTest::qWaitFor(readThere, 5000));
    }
    std::string answer;
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            char c = 0;
            while (::recv(fd, &c, 1, MSG_DONTWAIT) == 1) answer += c;
            return answer.size() >= 2;
        },
        5000));
    ::close(fd);
    EXPECT_EQ(answer, "OK");
    ASSERT_EQ(received.size(), 1u);
    const HandedFile handed = ReadHandOffMessage(received.front().toStdString());
    EXPECT_EQ(handed.path, "/home/ann/stars/rw aur.dat");
    EXPECT_EQ(handed.load.kind, ObservationFileKind::StarFile);
    ASSERT_TRUE(handed.view);
    EXPECT_EQ(handed.view->magBottom, 4);
}

TEST(FileHandOff, NobodyListeningRefusesAtOnceAndALeftSocketIsTakenOver) {
    test::TempProgramDir runtime(false);
    const QString socket = HandOffSocketPath(runtime.path(), runtime.path());
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(HandOffFile(socket, "/tmp/a.txt"));
    // The socket of a copy that was killed: the file is still there, nobody listens.
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socket.toStdString();
    path.copy(address.sun_path, sizeof(address.sun_path) - 1);
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(fs::exists(path));
    EXPECT_FALSE(HandOffFile(socket, "/tmp/a.txt"));
    EXPECT_LT(clock.elapsed(), 2000);

    FileHandOffServer server(socket);
    ASSERT_TRUE(server.listen());
    int received = 0;
    QObject::connect(&server, &FileHandOffServer::fileReceived, [&] { ++received; });
    EXPECT_TRUE(HandOverWhileServing(socket, "/tmp/a.txt"));
    EXPECT_EQ(received, 1);
    // No runtime folder: nothing to listen on, nothing handed over.
    EXPECT_EQ(HandOffSocketPath("", runtime.path()), QString());
    EXPECT_FALSE(FileHandOffServer(QString()).listen());
}

TEST(FileHandOff, OneSocketForEverySpellingOfTheProgramFolder) {
    test::TempProgramDir root(false);
    fs::create_directories(root.file("a/b"));
    const QString socket = HandOffSocketPath("/run/user/1000", root.file("a"));
    EXPECT_TRUE(socket.startsWith("/run/user/1000/sabrix-"));
    EXPECT_EQ(HandOffSocketPath("/run/user/1000", root.file("a/")), socket);
    EXPECT_EQ(HandOffSocketPath("/run/user/1000", root.file("a/b/..")), socket);
    EXPECT_NE(HandOffSocketPath("/run/user/1000", root.file("a/b")), socket);
}

using HandedFiles = test::PlotWindowFixture;

// Files handed over while the window cannot take them (the table of the file loaded is still
// being filled) wait, then load one after the other in the order they came: the second waits
// for the fill of the first.
TEST_F(HandedFiles, FilesHandedOverWhileTheWindowIsBusyBothLoadAfterwardsInOrder) {
    QtHandedFiles handed;
    handed.setWindow(window.get());
    window->LoadStarFile(test::SampleFile("download-mixed.txt"));
    ASSERT_TRUE(window->commands().view().filling);
    const std::string first = dir.file("first.txt");
    const std::string second = dir.file("second.txt");
    for (const std::string& file : {first, second})
        fs::copy_file(test::SampleFile("download-ccd.txt"), file);
    handed.add({first, {}, std::nullopt});
    handed.add({second, {}, std::nullopt});
    EXPECT_TRUE(prompts.messages.empty());
    prompts.answer(Answer::OK);  // "Unload Current Star?" before each of them
    prompts.answer(Answer::OK);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            return window->mnuRecent[0]->text().contains("second.txt") &&
                   !window->commands().view().filling;
        },
        20000));
    EXPECT_TRUE(window->mnuRecent[1]->text().contains("first.txt"));
    EXPECT_TRUE(window->mnuRecent[2]->text().contains("download-mixed.txt"));
    EXPECT_TRUE(window->state().star.FileLoaded);
}

}  // namespace
}  // namespace sabrix
