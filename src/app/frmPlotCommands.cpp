// The main window's data commands: loading a star file or a three-column file, the redraw
// sequence, "Reset Plot", "Omit fainter thans" and the two save commands. Each command runs
// the program's logic and applies what it returns to the window's controls.
#include <QApplication>
#include <QCoreApplication>

#include "core/ErrorText.h"
#include "core/frmPlot.h"
#include "data/BandColor.h"
#include "data/SaveCommands.h"
#include "data/StarFileImport.h"
#include "data/TextFields.h"
#include "data/XYZLoadCommand.h"
#include "plot/PlotWindow.h"
#include "plot/Plotter.h"
#include "shell/frmStats.h"

namespace sabrix {

namespace {

// How often the long loops let the window repaint and update the progress bar.
constexpr int64_t kProgressEvery = 50;

void ProcessEvents() {
    QCoreApplication::processEvents();
}

// Keeps the window busy (every command refused) for the lifetime of the guard, and puts
// back the state it found.
class BusyGuard {
  public:
    explicit BusyGuard(frmPlot& window) : window_(window), wasBusy_(window.isBusy()) {
        window_.setBusy(true);
    }
    ~BusyGuard() { window_.setBusy(wasBusy_); }

  private:
    frmPlot& window_;
    bool wasBusy_;
};

}  // namespace

void frmPlot::SetPlotPicturesVisible(bool visible) {
    for (QWidget* widget : {static_cast<QWidget*>(picView), static_cast<QWidget*>(picJDScale),
                            static_cast<QWidget*>(picMagScale), static_cast<QWidget*>(fraButtons)})
        widget->setVisible(visible);
}

void frmPlot::ClearPictures() {
    picView->canvas().Cls();
    picJDScale->canvas().Cls();
    picMagScale->canvas().Cls();
}

void frmPlot::Redraw(bool withOverlays) {
    (void)withOverlays;  // averages and the polynomial curve join the sequence when built
    if (!Data1) return;
    for (PictureBox* picture : {picJDScale, picView, picMagScale}) picture->fitCanvas();
    try {
        Scaler(state_.view, picView->canvas(), picJDScale->canvas(), picMagScale->canvas());
    } catch (const std::exception& e) {
        if (!ScalerErrorIsSilent(state_.view))
            prompts_.message(ModuleErrorText(DisplayText(e.what()), QStringLiteral("Scaler")),
                             QStringLiteral("Error"), Buttons::OK, Icon::None);
    }
    RunPlotter();
}

void frmPlot::RunPlotter() {
    PlotOutcome outcome;
    {
        BusyGuard busy(*this);
        if (state_.overlay.StatsShown) statsWindow()->show();
        lblPrg->setText(QStringLiteral("Plotting. . . ."));
        lblPrg->show();
        outcome = Plotter(state_, *Data1, picView->canvas(), picJDScale->canvas(),
                          picMagScale->canvas(), ProcessEvents);
    }
    for (const QString& message : outcome.errorMessages)
        prompts_.message(message, QStringLiteral("Error"), Buttons::OK, Icon::None);
    if (outcome.starLabel) lblStarName->setText(*outcome.starLabel);
    if (outcome.statusText) setPanelText(2, *outcome.statusText);
    if (outcome.cursorName) picView->setToolCursor(*outcome.cursorName);
    if (outcome.statsLines) {
        frmStats* stats = statsWindow();
        stats->clear();
        for (const QString& line : *outcome.statsLines) stats->printLine(line);
    }
    // The plot look: the titles, the logo and the progress controls give way to the plot.
    Label1->hide();
    Label2->hide();
    prgLoad->hide();
    lblPrg->hide();
    ShowPlotView();
    for (PictureBox* picture : {picJDScale, picView, picMagScale}) picture->update();
}

bool frmPlot::FitPlotWindow() {
    try {
        if (FindExtremes(state_.view, *Data1)) return true;
        prompts_.message(NoObservationsText(state_.star.StarName),
                         QStringLiteral("No Observations"), Buttons::OK, Icon::None);
        state_.overlay.StateOK = false;
        HidePlotView();
    } catch (const std::exception& e) {
        prompts_.message(ModuleErrorText(DisplayText(e.what()), QStringLiteral("FindExtremes")),
                         QStringLiteral("Error"), Buttons::OK, Icon::None);
    }
    return false;
}

void frmPlot::cmdLoad_Click() {
    mnuLoad_Click();
}

void frmPlot::mnuLoad_Click() {
    if (isBusy()) return;
    if (state_.star.FileLoaded) {
        const Answer answer = prompts_.message(
            QStringLiteral("Unload current star ") +
                DisplayText(TrimBlanks(state_.star.StarName)).toUpper() + QStringLiteral(" ?"),
            QStringLiteral("Unload Current Star?"), Buttons::OKCancel, Icon::Question);
        if (answer != Answer::OK) return;
        if (!UnloadStar()) return;
    }
    ProcessEvents();
    ClearPictures();
    FileDialogOptions options;
    options.filter = QStringLiteral("All Files (*.*)|*.*|");
    options.initialFolder = DisplayText(state_.settings.FilePath);
    const std::optional<QString> path = prompts_.openFile(options);
    if (!path) return;
    LoadStarFile(PathBytes(*path));
}

void frmPlot::LoadStarFile(const std::string& path) {
    if (isBusy() || !Data1) return;
    if (state_.star.FileLoaded && !UnloadStar()) return;
    state_.settings.FilePath = path;
    ImportStarFile();
    repaint();
    setPanelText(1, QStringLiteral("File: ") + DisplayText(state_.settings.FilePath));
    setPanelText(2, PlainMagnificationText(state_));
    if (!state_.overlay.StateOK) {
        state_.overlay.StateOK = true;
        SetPlotPicturesVisible(false);
        prgLoad->hide();
        lblPrg->hide();
        cmdLoad->show();
    } else {
        SetPlotPicturesVisible(true);
    }
    Label1->hide();
    Label2->hide();
}

void frmPlot::ImportStarFile() {
    cmdLoad->hide();
    ImportResult result;
    bool failed = false;
    QString failure;
    {
        BusyGuard busy(*this);
        ImportCallbacks callbacks;
        callbacks.started = [this](int32_t recordCount) {
            state_.star.RecordCount = recordCount;
            prgLoad->setRange(0, std::max(recordCount, 1));
            prgLoad->setValue(0);
            prgLoad->show();
        };
        callbacks.firstRow = [this](const std::string& caption) {
            lblPrg->setText(DisplayText(caption));
            lblPrg->show();
        };
        callbacks.progress = [this](int64_t n) {
            if (n % kProgressEvery == 0) prgLoad->setValue(static_cast<int>(n));
        };
        callbacks.yield = ProcessEvents;
        try {
            result = ImportStarFileRows(state_.settings.FilePath,
                                        state_.star.FilesFolder + "/Errors.txt", *Data1,
                                        state_.settings, callbacks);
        } catch (const std::exception& e) {
            failed = true;
            failure = DisplayText(e.what());
        }
    }
    state_.star.RecordCount = result.recordCount;
    if (failed) {
        prompts_.message(
            QStringLiteral("Error in loading database. Check source file.\r\n") + failure,
            QStringLiteral("Error"), Buttons::OK, Icon::Critical);
        state_.overlay.StateOK = false;
        UnloadStar();
        return;
    }
    const std::optional<ImportMessage> message = ImportMessageFor(result);
    switch (result.outcome) {
        case ImportResult::Outcome::Loaded: {
            state_.star.StarName = result.starName;
            state_.star.BackupMade = false;
            lblPrg->hide();
            prgLoad->hide();
            if (!FitPlotWindow()) {
                // Nothing can be shown: the rows go again, so the next load starts empty.
                state_.overlay.StateOK = false;
                UnloadStar();
                return;
            }
            state_.star.FileLoaded = true;
            // A load that worked clears whatever failure other windows left in the flag.
            state_.overlay.StateOK = true;
            Redraw(false);
            if (message)
                prompts_.message(message->text, message->title, Buttons::OK, message->icon);
            return;
        }
        case ImportResult::Outcome::NoDataLines:
            if (message)
                prompts_.message(message->text, message->title, Buttons::OK, message->icon);
            state_.overlay.StateOK = false;
            return;
        case ImportResult::Outcome::CannotOpen:
        case ImportResult::Outcome::InputPastEnd:
        case ImportResult::Outcome::ConversionFailed:
            if (message)
                prompts_.message(message->text, message->title, Buttons::OK, message->icon);
            state_.overlay.StateOK = false;
            if (picView->isHidden()) {
                cmdLoad->show();
                picNorvane->show();
            }
            // The import stored nothing; unloading gives the empty window and a fresh table.
            UnloadStar();
            return;
    }
}

void frmPlot::cmdReset_Click() {
    if (isBusy() || !Data1 || !state_.star.FileLoaded) return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (state_.overlay.ObserverMarked) {
        try {
            UnMarkObs(state_, *Data1);
        } catch (const std::exception& e) {
            prompts_.message(ModuleErrorText(DisplayText(e.what()), QStringLiteral("UnMarkObs")),
                             QStringLiteral("Error"), Buttons::OK, Icon::None);
        }
        state_.overlay.MarkCount = 0;
    }
    state_.overlay.BinsShown = false;
    state_.overlay.PolyShown = false;
    state_.view.JDMagnification = 1.0f;
    state_.view.MagMagnification = 1.0f;
    const bool fitted = FitPlotWindow();
    setPanelText(2, PlainMagnificationText(state_));
    state_.overlay.BinJD.clear();
    state_.overlay.BinMag.clear();
    state_.overlay.BinSD.clear();
    // An empty table leaves nothing to draw: the empty look stays.
    if (fitted) Redraw(false);
    picView->setToolCursor(QStringLiteral("XHairs"));
    QApplication::restoreOverrideCursor();
}

void frmPlot::mnuFaint_Click() {
    // The menu has toggled its check mark already; the flag is what counts.
    mnuFaint->setChecked(state_.overlay.OmitFainter);
    if (isBusy()) return;
    if (!state_.star.FileLoaded) {
        prompts_.message(QStringLiteral("No star file is loaded."),
                         QStringLiteral("No Star Loaded"), Buttons::OK, Icon::Critical);
        return;
    }
    state_.overlay.OmitFainter = !state_.overlay.OmitFainter;
    mnuFaint->setChecked(state_.overlay.OmitFainter);
    cmdReset_Click();
}

void frmPlot::mnuSave_Click() {
    if (isBusy() || !Data1) return;
    BusyGuard busy(*this);
    sabrix::mnuSave_Click(state_, *Data1, prompts_, *clock_, *this);
}

void frmPlot::mnuSaveXYZ_Click() {
    if (isBusy() || !Data1) return;
    BusyGuard busy(*this);
    sabrix::mnuSaveXYZ_Click(state_, *Data1, prompts_, *this);
}

void frmPlot::mnuXYZ_Click() {
    if (isBusy() || !Data1) return;
    if (!AskUnloadForXYZ(state_, prompts_)) return;
    if (state_.star.FileLoaded && !UnloadStar()) return;
    ProcessEvents();
    ClearPictures();
    const std::optional<QString> path = prompts_.openFile(XYZOpenDialogOptions(state_));
    if (!path || !XYZBeginLoad(state_, PathBytes(*path))) return;
    repaint();
    setPanelText(1, XYZFileStatusText(state_));
    setPanelText(2, PlainMagnificationText(state_));

    cmdLoad->hide();
    repaint();
    XYZLoadOutcome outcome;
    {
        BusyGuard busy(*this);
        XYZLoadCallbacks callbacks;
        callbacks.counted = [this](int32_t lineCount) {
            lblPrg->setText(XYZLoadingCaption(lineCount));
            lblPrg->show();
            prgLoad->setRange(0, lineCount + 10);
            prgLoad->setValue(0);
            prgLoad->show();
        };
        callbacks.beforeLine = [this](int64_t rowsStored) {
            if (rowsStored % kProgressEvery != 0) return;
            ProcessEvents();
            prgLoad->setValue(static_cast<int>(rowsStored));
        };
        outcome = XYZLoadFile(state_, *Data1, prompts_, callbacks);
    }
    lblPrg->hide();
    prgLoad->hide();
    if (outcome == XYZLoadOutcome::Loaded) {
        if (FitPlotWindow())
            Redraw(false);
        else
            state_.overlay.StateOK = false;
    }
    if (state_.overlay.StateOK) {
        SetPlotPicturesVisible(true);
        Label1->hide();
        Label2->hide();
        lblCopyright->hide();
    } else {
        state_.overlay.StateOK = true;
        UnloadStar();
        prgLoad->hide();
        lblPrg->hide();
    }
}

void frmPlot::hidePlotForSave() {
    SetPlotPicturesVisible(false);
    lblStarName->hide();
    picNorvane->show();
    lblPrg->show();
}

void frmPlot::setProgressCaption(const QString& caption) {
    lblPrg->setText(caption);
    repaint();
}

void frmPlot::restorePlotAfterSave() {
    SetPlotPicturesVisible(true);
    lblStarName->show();
    picNorvane->hide();
    lblPrg->hide();
}

void frmPlot::yield() {
    ProcessEvents();
}

}  // namespace sabrix
