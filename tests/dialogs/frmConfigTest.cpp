#include <gtest/gtest.h>

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
using test::RecordedMessage;

class ConfigDialog : public ::testing::Test {
  protected:
    // A program directory whose settings file holds these settings (or none at all).
    void StartWithFile(const Settings& inFile) {
        WriteSettings(dir.path(), inFile);
        ASSERT_TRUE(ReadSettings(dir.path(), settings));
    }
    void StartWithoutFile() { ASSERT_FALSE(ReadSettings(dir.path(), settings)); }
    void Open() {
        dialog = std::make_unique<frmConfig>(settings, dir.path(), prompts);
        dialog->resize(480, 420);
        dialog->show();
    }
    template <typename T = QPushButton>
    T* Control(const std::string& name) {
        T* control = dialog->findChild<T*>(QString::fromStdString(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    void Click(const char* name) { Control(name)->click(); }
    QLineEdit* Field(const char* name) { return Control<QLineEdit>(name); }
    void SetPath(const std::string& path) { Field("txtFilePath")->setText(QString::fromStdString(path)); }
    // Each colour button ("cmdVIS" for ColorVIS) shows the colour of want.
    void ExpectButtonColors(const Settings& want) {
        for (const auto& color : ColorSettings())
            EXPECT_EQ(frmConfig::ButtonColor(Control("cmd" + std::string(color.key + 5))),
                      want.*color.member)
                << color.key;
    }
    std::string Ini() const { return ReadFileBytes(dir.file("Sabrix.ini")); }
    bool IniExists() const { return std::filesystem::exists(dir.file("Sabrix.ini")); }
    bool IniHasLine(const std::string& line) const {
        return Ini().find("\r\n" + line + "\r\n") != std::string::npos;
    }

    test::TempProgramDir dir{false};
    test::ScriptedPrompts prompts;
    Settings settings;
    std::unique_ptr<frmConfig> dialog;
};

TEST_F(ConfigDialog, FirstStartShowsTheDefaultsAndEnterWritesThem) {
    StartWithoutFile();
    Open();
    EXPECT_EQ(dialog->windowTitle(), "Configure Sabrix");
    EXPECT_EQ(Field("txtFilePath")->text().toStdString(), dir.path());
    EXPECT_FALSE(Control<QCheckBox>("chkConnMark")->isChecked());
    EXPECT_EQ(Field("txtPolyFit")->text(), "40");
    EXPECT_EQ(Field("txtSigma")->text(), "2");
    ExpectButtonColors(DefaultSettings(dir.path()));
    Click("cmdEnter");
    EXPECT_EQ(Ini(), SettingsFileText(DefaultSettings(dir.path())));
    EXPECT_FALSE(settings.IniMissing);
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
    Open();
    dialog->close();
    EXPECT_TRUE(dialog->endProgramRequested());
    EXPECT_FALSE(IniExists());
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
    inFile.ColorJ = 4227200;
    ExpectButtonColors(inFile);
}

TEST_F(ConfigDialog, PickedColourGoesIntoSettingButtonAndFile) {
    StartWithFile(DefaultSettings(dir.path()));
    Open();
    prompts.color(0x123456);
    Click("cmdH");
    EXPECT_EQ(frmConfig::ButtonColor(Control("cmdH")), 0x123456);
    prompts.color(std::nullopt);  // cancelled: nothing changes
    Click("cmdH");
    EXPECT_EQ(settings.ColorH, 0x123456);
    Click("cmdEnter");
    EXPECT_TRUE(IniHasLine("ColorH=1193046"));
}

TEST_F(ConfigDialog, CancelRestoresAPickedColourAndKeepsTheProgramRunning) {
    Settings inFile = DefaultSettings(dir.path());
    inFile.ColorB = 255;
    StartWithFile(inFile);
    Open();
    prompts.color(65280);
    Click("cmdB");
    EXPECT_EQ(settings.ColorB, 65280);
    Click("cmdCancel");
    EXPECT_EQ(settings.ColorB, 255);
    EXPECT_EQ(Ini(), SettingsFileText(inFile));
    EXPECT_FALSE(dialog->endProgramRequested());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
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
    ExpectButtonColors(DefaultSettings(dir.path()));
    EXPECT_EQ(Field("txtPolyFit")->text(), "40");
    Click("cmdEnter");
    EXPECT_EQ(Ini(), SettingsFileText(DefaultSettings(dir.path())));
}

TEST_F(ConfigDialog, DegreeFieldTakesOnlyDigitsAndReturnConfirms) {
    StartWithoutFile();
    Open();
    QLineEdit* degree = Field("txtPolyFit");
    degree->clear();
    QTest::keyClicks(degree, "1x2");
    EXPECT_EQ(degree->text(), "12");
    EXPECT_EQ(prompts.messages, (std::vector<RecordedMessage>{
                                    {"  Invalid Character! ", "Sabrix", Buttons::OK, Icon::Critical}}));
    QTest::keyClick(degree, Qt::Key_Backspace);
    QTest::keyClick(degree, Qt::Key_Left);
    QTest::keyClick(degree, Qt::Key_Space);
    EXPECT_EQ(degree->text(), "1");
    EXPECT_EQ(prompts.messages.size(), 2u);
    QLineEdit* sigma = Field("txtSigma");  // no key filter here
    sigma->clear();
    QTest::keyClicks(sigma, "a3");
    EXPECT_EQ(sigma->text(), "a3");
    EXPECT_EQ(prompts.messages.size(), 2u);
    EXPECT_FALSE(IniExists());
    sigma->setText("3");
    QTest::keyClick(degree, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(settings.PolyFit, 1);
    EXPECT_TRUE(IniHasLine("PolyFit=1"));
}

TEST_F(ConfigDialog, EnterIsRefusedForBadNumbersAndWritesNothing) {
    const std::tuple<const char*, const char*, const char*> bad[] = {
        {"", "2", "polynomial fit"},          {"41", "2", "polynomial fit"},
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
        SetPath(dir.file("wanted"));
        Field("txtPolyFit")->setText(degree);
        Field("txtSigma")->setText(sigma);
        Click("cmdEnter");
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].title, "Configure Sabrix");
        EXPECT_TRUE(prompts.messages[0].text.contains(QLatin1String(named)));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(IniExists());
        EXPECT_FALSE(std::filesystem::exists(dir.file("wanted")));
        EXPECT_EQ(settings.PolyFit, 0);
        EXPECT_TRUE(settings.IniMissing);
    }
}

TEST_F(ConfigDialog, MissingFolderAnsweredYesIsCreatedAndWritten) {
    StartWithoutFile();
    Open();
    const std::string wanted = dir.file("new data");
    SetPath(wanted);
    prompts.answer(Answer::Yes);
    Click("cmdEnter");
    EXPECT_EQ(prompts.messages,
              (std::vector<RecordedMessage>{
                  {QString::fromStdString("The folder " + wanted +
                                          " does not exist. Do you want to creat it?"),
                   "Folder Missing!", Buttons::YesNo, Icon::None}}));
    EXPECT_TRUE(std::filesystem::is_directory(wanted));
    EXPECT_EQ(settings.FilePath, wanted);
    EXPECT_TRUE(IniHasLine("FilePath=" + wanted));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(ConfigDialog, MissingFolderRefusedOrNotCreatedKeepsTheDialogOpenWithTheOldFolder) {
    StartWithFile(DefaultSettings(dir.path()));
    const std::string before = Ini();
    Open();
    SetPath(dir.file("nowhere"));
    prompts.answer(Answer::No);
    Click("cmdEnter");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(Field("txtFilePath")->text().toStdString(), dir.path());
    EXPECT_FALSE(std::filesystem::exists(dir.file("nowhere")));

    SetPath(dir.file("no/such/parent"));
    prompts.answer(Answer::Yes);
    Click("cmdEnter");
    ASSERT_EQ(prompts.messages.size(), 3u);
    EXPECT_EQ(prompts.messages[2].text.toStdString(),
              "The folder " + dir.file("no/such/parent") + " could not be created.");
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(settings.FilePath, dir.path());
    EXPECT_TRUE(settings.IniMissing);
    EXPECT_EQ(Ini(), before);
    // The configuration is unconfirmed now: closing the dialog ends the program.
    dialog->close();
    EXPECT_TRUE(dialog->endProgramRequested());
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
    Field("txtFilePath")->setText(QString(45, QLatin1Char('p')));
    for (const auto& [name, selected] : {std::pair<const char*, int>{"txtSigma", 1},
                                         {"txtFilePath", 30}, {"txtPolyFit", 2}}) {
        QLineEdit* field = Field(name);
        field->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(QTest::qWaitFor([&] { return field->hasFocus(); })) << name;
        EXPECT_EQ(field->selectionStart(), 0) << name;
        EXPECT_EQ(field->selectedText().size(), selected) << name;
    }
}

TEST_F(ConfigDialog, BrowserHandsBackItsFolderAndRefillsTheFields) {
    StartWithFile(DefaultSettings(dir.path()));
    const std::string chosen = dir.file("chosen");
    std::filesystem::create_directory(chosen);
    Open();
    Field("txtPolyFit")->setText("17");
    // Cancelled first, then a folder chosen.
    for (const char* button : {"cmdCancel", "cmdExit"}) {
        bool browserSeen = false;
        QTimer::singleShot(0, dialog.get(), [&] {
            auto* browser = dialog->findChild<frmBrowse*>();
            browserSeen = browser != nullptr && browser->isVisible();
            if (browser == nullptr) return;
            browser->setCurrentFolder(QString::fromStdString(chosen));
            browser->findChild<QPushButton*>(button)->click();
        });
        Click("cmdBrowse");
        EXPECT_TRUE(browserSeen);
        EXPECT_EQ(settings.FilePath, button == std::string("cmdExit") ? chosen : dir.path());
    }
    EXPECT_EQ(Field("txtPolyFit")->text(), "40");
    EXPECT_EQ(Field("txtFilePath")->text().toStdString(), chosen);
    Click("cmdEnter");
    EXPECT_TRUE(IniHasLine("FilePath=" + chosen));
}

}  // namespace
}  // namespace sabrix
