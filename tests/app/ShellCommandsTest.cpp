// The commands that hand the user guide, a text file, the files folder and the download page
// to the desktop: what address reaches the opener, and what the user is told when the
// desktop cannot open it.
#include <gtest/gtest.h>

#include <QDir>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "app/MainWindowCommands.h"
#include "app/WindowHost.h"
#include "core/DownloadPage.h"
#include "core/ProgramDir.h"
#include "core/WorkingDatabase.h"
#include "support/RecordingOpener.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

namespace fs = std::filesystem;
using Result = DesktopOpener::Result;
using test::RecordedMessage;

// Sets an environment variable for the life of the object, then puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~ScopedEnv() {
        if (old_)
            setenv(name_, old_->c_str(), 1);
        else
            unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

class ShellCommands : public ::testing::Test {
  protected:
    void SetUp() override {
        AppState state;
        PrepareWorkingDatabase(dir.path(), state);
        state.settings.FilePath = dir.path() + "/stars";
        commands = std::make_unique<MainWindowCommands>(
            std::move(state),
            MainWindowCommands::TableFiles{WorkingDatabasePath(dir.path()),
                                           TemplateDatabasePath(dir.path())},
            prompts, host, MainWindowCommands::Canvases{picView, picJDScale, picMagScale});
        commands->OpenWorkingTable();
        fs::create_directories(dir.file("Documentation"));
        test::WriteFileBytes(guide, "<html></html>");
        commands->setDesktop(opener, guide);
    }
    void TearDown() override { EXPECT_EQ(prompts.pending(), 0u); }

    static QUrl Local(const std::string& path) {
        return QUrl::fromLocalFile(QString::fromStdString(path));
    }
    static RecordedMessage Exclamation(const QString& text, const QString& title) {
        return {text, title, Buttons::OK, Icon::Exclamation};
    }

    test::TempProgramDir dir;
    std::string guide = dir.file("Documentation/Documentation.html");
    test::ScriptedPrompts prompts;
    test::RecordingOpener opener;
    NoWindowHost host;
    Canvas picView, picJDScale, picMagScale;
    std::unique_ptr<MainWindowCommands> commands;
};

