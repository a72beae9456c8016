// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>

#include "core/SettingsFile.h"
#include "ui/dialogs/frmBrowse.h"
#include "ui/dialogs/frmConfig.h"
#include "support/FileSizeLimit.h"
#include "support/ModalDialog.h"
#include "support/ScriptedPrompts.h"
#include "support/TestEnvironment.h"

namespace sabrix {
namespace {

using Messages = std::vector<test::RecordedMessage>;

class ConfigDialog : public ::testing::Test {
  protected:
    // A program directory whose settings file holds these settings (or none at all).
    void Start(std::optional<Settings> inFile) {
        if (inFile) WriteSettings(dir.path(), *inFile);
        settings = Settings{};
        EXPECT_EQ(ReadSettings(dir.path(), settings), inFile.has_value());
        dialog = std::make_unique<frmConfig>(settings, dir.path(), prompts);
        dialog->resize(480, 420);
        dialog->show();
    }
    template <typename T = QPushButton>
    T* Control(const std::string& name) {
        return dialog->findChild<T*>(QString::fromStdString(name));
    }
    void Click(const char* name) { Control(name)->click(); }
    QLineEdit* Field(const char* name) { return Control<QLineEdit>(name); }
    void Set(const char* field, const std::string& text) {
        Field(field)->setText(QString::fromStdString(text));
    }
    // Each colour button ("cmdVIS" for ColorVIS) shows the colour of want.
    void ExpectButtonColors(const Settings& want) {
        for (const auto& color : ColorSettings())
            EXPECT_EQ(frmConfig::ButtonColor(Control("cmd" + std::string(color.key + 5))),
                      want.*color.member)
                << color.key;
    }
    std::string Ini() const { return test::ReadFileBytes(dir.file("Sabrix.ini")); }
    bool IniHasLine(const std::string& line) const {
        return Ini().find("\r\n" + line + "\r\n") != std::string::npos;
    }
    Settings Defaults() const { return DefaultSettings(dir.path()); }

    test::TempProgramDir dir{false};
    test::ScriptedPrompts prompts;
    Settings settings;
    std::unique_ptr<frmConfig> dialog;
};

TEST_F(ConfigDialog, FirstStartShowsTheDefaultsAndEnterWritesThem) {
    Start(std::nullopt);
    EXPECT_EQ(dialog->windowTitle(), "Configure Sabrix");
    EXPECT_EQ(Field("txtFilePath")->text().toStdString(), dir.path());
    EXPECT_FALSE(Control<QCheckBox>("chkConnMark")->isChecked());
    EXPECT_EQ(Field("txtPolyFit")->text() + Field("txtSigma")->text(), "402");
    ExpectButtonColors(Defaults());
    Click("cmdEnter");
    EXPECT_EQ(Ini(), SettingsFileText(Defaults()));
    EXPECT_FALSE(settings.IniMissing);
    EXPECT_EQ(settings.PolyFit, 40);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->endProgramRequested());
    EXPECT_TRUE(prompts.messages.empty());
}

TEST_F(ConfigDialog, FirstStartCancelOrCloseEndsTheProgramWithoutAFile) {
    for (bool close : {false, true}) {
        Start(std::nullopt);
        close ? (void)dialog->close() : Click("cmdCancel");
        EXPECT_TRUE(dialog->endProgramRequested());
        EXPECT_FALSE(std::filesystem::exists(dir.file("Sabrix.ini")));
    }
}

TEST_F(ConfigDialog, ShowsTheFileAndEveryCloseButEnterRestoresAPickedColour) {
    Settings inFile = DefaultSettings(dir.path() + "/stars");
    inFile.ConnectMarked = true;
    inFile.PolyFit = 12;
    inFile.DefaultSigma = 3;
    inFile.ColorR = 4242;
    inFile.ColorJ = 0;  // not configured: the button shows the default
    Start(inFile);
    EXPECT_EQ(Field("txtFilePath")->text().toStdString(), dir.path() + "/stars");
    EXPECT_TRUE(Control<QCheckBox>("chkConnMark")->isChecked());
    EXPECT_EQ(Field("txtPolyFit")->text() + Field("txtSigma")->text(), "123");
    const std::string before = Ini();
    inFile.ColorJ = 4227200;
    ExpectButtonColors(inFile);
    prompts.color(65280);
    Click("cmdR");
    EXPECT_EQ(frmConfig::ButtonColor(Control("cmdR")), 65280);
    EXPECT_EQ(settings.ColorR, 65280);
    Click("cmdCancel");
    EXPECT_EQ(settings.ColorR, 4242);
    EXPECT_EQ(Ini(), before);
    EXPECT_FALSE(dialog->endProgramRequested());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);

