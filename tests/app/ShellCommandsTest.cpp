// SPDX-License-Identifier: GPL-3.0-or-later
// The commands that hand the user guide, a text file, the files folder and the download page
// to the desktop: what address reaches the opener, and what the user is told when the
// desktop cannot open it.
#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include "core/DownloadPage.h"
#include "core/ProgramDir.h"
#include "core/WorkingDatabase.h"
#include "support/CommandsFixture.h"
#include "support/RecordingOpener.h"
#include "support/ScopedEnv.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;
using Result = DesktopOpener::Result;
using test::RecordedMessage;

QUrl Local(const std::string& path) {
    return QUrl::fromLocalFile(QString::fromStdString(path));
}
RecordedMessage Exclamation(const QString& text, const QString& title) {
    return {text, title, Buttons::OK, Icon::Exclamation};
}
QString CouldNotOpen(const char* what, const std::string& path) {
    return QString(what) + " " + QString::fromStdString(path) + " could not be opened.";
}

class ShellCommands : public test::CommandsFixture {
  protected:
    void Prepare(AppState& state) override { state.settings.FilePath = dir.path() + "/stars"; }
    void SetUp() override {
        CommandsFixture::SetUp();
        fs::create_directories(dir.file("Documentation"));
        test::WriteFileBytes(guide, "<html></html>");
        test::WriteFileBytes(notes, "x");
        commands->setDesktop(opener, guide);
    }

    std::string guide = dir.file("Documentation/Documentation.html");
    std::string notes = dir.file("notes.txt");
    test::RecordingOpener opener;
};

TEST_F(ShellCommands, EachCommandHandsItsTargetToTheDesktop) {
    prompts.file(QString::fromStdString(notes));
    test::ScopedEnv page("SABRIX_DOWNLOAD_URL",
                         "https://data.example.net/data/download/?s=R%20Leo");
    commands->Run(cmd::mnuDocs_Click);
    commands->Run(cmd::mnuViewer_Click);
    commands->Run(cmd::mnuManage_Click);
    commands->Run(cmd::mnuWebSite_Click);
    EXPECT_EQ(opener.opened,
              (std::vector<QUrl>{Local(guide), Local(notes), Local(dir.file("files")),
                                 QUrl("https://data.example.net/data/download/?s=R%20Leo")}));
    EXPECT_TRUE(prompts.messages.empty());
    // The viewer's dialog offers text files first and starts in the data folder.
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].filter,
              QString("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
    EXPECT_EQ(prompts.fileDialogs[0].initialFolder, QString::fromStdString(dir.path() + "/stars"));
}

TEST_F(ShellCommands, FileNameWithBlanksReachesTheTextViewerWhole) {
    const std::string chosen = dir.file("R Leo  2024 #1.txt");
    test::WriteFileBytes(chosen, "x");
    prompts.file(QString::fromStdString(chosen));
    commands->Run(cmd::mnuViewer_Click);
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0].toLocalFile().toStdString(), chosen);
}

TEST_F(ShellCommands, CancelInTheViewerDialogOpensNothingAndSaysNothing) {
    prompts.file(std::nullopt);
    commands->Run(cmd::mnuViewer_Click);
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ShellCommands, DocumentationClearsTheFilePanelEvenWhenTheGuideDidNotOpen) {
    commands->Run(cmd::LoadThreeColumnFile, test::SampleFile("three-column.dat"), 0);
    ASSERT_FALSE(commands->view().panels[0].isEmpty());
    prompts.messages.clear();
    opener.result = Result::NoHandler;
    EXPECT_TRUE(commands->Run(cmd::mnuDocs_Click).panels[0].isEmpty());
    EXPECT_EQ(prompts.messages.size(), 1u);
}