TEST_F(ShellCommands, EachCommandHandsItsTargetToTheDesktop) {
    const std::string chosen = dir.file("my observations 2024.txt");
    test::WriteFileBytes(chosen, "notes\r\n");
    prompts.file(QString::fromStdString(chosen));
    ScopedEnv page("SABRIX_DOWNLOAD_URL", "https://data.example.net/data/download/?star=R%20Leo");

    commands->mnuDocs_Click();
    commands->mnuViewer_Click();
    commands->mnuManage_Click();
    commands->mnuWebSite_Click();

    EXPECT_EQ(opener.opened,
              (std::vector<QUrl>{Local(guide), Local(chosen), Local(dir.file("files")),
                                 QUrl("https://data.example.net/data/download/?star=R%20Leo")}));
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ShellCommands, FileNameWithBlanksReachesTheTextViewerWhole) {
    const std::string chosen = dir.file("R Leo  2024 #1.txt");
    test::WriteFileBytes(chosen, "x");
    prompts.file(QString::fromStdString(chosen));
    commands->mnuViewer_Click();
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0].toLocalFile().toStdString(), chosen);
    // The dialog offers text files first and starts in the data folder.
    ASSERT_EQ(prompts.fileDialogs.size(), 1u);
    EXPECT_EQ(prompts.fileDialogs[0].filter,
              QString("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
    EXPECT_EQ(prompts.fileDialogs[0].initialFolder, QString::fromStdString(dir.path() + "/stars"));
}

TEST_F(ShellCommands, CancelInTheViewerDialogOpensNothingAndSaysNothing) {
    prompts.file(std::nullopt);
    commands->mnuViewer_Click();
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ShellCommands, DocumentationClearsTheFilePanelWhateverTheDesktopDid) {
    for (const Result result : {Result::Opened, Result::NoHandler}) {
        opener.result = result;
        commands->LoadThreeColumnFile(test::SampleFile("three-column.dat"));
        ASSERT_FALSE(commands->view().panels[0].isEmpty());
        prompts.messages.clear();
        EXPECT_TRUE(commands->mnuDocs_Click().panels[0].isEmpty());
    }
}

// Documentation, View Files and Manage Files used to fail without a word.
TEST_F(ShellCommands, TargetTheDesktopCannotOpenIsSaidWithItsPath) {
    const std::string chosen = dir.file("notes.txt");
    test::WriteFileBytes(chosen, "x");
    const QString folder = QString::fromStdString(dir.file("files"));
    const QString guideText = QString::fromStdString(guide);
    for (const Result result : {Result::NoHandler, Result::Failed}) {
        opener.result = result;
        prompts.messages.clear();
        commands->mnuDocs_Click();
        prompts.file(QString::fromStdString(chosen));
        commands->mnuViewer_Click();
        commands->mnuManage_Click();
        EXPECT_EQ(
            prompts.messages,
            (std::vector<RecordedMessage>{
                Exclamation("The user guide " + guideText + " could not be opened.",
                            "Documentation"),
                Exclamation("The file " + QString::fromStdString(chosen) + " could not be opened.",
                            "View Files"),
                Exclamation("The files folder " + folder + " could not be opened.",
                            "Manage Files")}));
    }
}

TEST_F(ShellCommands, MissingUserGuideIsSaidWithoutAskingTheDesktop) {
    fs::remove(guide);
    commands->mnuDocs_Click();
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_EQ(prompts.messages,
              (std::vector<RecordedMessage>{Exclamation(
                  "The user guide " + QString::fromStdString(guide) + " could not be opened.",
                  "Documentation")}));
}

TEST_F(ShellCommands, ManageFilesMakesAFilesFolderThatWasRemovedAgain) {
    fs::remove_all(dir.file("files"));
    commands->mnuManage_Click();
    EXPECT_TRUE(fs::is_directory(dir.file("files")));
    EXPECT_EQ(opener.opened, std::vector<QUrl>{Local(dir.file("files"))});
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ShellCommands, OpenURLSaysWhyTheBrowserDidNotShowThePage) {
    struct Case {
        Result result;
        QString url;
        std::vector<RecordedMessage> messages;
        size_t opened;
    };
    const std::vector<Case> cases = {
        {Result::Opened, "https://example.org/data/download/", {}, 1},
        {Result::NoHandler,
         "https://example.org/data/download/",
         {Exclamation("Could not find associated Browser", "Browser Not Found")},
         1},
        {Result::Failed,
         "https://example.org/data/download/",
         {Exclamation("Web Page not Opened", "URL Failed")},
         1},
        // Not an address at all (a mistyped SABRIX_DOWNLOAD_URL): nothing is started.
        {Result::Opened, "data download", {Exclamation("Web Page not Opened", "URL Failed")}, 0},
    };
    for (const Case& c : cases) {
        opener.result = c.result;
        opener.opened.clear();
        prompts.messages.clear();
        commands->OpenURL(c.url);
        EXPECT_EQ(prompts.messages, c.messages) << c.url.toStdString();
        EXPECT_EQ(opener.opened.size(), c.opened) << c.url.toStdString();
    }
}

// The browser used to be looked up through a throw-away page at a fixed path in a shared
// folder, which another user could replace between its writing and its use.
TEST_F(ShellCommands, OpenURLHandsTheAddressItselfToTheDesktopAndWritesNoFile) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.path())));
    const auto listing = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::recursive_directory_iterator(dir.path()))
            names.push_back(entry.path().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> files = listing();
    commands->OpenURL("https://example.org/data/download/");
    QDir::setCurrent(before);
    EXPECT_EQ(opener.opened, std::vector<QUrl>{QUrl("https://example.org/data/download/")});
    EXPECT_EQ(listing(), files);
}

TEST(DownloadPage, EnvironmentOverridesTheAddressTheProgramWasBuiltWith) {
    {
        ScopedEnv unset("SABRIX_DOWNLOAD_URL", nullptr);
        EXPECT_EQ(DownloadPageAddress(), BuiltDownloadPageAddress());
        const QUrl built(BuiltDownloadPageAddress(), QUrl::StrictMode);
        EXPECT_TRUE(built.isValid() && !built.isRelative()) << built.toString().toStdString();
    }
    {
        ScopedEnv blank("SABRIX_DOWNLOAD_URL", "  ");
        EXPECT_EQ(DownloadPageAddress(), BuiltDownloadPageAddress());
    }
    ScopedEnv set("SABRIX_DOWNLOAD_URL", "http://localhost:8080/data/download/");
    EXPECT_EQ(DownloadPageAddress(), QString("http://localhost:8080/data/download/"));
}

}  // namespace
}  // namespace sabrix