    // Escape and the window's close button kept the picked colour, which the file lacks.
    for (const bool escape : {true, false}) {
        Start(inFile);
        prompts.color(65280);
        Click("cmdR");
        if (escape)
            QTest::keyClick(dialog.get(), Qt::Key_Escape);
        else
            dialog->close();
        EXPECT_EQ(settings.ColorR, 4242) << escape;
    }
}

TEST_F(ConfigDialog, PickedColourIsWrittenAndResetBringsBackTheDefaults) {
    Settings inFile = Defaults();
    for (const auto& color : ColorSettings()) inFile.*color.member = 7;
    Start(inFile);
    prompts.color(0x123456);
    Click("cmdH");
    prompts.color(std::nullopt);  // a cancelled colour dialog changes nothing
    Click("cmdH");
    Click("cmdEnter");
    EXPECT_TRUE(IniHasLine("ColorH=1193046"));
    Start(inFile);
    Set("txtPolyFit", "9");  // refilled from the settings by the reset
    Click("cmdReset");
    ExpectButtonColors(Defaults());
    EXPECT_EQ(Field("txtPolyFit")->text(), "40");
    Click("cmdEnter");
    EXPECT_EQ(Ini(), SettingsFileText(Defaults()));
}

TEST_F(ConfigDialog, DegreeFieldTakesOnlyDigitsAndReturnConfirms) {
    Start(std::nullopt);
    QLineEdit* degree = Field("txtPolyFit");
    degree->clear();
    QTest::keyClicks(degree, "1x2");
    EXPECT_EQ(degree->text(), "12");
    EXPECT_EQ(prompts.messages,
              (Messages{{"  Invalid Character! ", "Sabrix", Buttons::OK, Icon::Critical}}));
    QTest::keyClick(degree, Qt::Key_Backspace);
    QTest::keyClick(degree, Qt::Key_Left);
    QTest::keyClick(degree, Qt::Key_Space);
    EXPECT_EQ(degree->text(), "1");
    QLineEdit* sigma = Field("txtSigma");  // no key filter here
    sigma->clear();
    QTest::keyClicks(sigma, "a3");
    EXPECT_EQ(sigma->text(), "a3");
    EXPECT_EQ(prompts.messages.size(), 2u);
    sigma->setText("3");
    QTest::keyClick(degree, Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(IniHasLine("PolyFit=1"));
}

TEST_F(ConfigDialog, ReturnInAnyFieldConfirmsAndAFocusedButtonTakesItItself) {
    for (const char* field : {"txtFilePath", "txtSigma"}) {
        SCOPED_TRACE(field);
        std::filesystem::remove(dir.file("Sabrix.ini"));
        Start(std::nullopt);
        QTest::keyClick(Field(field), Qt::Key_Return);
        EXPECT_EQ(dialog->result(), QDialog::Accepted);
        EXPECT_TRUE(IniHasLine("PolyFit=40"));
    }
    Start(Defaults());
    Set("txtSigma", "5");
    QTest::keyClick(Control("cmdCancel"), Qt::Key_Return);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_TRUE(IniHasLine("DefaultSigma=2"));
}

TEST_F(ConfigDialog, AnEmptyFolderIsRefusedBeforeAnythingIsOffered) {
    for (const char* folder : {"", "   "}) {
        SCOPED_TRACE(std::string("'") + folder + "'");
        prompts.messages.clear();
        Start(std::nullopt);
        Set("txtFilePath", folder);
        Click("cmdEnter");
        EXPECT_EQ(prompts.messages,
                  (Messages{{"Type the folder that holds your star files, or choose it with "
                             "Browse.",
                             "Configure Sabrix", Buttons::OK, Icon::Exclamation}}));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(std::filesystem::exists(dir.file("Sabrix.ini")));
        EXPECT_TRUE(settings.IniMissing);
    }
}

TEST_F(ConfigDialog, EnterIsRefusedForBadNumbersAndWritesNothing) {
    std::vector<std::tuple<const char*, const char*, const char*>> bad;
    for (const char* d : {"", "41", "-1", "4.5", "x"}) bad.emplace_back(d, "2", "polynomial fit");
    for (const char* s : {"", "40000", "two", "2.0"})
        bad.emplace_back("40", s, "scatter bar sigma");
    for (const auto& [degree, sigma, named] : bad) {
        SCOPED_TRACE(std::string(degree) + " / " + sigma);
        prompts.messages.clear();
        Start(std::nullopt);
        Set("txtFilePath", dir.file("wanted"));
        Set("txtPolyFit", degree);
        Set("txtSigma", sigma);
        Click("cmdEnter");
        ASSERT_EQ(prompts.messages.size(), 1u);
        EXPECT_EQ(prompts.messages[0].title, "Configure Sabrix");
        EXPECT_TRUE(prompts.messages[0].text.contains(QLatin1String(named)));
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(std::filesystem::exists(dir.file("Sabrix.ini")));
        EXPECT_FALSE(std::filesystem::exists(dir.file("wanted")));
        EXPECT_EQ(settings.PolyFit, 0);
        EXPECT_TRUE(settings.IniMissing);
    }
}

TEST_F(ConfigDialog, MissingFolderAnsweredYesIsCreatedAndWritten) {
    Start(std::nullopt);
    const std::string wanted = dir.file("new data");
    Set("txtFilePath", wanted);
    prompts.answer(Answer::Yes);
    Click("cmdEnter");
    EXPECT_EQ(prompts.messages,
              (Messages{{QString::fromStdString("The folder " + wanted +
                                                " does not exist. Do you want to creat it?"),
                         "Folder Missing!", Buttons::YesNo, Icon::None}}));
    EXPECT_TRUE(std::filesystem::is_directory(wanted));
    EXPECT_TRUE(IniHasLine("FilePath=" + wanted));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST_F(ConfigDialog, MissingFolderRefusedOrNotCreatedKeepsTheDialogOpenWithTheOldFolder) {
    Start(Defaults());
    const std::string before = Ini();
    // Agreed to but impossible to make: reported, and the configuration stays confirmed.
    Set("txtFilePath", dir.file("no/such/parent"));
    prompts.answer(Answer::Yes);
    Click("cmdEnter");
    ASSERT_EQ(prompts.messages.size(), 2u);
    EXPECT_EQ(prompts.messages[1].text.toStdString(),
              "The folder " + dir.file("no/such/parent") + " could not be created.");
    EXPECT_FALSE(settings.IniMissing);
    // Refused: the configuration is unconfirmed now, so closing the dialog ends the program.
    Set("txtFilePath", dir.file("nowhere"));
    prompts.answer(Answer::No);
    Click("cmdEnter");
    EXPECT_EQ(Field("txtFilePath")->text().toStdString(), dir.path());
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_FALSE(std::filesystem::exists(dir.file("nowhere")));
    EXPECT_EQ(settings.FilePath, dir.path());
    EXPECT_EQ(Ini(), before);
    EXPECT_TRUE(settings.IniMissing);
    dialog->close();
    EXPECT_TRUE(dialog->endProgramRequested());
}

TEST_F(ConfigDialog, FailedWriteIsReportedAndChangesNothing) {
    std::filesystem::create_directories(dir.file("Sabrix.ini/blocked"));
    Start(std::nullopt);
    Set("txtPolyFit", "5");
    Click("cmdEnter");
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.startsWith("Error \"Cannot write "));
    EXPECT_TRUE(prompts.messages[0].text.endsWith("\" encountered in module cmdEnter_Click."));
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(settings.PolyFit, 0);
}

TEST_F(ConfigDialog, EnterOnAFullDiskIsReportedAndKeepsTheFile) {
    Start(Defaults());
    const std::string before = Ini();
    Set("txtPolyFit", "5");
    {
        test::FileSizeLimit fullAfter(100);
        Click("cmdEnter");
    }
    ASSERT_EQ(prompts.messages.size(), 1u);
    EXPECT_TRUE(prompts.messages[0].text.startsWith("Error \"Cannot write "));
    EXPECT_EQ(Ini(), before);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(settings.PolyFit, 40);
}

TEST_F(ConfigDialog, BrowserHandsBackItsFolderAndRefillsTheFields) {
    Start(Defaults());
    const std::string chosen = dir.file("chosen");
    std::filesystem::create_directory(chosen);
    Set("txtPolyFit", "17");
    for (const std::string button : {"cmdCancel", "cmdExit"}) {
        test::WithModalDialog<frmBrowse>(
            [&] { Click("cmdBrowse"); },
            [&](frmBrowse& browser) {
                EXPECT_EQ(browser.parent(), dialog.get());
                browser.setCurrentFolder(QString::fromStdString(chosen));
                browser.findChild<QPushButton*>(QString::fromStdString(button))->click();
            });
        EXPECT_EQ(settings.FilePath, button == "cmdExit" ? chosen : dir.path());
    }
    EXPECT_EQ(Field("txtPolyFit")->text(), "40");
    EXPECT_EQ(Field("txtFilePath")->text().toStdString(), chosen);
    Click("cmdEnter");
    EXPECT_TRUE(IniHasLine("FilePath=" + chosen));
}

}  // namespace
}  // namespace sabrix
