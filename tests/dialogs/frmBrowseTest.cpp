#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeView>
#include <filesystem>

#include "dialogs/frmBrowse.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

using test::ScriptedPrompts;
using test::TempProgramDir;

class FolderBrowser : public ::testing::Test {
  protected:
    FolderBrowser() {
        std::filesystem::create_directories(dir.file("data/old"));
        std::filesystem::create_directories(dir.file("data/new"));
        configPath.setText("as configured");
    }

    frmBrowse& Open() {
        browser = std::make_unique<frmBrowse>(settings, dir.path(), prompts, &configPath);
        browser->resize(420, 440);
        browser->show();
        return *browser;
    }
    QLineEdit* txtPath() { return browser->findChild<QLineEdit*>("txtPath"); }
    QPushButton* Button(const char* name) { return browser->findChild<QPushButton*>(name); }
    static QString Q(const std::string& path) { return QString::fromStdString(path); }

    TempProgramDir dir{false};
    ScriptedPrompts prompts;
    Settings settings;
    QLineEdit configPath;
    std::unique_ptr<frmBrowse> browser;
};

TEST_F(FolderBrowser, EmptyFilePathOpensOnTheProgramDirectory) {
    Open();
    EXPECT_EQ(browser->windowTitle(), "Browse Directories");
    EXPECT_EQ(txtPath()->text(), Q(dir.path()));
    EXPECT_EQ(browser->currentFolder(), Q(dir.path()));
}

TEST_F(FolderBrowser, ConfiguredFolderIsOpened) {
    settings.FilePath = dir.file("data/old");
    Open();
    EXPECT_EQ(txtPath()->text(), Q(dir.file("data/old")));
    EXPECT_EQ(browser->currentFolder(), Q(dir.file("data/old")));
}

TEST_F(FolderBrowser, VanishedFolderFallsBackToTheProgramDirectory) {
    settings.FilePath = dir.file("data/gone");
    Open();
    EXPECT_EQ(txtPath()->text(), Q(dir.path()));
    EXPECT_EQ(browser->currentFolder(), Q(dir.path()));
    EXPECT_EQ(settings.FilePath, dir.file("data/gone"));
}

TEST_F(FolderBrowser, PathFollowsEveryMoveInTheTree) {
    Open();
    auto* tree = browser->findChild<QTreeView*>("dirList");
    auto* model = qobject_cast<QFileSystemModel*>(tree->model());
    ASSERT_NE(model, nullptr);
    for (const char* sub : {"data", "data/new", "data/old", "data"}) {
        tree->setCurrentIndex(model->index(Q(dir.file(sub))));
        EXPECT_EQ(txtPath()->text(), Q(dir.file(sub)));
    }
}

TEST_F(FolderBrowser, MissingFolderCannotBecomeCurrent) {
    Open();
    EXPECT_FALSE(browser->setCurrentFolder(Q(dir.file("absent"))));
    EXPECT_EQ(browser->currentFolder(), Q(dir.path()));
    EXPECT_EQ(txtPath()->text(), Q(dir.path()));
}

TEST_F(FolderBrowser, ChoosingTheRootVolumeMovesTheTreeThere) {
    Open();
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
    Button("cmdExit")->click();
    EXPECT_EQ(settings.FilePath, dir.file("data/new"));
    EXPECT_EQ(configPath.text(), Q(dir.file("data/new")));
    EXPECT_EQ(browser->result(), QDialog::Accepted);
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(FolderBrowser, TypedMissingFolderAnsweredYesIsCreated) {
    Open();
    txtPath()->setText(Q(dir.file("data/typed")));
    prompts.answer(Answer::Yes);
    Button("cmdExit")->click();
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, Q("The folder " + dir.file("data/typed") +
                                          " does not exist. Do you want to creat it?"));
    EXPECT_EQ(prompts.messages[0].title, "Folder Missing!");
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::YesNo);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("data/typed")));
    EXPECT_EQ(settings.FilePath, dir.file("data/typed"));
    EXPECT_EQ(configPath.text(), Q(dir.file("data/typed")));
    EXPECT_FALSE(browser->isVisible());
}

TEST_F(FolderBrowser, TypedMissingFolderAnsweredNoKeepsTheBrowserOpen) {
    settings.FilePath = dir.file("data/old");
    Open();
    txtPath()->setText(Q(dir.file("data/typed")));
    prompts.answer(Answer::No);
    Button("cmdExit")->click();
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(txtPath()->text(), Q(dir.file("data/old")));
    EXPECT_EQ(settings.FilePath, dir.file("data/old"));
    EXPECT_TRUE(settings.IniMissing);
    EXPECT_FALSE(std::filesystem::exists(dir.file("data/typed")));
}

TEST_F(FolderBrowser, CancelChangesNothing) {
    settings.FilePath = dir.file("data/old");
    Open();
    ASSERT_TRUE(browser->setCurrentFolder(Q(dir.file("data/new"))));
    Button("cmdCancel")->click();
    EXPECT_EQ(settings.FilePath, dir.file("data/old"));
    EXPECT_EQ(configPath.text(), "as configured");
    EXPECT_FALSE(settings.IniMissing);
    EXPECT_EQ(browser->result(), QDialog::Rejected);
}

}  // namespace
}  // namespace sabrix