// Documentation, View Files and Manage Files used to fail without a word.
TEST_F(ShellCommands, TargetTheDesktopCannotOpenIsSaidWithItsPath) {
    const std::vector<RecordedMessage> said = {
        Exclamation(CouldNotOpen("The user guide", guide), "Documentation"),
        Exclamation(CouldNotOpen("The file", notes), "View Files"),
        Exclamation(CouldNotOpen("The files folder", dir.file("files")), "Manage Files")};
    for (const Result result : {Result::NoHandler, Result::Failed}) {
        opener.result = result;
        prompts.messages.clear();
        commands->Run(cmd::mnuDocs_Click);
        prompts.file(QString::fromStdString(notes));
        commands->Run(cmd::mnuViewer_Click);
        commands->Run(cmd::mnuManage_Click);
        EXPECT_EQ(prompts.messages, said);
    }
    // A guide that is not there is said without asking the desktop.
    fs::remove(guide);
    opener.opened.clear();
    prompts.messages.clear();
    commands->Run(cmd::mnuDocs_Click);
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(prompts.messages, std::vector<RecordedMessage>{said[0]});
}

TEST_F(ShellCommands, ManageFilesMakesAFilesFolderThatWasRemovedAgain) {
    fs::remove_all(dir.file("files"));
    commands->Run(cmd::mnuManage_Click);
    EXPECT_TRUE(fs::is_directory(dir.file("files")));
    EXPECT_EQ(opener.opened, std::vector<QUrl>{Local(dir.file("files"))});
}

TEST_F(ShellCommands, OpenURLSaysWhyTheBrowserDidNotShowThePage) {
    const QString page = "https://example.org/data/download/";
    const RecordedMessage notFound =
        Exclamation("Could not find associated Browser", "Browser Not Found");
    const RecordedMessage failed = Exclamation("Web Page not Opened", "URL Failed");
    struct Case {
        Result result;
        QString url;
        std::vector<RecordedMessage> said;
        size_t opened;
    };
    const std::vector<Case> cases = {
        {Result::Opened, page, {}, 1},
        {Result::NoHandler, page, {notFound}, 1},
        {Result::Failed, page, {failed}, 1},
        // Not an address at all (a mistyped SABRIX_DOWNLOAD_URL): nothing is started.
        {Result::Opened, "data download", {failed}, 0},
    };
    for (const Case& c : cases) {
        opener.result = c.result;
        opener.opened.clear();
        prompts.messages.clear();
        commands->Run(cmd::OpenURL, c.url);
        EXPECT_EQ(prompts.messages, c.said) << c.url.toStdString();
        EXPECT_EQ(opener.opened.size(), c.opened) << c.url.toStdString();
    }
}

// The browser used to be looked up through a throw-away page at a fixed path in a shared
// folder, which another user could replace between its writing and its use.
TEST_F(ShellCommands, OpenURLHandsTheAddressItselfToTheDesktopAndWritesNoFile) {
    const auto files = [&] {
        std::vector<fs::path> found(fs::recursive_directory_iterator(dir.path()), {});
        std::sort(found.begin(), found.end());
        return found;
    };
    const std::vector<fs::path> before = files();
    const QString kept = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.path())));
    commands->Run(cmd::OpenURL, "https://example.org/data/download/");
    QDir::setCurrent(kept);
    EXPECT_EQ(opener.opened, std::vector<QUrl>{QUrl("https://example.org/data/download/")});
    EXPECT_EQ(files(), before);
}

TEST(DownloadPage, EnvironmentReplacesTheAddressTheProgramWasBuiltWith) {
    {
        test::ScopedEnv blank("SABRIX_DOWNLOAD_URL", " ");
        EXPECT_EQ(DownloadPageAddress(), BuiltDownloadPageAddress());
        const QUrl built(BuiltDownloadPageAddress(), QUrl::StrictMode);
        EXPECT_TRUE(built.isValid() && !built.isRelative());
    }
    test::ScopedEnv set("SABRIX_DOWNLOAD_URL", "http://localhost:8080/data/download/");
    EXPECT_EQ(DownloadPageAddress(), QString("http://localhost:8080/data/download/"));
}

}  // namespace
}  // namespace sabrix
