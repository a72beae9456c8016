// SPDX-License-Identifier: GPL-3.0-or-later
// MinimaController: the times of minimum, their window and the O-C diagram.
#include <cmath>

#include "analysis/ShownObservations.h"
#include "app/CommandList.h"
#include "app/MinimaController.h"
#include "core/AtomicFile.h"
#include "core/ErrorText.h"
#include "core/NumberText.h"
#include "core/TrimBlanks.h"
#include "dialogs/ImageExportDialog.h"
#include "plot/PhasePlot.h"
#include "plot/PlotImageFile.h"

namespace sabrix {

namespace {

const QString kTitle = QStringLiteral("Time of Minimum");
// The marks of the listed times on the light curve: magenta, as the canvas takes colours.
constexpr int32_t kMarkColor = 0xFF00FF;

QString Fixed(double v, int decimals) {
    return QString::fromStdString(FormatFixed(v, 1, decimals));
}

}  // namespace

MinimaController::MinimaController(CommandContext& context) : ctx_(context) {
    ctx_.OnForgetStar([this] {
        listOf_.clear();
        list_.clear();
        ocOpen_ = listOpen_ = false;
        if (dialogs_) {
            dialogs_->closeOc();
            dialogs_->closeList();
        }
    });
    ctx_.AddHighlight([this] { DrawMarks(); });
}

std::string MinimaController::StarPath() const {
    return ctx_.state.star.ThreeColumnFormat ? ctx_.state.star.ThreeColumnFilePath
                                             : ctx_.state.settings.FilePath;
}

const std::vector<ListedExtremum>& MinimaController::list() {
    const std::string path = ctx_.state.star.FileLoaded ? StarPath() : std::string();
    if (path != listOf_) {
        listOf_ = path;
        list_.clear();
        if (!path.empty()) {
            MinimaListOutcome read = LoadMinimaList(path);
            if (!read.refusal.isEmpty())
                ctx_.Say(QString::fromStdString(MinimaListPath(path)) + QStringLiteral(": ") +
                             read.refusal,
                         kTitle, Buttons::OK, Icon::Exclamation);
            list_ = std::move(read.list);
        }
    }
    return list_;
}

void MinimaController::Choose(Extremum kind) {
    if (!ctx_.state.star.FileLoaded) {
        ctx_.Say(QStringLiteral("No star file is loaded."), kTitle, Buttons::OK, Icon::Exclamation);
        return;
    }
    if (ctx_.Frame().Cyclic()) {
        ctx_.Say(QStringLiteral("Times of minimum are taken on the light curve: choose Time Plot "
                                "first."),
                 kTitle, Buttons::OK, Icon::Exclamation);
        return;
    }
    kind_ = kind;
    if (armBox) armBox();
}

void MinimaController::mnuMinimum_Click() {
    Choose(Extremum::Minimum);
}

void MinimaController::mnuMaximum_Click() {
    Choose(Extremum::Maximum);
}

void MinimaController::mnuMinimaList_Click() {
    if (!ctx_.state.star.FileLoaded) {
        ctx_.Say(QStringLiteral("No star file is loaded."), kTitle, Buttons::OK, Icon::Exclamation);
        return;
    }
    listOpen_ = true;
    ShowList();
}

void MinimaController::TimeOfExtremumInBox(double x1, double y1, double x2, double y2) {
    ctx_.view.cursorName = QStringLiteral("XHairs");
    if (!ctx_.table || ctx_.Frame().Cyclic()) return;
    const double first = ctx_.state.view.JDFirst;
    const PeriodObservations shown = ShownObservations(
        ctx_.table->Columns(), ctx_.state, std::min(x1, x2) + first, std::max(x1, x2) + first);
    std::vector<double> times, mags;
    for (size_t i = 0; i < shown.times.size(); ++i)
        if (shown.mags[i] >= std::min(y1, y2) && shown.mags[i] <= std::max(y1, y2)) {
            times.push_back(shown.times[i]);
            mags.push_back(shown.mags[i]);
        }
    const TimeOfExtremumOutcome found = FindTimeOfExtremum(times, mags, kind_);
    if (!found.value) {
        ctx_.Say(found.refusal, kTitle, Buttons::OK, Icon::Exclamation);
        return;
    }
    list();
    list_.push_back({*found.value, false});
    Save();
    listOpen_ = true;
    ShowList();
    if (ocOpen_) ShowOc();
    ctx_.Redraw(true);
}

void MinimaController::Save() {
    try {
        SaveMinimaList(listOf_, list_);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "SaveMinimaList");
    }
}

