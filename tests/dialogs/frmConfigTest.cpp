#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <filesystem>

#include "core/SettingsFile.h"
#include "dialogs/frmBrowse.h"
#include "dialogs/frmConfig.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

using test::ReadFileBytes;
using test::ScriptedPrompts;
using test::TempProgramDir;
using test::WriteFileBytes;

const std::vector<std::pair<const char*, double>> kDefaultButtonColors{
    {"cmdVIS", 65280},  {"cmdFAINT", 9539985}, {"cmdDISC", 12615680}, {"cmdNA", 65280},
    {"cmdCR", 8454016}, {"cmdU", 16711680},    {"cmdV", 16744448},    {"cmdB", 16744448},
    {"cmdR", 255},      {"cmdI", 16744576},    {"cmdCV", 12615935},   {"cmdJ", 4227200},
    {"cmdH", 16744703}};

class ConfigDialog : public ::testing::Test {
  protected:
    // A program directory whose settings file holds these settings (or none at all).
    void StartWithFile(const Settings& inFile) {
        WriteSettings(dir.path(), inFile);
        ASSERT_TRUE(ReadSettings(dir.path(), settings));
    }
    void StartWithoutFile() { ASSERT_FALSE(ReadSettings(dir.path(), settings)); }

    frmConfig& Open() {
        dialog = std::make_unique<frmConfig>(settings, dir.path(), prompts);
        dialog->resize(480, 420);
        dialog->show();
        return *dialog;
    }
    template <typename T>
    T* Control(const char* name) {
        T* control = dialog->findChild<T*>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void Click(const char* name) { Control<QPushButton>(name)->click(); }
    QLineEdit* Field(const char* name) { return Control<QLineEdit>(name); }
    std::string IniPath() const { return dir.file("Sabrix.ini"); }
    bool IniExists() const { return std::filesystem::exists(IniPath()); }

    TempProgramDir dir{false};
    ScriptedPrompts prompts;
    Settings settings;
    std::unique_ptr<frmConfig> dialog;
};

TEST_F(ConfigDialog, FirstStartShowsTheDefaults) {
    StartWithoutFile();
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Configure Sabrix");
    EXPECT_EQ(Field("txtFilePath")->text().toStdString(), dir.path());
    EXPECT_FALSE(Control<QCheckBox>("chkConnMark")->isChecked());
    EXPECT_EQ(Field("txtPolyFit")->text(), "40");
    EXPECT_EQ(Field("txtSigma")->text(), "2");
    for (const auto& [name, color] : kDefaultButtonColors)
        EXPECT_EQ(frmConfig::ButtonColor(Control<QPushButton>(name)), color) << name;
}

TEST_F(ConfigDialog, FirstStartEnterWritesExactlyTheDefaultFile) {
    StartWithoutFile();
    Open();
    Click("cmdEnter");
    EXPECT_EQ(ReadFileBytes(IniPath()), SettingsFileText(DefaultSettings(dir.path())));
    EXPECT_FALSE(settings.IniMissing);
    EXPECT_EQ(settings.FilePath, dir.path());
    EXPECT_EQ(settings.PolyFit, 40);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_FALSE(dialog->endProgramRequested());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ConfigDialog, FirstStartCancelOrCloseEndsTheProgramWithoutAFile) {
    StartWithoutFile();
    Open();
    Click("cmdCancel");
    EXPECT_TRUE(dialog->endProgramRequested());
    EXPECT_FALSE(IniExists());

    Open();
    dialog->close();
    EXPECT_TRUE(dialog->endProgramRequested());
    EXPECT_FALSE(IniExists());
}

TEST_F(ConfigDialog, ConfiguredProgramKeepsRunningAfterCancel) {
    StartWithFile(DefaultSettings(dir.path()));
    Open();
    Click("cmdCancel");
    EXPECT_FALSE(dialog->endProgramRequested());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(ConfigDialog, FieldsShowTheSettingsOfTheFile) {
    Settings inFile = DefaultSettings(dir.path() + "/stars");
    inFile.ConnectMarked = true;
    inFile.PolyFit = 12;
    inFile.DefaultSigma = 3;
    inFile.ColorR = 4242;
    inFile.ColorJ = 0;  // not configured: the button shows the default
    StartWithFile(inFile);
    Open();
    EXPECT_EQ(Field("txtFilePath")->text().toStdString(), dir.path() + "/stars");
    EXPECT_TRUE(Control<QCheckBox>("chkConnMark")->isChecked());
    EXPECT_EQ(Field("txtPolyFit")->text(), "12");
    EXPECT_EQ(Field("txtSigma")->text(), "3");
    EXPECT_EQ(frmConfig::ButtonColor(Control<QPushButton>("cmdR")), 4242);
    EXPECT_EQ(frmConfig::ButtonColor(Control<QPushButton>("cmdJ")), 4227200);
}

TEST_F(ConfigDialog, PickedColourGoesIntoSettingAndButton) {
    StartWithFile(DefaultSettings(dir.path()));
    Open();
    prompts.color(0x123456);
    Click("cmdH");
    EXPECT_EQ(settings.ColorH, 0x123456);
    EXPECT_EQ(frmConfig::ButtonColor(Control<QPushButton>("cmdH")), 0x123456);

    prompts.color(std::nullopt);
    Click("cmdH");
    EXPECT_EQ(settings.ColorH, 0x123456);
    EXPECT_EQ(prompts.pending(), 0u);

    Click("cmdEnter");
    Settings reread;
    ReadSettings(dir.path(), reread);
    EXPECT_EQ(reread.ColorH, 0x123456);
}

TEST_F(ConfigDialog, CancelRestoresAPickedColourFromTheFile) {
    Settings inFile = DefaultSettings(dir.path());
    inFile.ColorB = 255;
    StartWithFile(inFile);
    Open();
    prompts.color(65280);
    Click("cmdB");
    EXPECT_EQ(settings.ColorB, 65280);
    Click("cmdCancel");
    EXPECT_EQ(settings.ColorB, 255);
    EXPECT_EQ(ReadFileBytes(IniPath()), SettingsFileText(inFile));
}

TEST_F(ConfigDialog, ResetColorsThenEnterWritesTheDefaultColours) {
    Settings inFile = DefaultSettings(dir.path());
    for (const auto& color : ColorSettings()) inFile.*color.member = 7;
    StartWithFile(inFile);
    Open();
    prompts.color(99);
    Click("cmdVIS");
    Field("txtPolyFit")->setText("9");  // refilled from the settings by the reset

    Click("cmdReset");
    for (const auto& [name, color] : kDefaultButtonColors)
        EXPECT_EQ(frmConfig::ButtonColor(Control<QPushButton>(name)), color) << name;
    EXPECT_EQ(settings.ColorVIS, 65280);
    EXPECT_EQ(Field("txtPolyFit")->text(), "40");

    Click("cmdEnter");
    EXPECT_EQ(ReadFileBytes(IniPath()), SettingsFileText(DefaultSettings(dir.path())));
}

TEST_F(ConfigDialog, DegreeFieldRefusesAnythingButDigits) {
    StartWithoutFile();
    Open();
    QLineEdit* field = Field("txtPolyFit");
    field->clear();
    QTest::keyClicks(field, "1x2");
    EXPECT_EQ(field->text(), "12");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text, "  Invalid Character! ");
    EXPECT_EQ(prompts.messages[0].title, "Sabrix");
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::OK);
    EXPECT_EQ(prompts.messages[0].icon, Icon::Critical);

