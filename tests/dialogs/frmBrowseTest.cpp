// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <filesystem>

#include "ui/dialogs/frmBrowse.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

QString Q(const std::string& path) {
    return QString::fromStdString(path);
}

class FolderBrowser : public ::testing::Test {
  protected:
    FolderBrowser() {
        std::filesystem::create_directories(dir.file("data/old"));
        std::filesystem::create_directories(dir.file("data/new"));
        configPath.setText("as configured");
    }
    // Opens the browser on the configured folder; returns the folder shown.
    QString Open(const std::string& configured = "") {
        settings.FilePath = configured;
        browser = std::make_unique<frmBrowse>(settings, dir.path(), prompts, &configPath);
        browser->resize(420, 440);
        browser->show();
        EXPECT_EQ(txtPath()->text(), browser->currentFolder());
        return browser->currentFolder();
    }
    QLineEdit* txtPath() { return browser->findChild<QLineEdit*>("txtPath"); }
    void Click(const char* name) { browser->findChild<QPushButton*>(name)->click(); }

    test::TempProgramDir dir{false};
    test::ScriptedPrompts prompts;
    Settings settings;
    QLineEdit configPath;
    std::unique_ptr<frmBrowse> browser;
};

TEST_F(FolderBrowser, OpensOnTheConfiguredFolderOrFallsBackToTheProgramDirectory) {
    EXPECT_EQ(Open(), Q(dir.path()));
    EXPECT_EQ(browser->windowTitle(), "Browse Directories");
    EXPECT_EQ(Open(dir.file("data/old")), Q(dir.file("data/old")));
    EXPECT_EQ(Open(dir.file("data/gone")), Q(dir.path()));
    EXPECT_EQ(settings.FilePath, dir.file("data/gone"));
    EXPECT_FALSE(browser->setCurrentFolder(Q(dir.file("absent"))));
    EXPECT_EQ(txtPath()->text(), Q(dir.path()));
}

TEST_F(FolderBrowser, PathFollowsTheTreeAndTheVolumeList) {
    Open();
    auto* tree = browser->findChild<QTreeView*>("dirList");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_NE(model, nullptr);
    for (const char* sub : {"data", "data/new", "data/old", "data"}) {
        tree->setCurrentIndex(model->index(Q(dir.file(sub))));
        EXPECT_EQ(txtPath()->text(), Q(dir.file(sub)));
    }
    auto* drives = browser->findChild<QComboBox*>("drvList");
    ASSERT_GT(drives->count(), 0);
    EXPECT_EQ(drives->itemText(0), "/");
    drives->setCurrentIndex(0);
    browser->drvList_Change();
    EXPECT_EQ(txtPath()->text(), "/");
}

TEST_F(FolderBrowser, EnterOnAnExistingFolderSetsFilePathAndTheConfigField) {
    Open();
    ASSERT_TRUE(browser->setCurrentFolder(Q(dir.file("data/new"))));
    Click("cmdExit");
    EXPECT_EQ(settings.FilePath, dir.file("data/new"));
    EXPECT_EQ(configPath.text(), Q(dir.file("data/new")));
    EXPECT_EQ(browser->result(), QDialog::Accepted);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(FolderBrowser, TypedMissingFolderIsCreatedOnYesAndKeepsTheBrowserOpenOnNo) {
    Open(dir.file("data/old"));
    txtPath()->setText(Q(dir.file("data/typed")));
    prompts.answer(Answer::No);
    Click("cmdExit");
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(txtPath()->text(), Q(dir.file("data/old")));
    EXPECT_EQ(settings.FilePath, dir.file("data/old"));
    EXPECT_TRUE(settings.IniMissing);
    EXPECT_FALSE(std::filesystem::exists(dir.file("data/typed")));

    txtPath()->setText(Q(dir.file("data/typed")));
    prompts.answer(Answer::Yes);
    Click("cmdExit");
    const test::RecordedMessage question{
        Q("The folder " + dir.file("data/typed") + " does not exist. Do you want to creat it?"),
        "Folder Missing!", Buttons::YesNo, Icon::None};
    EXPECT_EQ(prompts.messages, (std::vector<test::RecordedMessage>{question, question}));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("data/typed")));
    EXPECT_EQ(settings.FilePath, dir.file("data/typed"));
    EXPECT_EQ(configPath.text(), Q(dir.file("data/typed")));
    EXPECT_FALSE(browser->isVisible());
}

TEST_F(FolderBrowser, AnEmptyFolderIsRefusedAndChangesNothing) {
    Open(dir.file("data/old"));
    txtPath()->setText(QStringLiteral(" "));
    Click("cmdExit");
    EXPECT_EQ(prompts.messages,
              (std::vector<test::RecordedMessage>{
                  {"Type the folder that holds your star files, or choose it in the list.",
                   "Browse Directories", Buttons::OK, Icon::Exclamation}}));
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(settings.FilePath, dir.file("data/old"));
    EXPECT_EQ(configPath.text(), "as configured");
    EXPECT_FALSE(settings.IniMissing);
}

TEST_F(FolderBrowser, CancelChangesNothing) {
    Open(dir.file("data/old"));
    ASSERT_TRUE(browser->setCurrentFolder(Q(dir.file("data/new"))));
    Click("cmdCancel");
    EXPECT_EQ(settings.FilePath, dir.file("data/old"));
    EXPECT_EQ(configPath.text(), "as configured");
    EXPECT_FALSE(settings.IniMissing);
    EXPECT_EQ(browser->result(), QDialog::Rejected);
}

}  // namespace
}  // namespace sabrix