QString MinimaController::ListText() {
    QString text;
    for (const ListedExtremum& e : list()) {
        const TimeOfExtremum& v = e.value;
        text += Fixed(v.time + ctx_.state.star.TimeOffset, 6) + QLatin1Char(' ') +
                Fixed(v.error, 6) + QLatin1Char(' ') +
                QString::fromLatin1(ExtremumMethodName(v.method)) + QLatin1Char(' ') +
                QString::number(v.count) +
                (v.kind == Extremum::Minimum ? QStringLiteral(" min") : QStringLiteral(" max")) +
                QStringLiteral("\r\n");
    }
    return text;
}

void MinimaController::ShowList() {
    if (!dialogs_) return;
    MinimaWindowView view;
    view.title =
        QStringLiteral("Times of minimum - ") + DisplayText(TrimBlanks(ctx_.state.star.StarName));
    for (const ListedExtremum& e : list()) {
        const TimeOfExtremum& v = e.value;
        view.rows.push_back(
            {Fixed(v.time + ctx_.state.star.TimeOffset, 6), Fixed(v.error, 6),
             QString::fromLatin1(ExtremumMethodName(v.method)), QString::number(v.count),
             v.kind == Extremum::Minimum ? QStringLiteral("min") : QStringLiteral("max")});
    }
    dialogs_->showList(view, [this](const MinimaEvent& event) {
        if (ctx_.Allows(cmd::MinimaWindowEvent.needs)) MinimaWindowEvent(event);
        ctx_.Present();
    });
}

std::optional<std::string> MinimaController::AskPath(const QString& title, const std::string& name,
                                                     const QString& filter) const {
    const std::string star = StarPath();
    const std::string folder = star.substr(0, star.find_last_of('/') + 1);
    FileDialogOptions options;
    options.title = title;
    options.fileName = DisplayText(folder + name);
    options.filter = filter;
    options.initialFolder = DisplayText(folder);
    options.confirmOverwrite = true;
    const std::optional<QString> chosen = ctx_.prompts.saveFile(options);
    if (!chosen || chosen->isEmpty()) return std::nullopt;
    return PathBytes(*chosen);
}