    QTest::keyClick(field, Qt::Key_Backspace);
    EXPECT_EQ(field->text(), "1");
    QTest::keyClick(field, Qt::Key_Left);
    QTest::keyClick(field, Qt::Key_Space);
    EXPECT_EQ(field->text(), "1");
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_FALSE(IniExists());
}

TEST_F(ConfigDialog, SigmaFieldHasNoKeyFilter) {
    StartWithoutFile();
    Open();
    QLineEdit* field = Field("txtSigma");
    field->clear();
    QTest::keyClicks(field, "a3");
    EXPECT_EQ(field->text(), "a3");
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ConfigDialog, ReturnInTheDegreeFieldConfirms) {
    StartWithoutFile();
    Open();
    QLineEdit* field = Field("txtPolyFit");
    field->clear();
    QTest::keyClicks(field, "7");
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings.PolyFit, 7);
    EXPECT_NE(ReadFileBytes(IniPath()).find("\r\nPolyFit=7\r\n"), std::string::npos);
}

TEST_F(ConfigDialog, EnterIsRefusedForBadNumbersAndWritesNothing) {
    struct Case {
        const char* degree;
        const char* sigma;
        const char* named;
    };
    const Case bad[] = {{"", "2", "polynomial fit"},          {"41", "2", "polynomial fit"},
                        {"-1", "2", "polynomial fit"},        {"4.5", "2", "polynomial fit"},
                        {"x", "2", "polynomial fit"},         {"40", "", "scatter bar sigma"},
                        {"40", "40000", "scatter bar sigma"}, {"40", "two", "scatter bar sigma"},
                        {"40", "2.0", "scatter bar sigma"}};
    for (const auto& [degree, sigma, named] : bad) {
        SCOPED_TRACE(std::string(degree) + " / " + sigma);
        settings = Settings{};
        StartWithoutFile();
        prompts.messages.clear();
        Open();
        Field("txtFilePath")->setText(QString::fromStdString(dir.file("wanted")));
        Field("txtPolyFit")->setText(degree);
        Field("txtSigma")->setText(sigma);
        Click("cmdEnter");
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].title, "Configure Sabrix");
        EXPECT_TRUE(prompts.messages[0].text.contains(QLatin1String(named)));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(IniExists());
        EXPECT_FALSE(std::filesystem::exists(dir.file("wanted")));
        EXPECT_EQ(settings.FilePath, "");
        EXPECT_EQ(settings.PolyFit, 0);
        EXPECT_TRUE(settings.IniMissing);
    }
}