void MinimaController::MinimaWindowEvent(const MinimaEvent& event) {
    using Kind = MinimaEvent::Kind;
    switch (event.kind) {
        case Kind::Copy:
            if (dialogs_) dialogs_->copyText(ListText());
            break;
        case Kind::Save: {
            const std::optional<std::string> path =
                AskPath(QStringLiteral("Save Times of Minimum"), "minima.txt",
                        QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
            if (!path) break;
            const std::string text = ListText().toStdString();
            try {
                WriteFileAtomically(*path, [&](QIODevice& out) { WriteAllBytes(out, text); });
            } catch (const std::exception& e) {
                ctx_.SayModuleError(e, "SaveMinima");
            }
            break;
        }
        case Kind::Remove:
            if (event.row < 0 || event.row >= static_cast<int>(list().size())) break;
            list_.erase(list_.begin() + event.row);
            Save();
            ShowList();
            if (ocOpen_) ShowOc();
            ctx_.Redraw(true);
            break;
        case Kind::OcDiagram:
            // On the phase plot the period folded there is the first guess.
            if (const auto* phase = dynamic_cast<const PhaseFrame*>(&ctx_.Frame());
                periodText_.isEmpty() && phase)
                periodText_ = QString::fromStdString(FormatDouble(phase->fold().period));
            if (epochText_.isEmpty())
                for (const ListedExtremum& e : list())
                    if (e.value.kind == Extremum::Minimum) {
                        epochText_ = Fixed(e.value.time, 6);
                        break;
                    }
            ocOpen_ = true;
            oc_ = OcDiagram();
            ShowOc();
            break;
        case Kind::Close:
            listOpen_ = false;
            if (dialogs_) dialogs_->closeList();
            break;
    }
}

void MinimaController::ShowOc() {
    if (!dialogs_) return;
    double epoch = 0, period = 0;
    const bool ready = ParseNumber(epochText_.toStdString(), epoch) &&
                       ParseNumber(periodText_.toStdString(), period) && period > 0;
    // The diagram keeps its zoom and omissions while the list and ephemeris stay.
    std::vector<ListedExtremum> minima;
    for (const ListedExtremum& e : list())
        if (e.value.kind == Extremum::Minimum) minima.push_back(e);
    if (ready) {
        const bool same = oc_.ephemeris().epoch == epoch && oc_.ephemeris().period == period &&
                          oc_.list().size() == minima.size();
        if (!same) oc_.Set(minima, {epoch, period});
    }
    OcWindowView view;
    view.title =
        QStringLiteral("O-C Diagram - ") + DisplayText(TrimBlanks(ctx_.state.star.StarName));
    view.epoch = epochText_;
    view.period = periodText_;
    view.quadratic = oc_.quadratic();
    view.selecting = selecting_;
    if (!ready) {
        view.fitLines = {
            QStringLiteral("Type the epoch T0 (JD) and the period P (days) of the "
                           "ephemeris, then Apply.")};
    } else {
        view.fitLines = oc_.FitLines();
        view.draw = [diagram = oc_](Canvas& plot, Canvas& across, Canvas& down) {
            diagram.Draw(plot, across, down);
            return QStringLiteral("O-C (days) against cycle");
        };
    }
    dialogs_->showOc(view, [this](const OcEvent& event) {
        if (ctx_.Allows(cmd::OcWindowEvent.needs)) OcWindowEvent(event);
        ctx_.Present();
    });
}

void MinimaController::OcWindowEvent(const OcEvent& event) {
    using Kind = OcEvent::Kind;
    switch (event.kind) {
        case Kind::Apply: {
            double epoch = 0, period = 0;
            if (!ParseNumber(event.epoch.toStdString(), epoch)) {
                ctx_.Say(QStringLiteral("Epoch: type the Julian Date of a minimum, for example "
                                        "2459012.4318."),
                         kTitle, Buttons::OK, Icon::Exclamation);
                return;
            }
            if (!ParseNumber(event.period.toStdString(), period) || !(period > 0)) {
                ctx_.Say(QStringLiteral("Period: type a number of days greater than 0."), kTitle,
                         Buttons::OK, Icon::Exclamation);
                return;
            }
            epochText_ = event.epoch.trimmed();
            periodText_ = event.period.trimmed();
            break;
        }
        case Kind::Quadratic:
            oc_.SetQuadratic(event.checked);
            break;
        case Kind::Selecting:
            selecting_ = event.checked;
            break;
        case Kind::Box:
            if (selecting_) {
                oc_.ToggleInBox(event.x1, event.y1, event.x2, event.y2);
                // The times left out are kept in the list (and its file) by their time.
                for (ListedExtremum& e : list_)
                    for (const ListedExtremum& shown : oc_.list())
                        if (shown.value.time == e.value.time) e.omitted = shown.omitted;
                Save();
            } else {
                oc_.ZoomToBox(event.x1, event.y1, event.x2, event.y2);
            }
            break;
        case Kind::Reset:
            oc_.Reset();
            break;
        case Kind::ExportCsv: {
            if (oc_.points().empty()) break;
            const std::optional<std::string> path =
                AskPath(QStringLiteral("Export O-C"), "o-c.csv",
                        QStringLiteral("CSV Files (*.csv)|*.csv|All Files (*.*)|*.*|"));
            if (!path) break;
            try {
                WriteFileAtomically(*path, [&](QIODevice& out) { oc_.WriteCsv(out); });
            } catch (const std::exception& e) {
                ctx_.SayModuleError(e, "ExportOC");
            }
            break;
        }
        case Kind::ExportImage: {
            if (oc_.points().empty() || !imageExportDialog_) break;
            const std::optional<ImageExportChoice> choice =
                imageExportDialog_->ask(ImageExportChoice{1000, 600, PlotImageFormat::Png});
            if (!choice) break;
            const char* extension = PlotImageExtension(choice->format);
            std::optional<std::string> path =
                AskPath(QStringLiteral("Export O-C Picture"), std::string("o-c") + extension,
                        PlotImageFilter(choice->format));
            if (!path) break;
            if (!PlotImageFormatFor(*path)) *path += extension;
            try {
                const OcDiagram diagram = oc_;
                const QByteArray bytes = PlotImageBytes(
                    *PlotImageFormatFor(*path), choice->width, choice->height,
                    [&diagram](PlotAreaCanvases& canvases) {
                        diagram.Draw(canvases.picView, canvases.picJDScale, canvases.picMagScale);
                        canvases.xTitle = QStringLiteral("Cycle E");
                        canvases.yTitle = QStringLiteral("O-C (days)");
                        return QStringLiteral("O-C (days) against cycle");
                    });
                WriteFileAtomically(*path, [&bytes](QIODevice& out) {
                    WriteAllBytes(out, std::string_view(bytes.constData(),
                                                        static_cast<size_t>(bytes.size())));
                });
            } catch (const std::exception& e) {
                ctx_.SayModuleError(e, "ExportOC");
            }
            break;
        }
        case Kind::Close:
            ocOpen_ = false;
            if (dialogs_) dialogs_->closeOc();
            return;
    }
    ShowOc();
}

void MinimaController::DrawMarks() {
    if (ctx_.Frame().Cyclic() || !ctx_.state.star.FileLoaded) return;
    const PlotWindowState& v = ctx_.state.view;
    for (const ListedExtremum& e : list()) {
        const double x = e.value.time - v.JDFirst;
        ctx_.canvases.picView.VerticalLine(x, v.WinMagTop, v.WinMagBottom, kMarkColor);
    }
}

}  // namespace sabrix