TEST_F(ConfigDialog, NumbersAtTheEdgesAreAccepted) {
    StartWithoutFile();
    Open();
    Field("txtPolyFit")->setText("0");
    Field("txtSigma")->setText("-32768");
    Click("cmdEnter");
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings.PolyFit, 0);
    EXPECT_EQ(settings.DefaultSigma, -32768);
}

TEST_F(ConfigDialog, MissingFolderAnsweredYesIsCreatedAndWritten) {
    StartWithoutFile();
    Open();
    const std::string wanted = dir.file("new data");
    Field("txtFilePath")->setText(QString::fromStdString(wanted));
    prompts.answer(Answer::Yes);
    Click("cmdEnter");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].text.toStdString(),
              "The folder " + wanted + " does not exist. Do you want to creat it?");
    EXPECT_EQ(prompts.messages[0].title, "Folder Missing!");
    EXPECT_EQ(prompts.messages[0].buttons, Buttons::YesNo);
    EXPECT_EQ(prompts.messages[0].icon, Icon::None);
    EXPECT_TRUE(std::filesystem::is_directory(wanted));
    EXPECT_EQ(settings.FilePath, wanted);
    EXPECT_NE(ReadFileBytes(IniPath()).find("\r\nFilePath=" + wanted + "\r\n"), std::string::npos);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(ConfigDialog, MissingFolderAnsweredNoKeepsTheDialogOpenWithTheOldFolder) {
    StartWithFile(DefaultSettings(dir.path()));
    const std::string before = ReadFileBytes(IniPath());
    Open();
    Field("txtFilePath")->setText(QString::fromStdString(dir.file("nowhere")));
    prompts.answer(Answer::No);
    Click("cmdEnter");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Field("txtFilePath")->text().toStdString(), dir.path());
    EXPECT_EQ(settings.FilePath, dir.path());
    EXPECT_TRUE(settings.IniMissing);
    EXPECT_FALSE(std::filesystem::exists(dir.file("nowhere")));
    EXPECT_EQ(ReadFileBytes(IniPath()), before);

    // The configuration is unconfirmed now: closing the dialog ends the program.
    dialog->close();
    EXPECT_TRUE(dialog->endProgramRequested());
}

TEST_F(ConfigDialog, FolderThatCannotBeCreatedIsNotTaken) {
    StartWithFile(DefaultSettings(dir.path()));
    Open();
    const std::string wanted = dir.file("no/such/parent");
    Field("txtFilePath")->setText(QString::fromStdString(wanted));
    prompts.answer(Answer::Yes);
    Click("cmdEnter");
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text.toStdString(),
              "The folder " + wanted + " could not be created.");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(settings.FilePath, dir.path());
    EXPECT_TRUE(settings.IniMissing);
}

TEST_F(ConfigDialog, FailedWriteIsReportedAndChangesNothing) {
    StartWithoutFile();
    std::filesystem::create_directories(dir.file("Sabrix.ini/blocked"));
    Open();
    Field("txtPolyFit")->setText("5");
    Click("cmdEnter");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_EQ(prompts.messages[0].title, "Error");
    EXPECT_TRUE(prompts.messages[0].text.startsWith("Error \"Cannot write "));
    EXPECT_TRUE(prompts.messages[0].text.endsWith("\" encountered in module cmdEnter_Click."));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(settings.PolyFit, 0);
    EXPECT_TRUE(settings.IniMissing);
}

TEST_F(ConfigDialog, FocusSelectsTheStartOfEachField) {
    StartWithoutFile();
    Open();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QLineEdit* sigma = Field("txtSigma");
    sigma->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sigma->hasFocus(); }));
    EXPECT_EQ(sigma->selectedText(), "2");

    QLineEdit* path = Field("txtFilePath");
    path->setText(QString(45, QLatin1Char('p')));
    path->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return path->hasFocus(); }));
    EXPECT_EQ(path->selectionStart(), 0);
    EXPECT_EQ(path->selectedText().size(), 30);

    QLineEdit* degree = Field("txtPolyFit");
    degree->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(QTest::qWaitFor([&] { return degree->hasFocus(); }));
    EXPECT_EQ(degree->selectedText(), "40");
}

TEST_F(ConfigDialog, ClosingTheBrowserRefillsTheFields) {
    StartWithFile(DefaultSettings(dir.path()));
    Open();
    Field("txtPolyFit")->setText("17");
    bool browserSeen = false;
    QTimer::singleShot(0, dialog.get(), [&] {
        auto* browser = dialog->findChild<frmBrowse*>();
        browserSeen = browser != nullptr && browser->isVisible();
        if (browser != nullptr) browser->findChild<QPushButton*>("cmdCancel")->click();
    });
    Click("cmdBrowse");
    EXPECT_TRUE(browserSeen);
    EXPECT_EQ(Field("txtPolyFit")->text(), "40");
    EXPECT_EQ(settings.FilePath, dir.path());
}

TEST_F(ConfigDialog, FolderChosenInTheBrowserReachesThePathField) {
    StartWithFile(DefaultSettings(dir.path()));
    const std::string chosen = dir.file("chosen");
    std::filesystem::create_directory(chosen);
    Open();
    QTimer::singleShot(0, dialog.get(), [&] {
        auto* browser = dialog->findChild<frmBrowse*>();
        if (browser == nullptr) return;
        ASSERT_TRUE(browser->setCurrentFolder(QString::fromStdString(chosen)));
        browser->findChild<QPushButton*>("cmdExit")->click();
    });
    Click("cmdBrowse");
    EXPECT_EQ(settings.FilePath, chosen);
    EXPECT_EQ(Field("txtFilePath")->text().toStdString(), chosen);
    Click("cmdEnter");
    EXPECT_NE(ReadFileBytes(IniPath()).find("\r\nFilePath=" + chosen + "\r\n"), std::string::npos);
}

}  // namespace
}  // namespace sabrix
