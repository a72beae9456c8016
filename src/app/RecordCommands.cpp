// SPDX-License-Identifier: GPL-3.0-or-later
// RecordsController: box selection and locate, the record list window and its rings, Log to
// File, observer marks and the hover details. The changes to the table are in
// RecordEditCommands.cpp.
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <utility>

#include "analysis/ShownObservations.h"
#include "app/CommandList.h"
#include "app/RecordsController.h"
#include "core/AtomicFile.h"
#include "core/ErrorText.h"
#include "core/SabrixError.h"
#include "data/BandColor.h"
#include "interaction/ObserverMarking.h"
#include "interaction/PointDetails.h"
#include "interaction/RecordRings.h"
#include "interaction/RecordSelection.h"

namespace sabrix {

namespace {

// Yellow: apart from every band colour of the defaults, and bright on the black plot.
constexpr int32_t kRingColor = 0x00FFFF;

}  // namespace

RecordsController::RecordsController(CommandContext& context, TypedNumbers& typed)
    : ctx_(context), typed_(typed) {
    ctx_.OnForgetStar([this] {
        CloseRecordList();
        ClearRings();
    });
    ctx_.AddHighlight([this] { DrawRings(); });
}

void RecordsController::DrawRings() {
    if (ringIds_.empty() || !ctx_.table) return;
    try {
        DrawRecordRings(ctx_.canvases.picView, ctx_.Frame(), ctx_.state.view, ctx_.table->Columns(),
                        ringIds_, kRingColor);
    } catch (const std::exception&) {
        // No columns to ring (a table being filled): the list's commands say why.
    }
}

void RecordsController::ChoiceChanged() {
    std::vector<int64_t> ids;
    if (recordList_) ids = recordList_->ChosenIds();
    std::sort(ids.begin(), ids.end());
    if (ids == ringIds_) return;
    ringIds_ = std::move(ids);
    ctx_.Redraw(true);
}

std::vector<int64_t> RecordsController::Select(const SelectionBounds& bounds) const {
    return SelectRecords(*ctx_.table, bounds, ctx_.Shown(), ctx_.Frame());
}

void RecordsController::BoxFinder(double x1, double y1, double x2, double y2) {
    std::vector<int64_t> records;
    const SelectionBounds bounds = BoxBounds(x1, y1, x2, y2, ctx_.state.view.JDFirst);
    try {
        records = Select(bounds);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "BoxFinder");
        ctx_.view.cursorName = QStringLiteral("XHairs");
        return;
    }
    if (records.empty()) {
        // An empty box is no failure: the user is told, not warned.
        ctx_.Say(QStringLiteral("No records selected."), QStringLiteral("No Selection"),
                 Buttons::OK, Icon::Information);
        ctx_.Redraw(false);
        return;
    }
    ShowRecords(std::move(records), false, bounds);
}

void RecordsController::Finder(double x, double y) {
    std::vector<int64_t> records;
    const SelectionBounds bounds = LocateBounds(x, y, ctx_.state.view);
    try {
        records = Select(bounds);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "Finder");
        return;
    }
    // Near no observation: nothing to list, nothing to say.
    if (!records.empty()) ShowRecords(std::move(records), true, bounds);
}

void RecordsController::ShowRecords(std::vector<int64_t> ids, bool modal,
                                    const SelectionBounds& bounds) {
    if (recordList_) {
        recordList_->Replace(std::move(ids));
        UpdateRecordList();
        ChoiceChanged();
        return;
    }
    recordList_.emplace(
        std::move(ids), ctx_.state.star.ThreeColumnFormat,
        [this](int64_t id) { return ctx_.table->RowById(id); }, ctx_.state.star.TimeOffset);
    if (!recordDialogs_) return;
    ctx_.Present();
    RecordListView view = recordList_->View();
    // The points in pixels of the plot, rings included.
    const Canvas& plot = ctx_.canvases.picView;
    const double jdFirst = ctx_.state.view.JDFirst;
    view.around =
        QRectF(plot.toPixel(bounds.jdLow - jdFirst, bounds.magLow),
               plot.toPixel(bounds.jdHigh - jdFirst, bounds.magHigh))
            .normalized()
            .adjusted(-kRingRadius - 1, -kRingRadius - 1, kRingRadius + 1, kRingRadius + 1);
    recordDialogs_->showList(view, modal, [this](const RecordListEvent& event) {
        OnRecordListEvent(event);
        ctx_.Present();
    });
    // A modal list has closed when showList returns.
    if (modal && recordList_) {
        recordList_.reset();
        ClearRings();
    }
}

void RecordsController::OnRecordListEvent(const RecordListEvent& event) {
    using Kind = RecordListEvent::Kind;
    const auto run = [this](const auto& command, auto action) {
        if (ctx_.Allows(command.needs)) ctx_.Guarded(command.name, action);
    };
    switch (event.kind) {
        case Kind::Choose:
            run(cmd::lstRecords_Click, [&] { lstRecords_Click(event.ranges, event.current); });
            break;
        case Kind::Log:
            run(cmd::cmdLog_Click, [this] { cmdLog_Click(); });
            break;
        case Kind::Delete:
            run(cmd::cmdDelete_Click, [this] { cmdDelete_Click(); });
            break;
        case Kind::Edit:
            run(cmd::cmdEdit_Click, [this] { cmdEdit_Click(); });
            break;
        case Kind::Mark:
            run(cmd::cmdMark_Click, [this] { cmdMark_Click(); });
            break;
        case Kind::Discrepant:
            run(cmd::cmdDiscrepant_Click, [this] { cmdDiscrepant_Click(); });
            break;
        case Kind::ClearDiscrepant:
            run(cmd::cmdClearDiscrepant_Click, [this] { cmdClearDiscrepant_Click(); });
            break;
        case Kind::Color:
            run(cmd::cmd0_Click, [&] { cmd0_Click(event.colorIndex); });
            break;
        case Kind::MoreColors:
            run(cmd::cmdMoreColors_Click, [this] { cmdMoreColors_Click(); });
            break;
        case Kind::Close:
            run(cmd::cmdClose_Click, [this] { cmdClose_Click(); });
            break;
        case Kind::Dismiss:
            run(cmd::frmSelect_Unload, [this] { frmSelect_Unload(); });
            break;
    }
}

void RecordsController::UpdateRecordList() {
    if (recordList_ && recordDialogs_) recordDialogs_->updateList(recordList_->View());
}

void RecordsController::RefreshRecordList() {
    if (!recordList_) return;
    recordList_->Replace(recordList_->Ids());
    UpdateRecordList();
    ChoiceChanged();
}

void RecordsController::CloseRecordList() {
    if (!recordList_) return;
    recordList_.reset();
    if (recordDialogs_) recordDialogs_->closeList();
}

bool RecordsController::ClearRings() {
    if (ringIds_.empty()) return false;
    ringIds_.clear();
    return true;
}

bool RecordsController::WarnWhenNoneChosen(bool record) {
    if (recordList_->AnyChosen()) return false;
    ctx_.Say(record ? QStringLiteral("You did not select a record")
                    : QStringLiteral("You did not select a star"),
             QStringLiteral("No Star Selected"), Buttons::OK, Icon::Exclamation);
    return true;
}

void RecordsController::lstRecords_Click(const std::vector<LineRange>& lines, int current) {
    if (!recordList_) return;
    recordList_->Choose(lines, current);
    // The palette belongs to the observer it was shown for.
    if (recordList_->PaletteShown()) {
        recordList_->HidePalette();
        UpdateRecordList();
    }
    ChoiceChanged();
}

void RecordsController::lstRecords_Click(const std::vector<int>& lines, int current) {
    std::vector<LineRange> ranges;
    for (const int line : lines) ranges.push_back({line, line});
    lstRecords_Click(ranges, current);
}

void RecordsController::cmdLog_Click() {
    if (!recordList_ || WarnWhenNoneChosen()) return;
    FileDialogOptions options;
    options.filter = QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");
    options.initialFolder = DisplayText(ctx_.state.star.FilesFolder);
    const std::optional<QString> path = ctx_.prompts.saveFile(options);
    if (!path) return;
    try {
        std::string text;
        for (const ListedRecord& record : ReadRecords(*ctx_.table, recordList_->ChosenIds()))
            text += record.line + "\r\n";
        // Through a whole new file: a full disk leaves the log as it was, never a torn line.
        AppendFileAtomically(PathBytes(*path), text);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "cmdLog");
    }
}

void RecordsController::cmd0_Click(int index) {
    if (!recordList_ || !recordList_->PaletteShown()) return;
    if (index < 0 || index >= static_cast<int>(kMarkPalette.size())) return;
    const std::optional<int64_t> current = recordList_->Current();
    recordList_->HidePalette();
    try {
        const std::optional<ObsRow> row = ctx_.table->RowById(*current);
        if (row)
            MarkObs(ctx_.marks, *ctx_.table, row->Init, kMarkPalette[static_cast<size_t>(index)]);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "MarkObs");
    }
    UpdateRecordList();
}

void RecordsController::cmdMoreColors_Click() {
    if (!recordList_ || !recordList_->PaletteShown()) return;
    const std::optional<int64_t> current = recordList_->Current();
    const std::optional<int32_t> color = ctx_.prompts.chooseColor();
    if (!color) return;
    try {
        const std::optional<ObsRow> row = ctx_.table->RowById(*current);
        if (row) MarkObs(ctx_.marks, *ctx_.table, row->Init, *color);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "MarkObs");
        return;
    }
    CloseRecordList();
    ClearRings();
    // The list is gone: the marks show now rather than at some later redraw.
    ctx_.Redraw(false);
}

void RecordsController::cmdClose_Click() {
    if (!recordList_) return;
    ctx_.state.overlay.tool = ctx_.view.tool = Tool::Locate;
    ctx_.view.cursorName = QStringLiteral("XHairs");
    CloseRecordList();
    const bool ringed = ClearRings();
    if (ctx_.state.star.FileEdited || ctx_.marks.ObserverMarked)
        ctx_.Redraw(false);
    else if (ringed)
        ctx_.Redraw(true);
}

void RecordsController::frmSelect_Unload() {
    CloseRecordList();
    // The rings go with the list; the plot is drawn as it was otherwise.
    if (ClearRings()) ctx_.Redraw(true);
}

std::optional<QString> RecordsController::PointTip(double x, double y) {
    try {
        const double jdReach = ctx_.canvases.picView.PixelsToUserX(kPointTipPixels);
        const double magReach = ctx_.canvases.picView.PixelsToUserY(kPointTipPixels);
        const std::optional<ObsPoint> point =
            FrameNearest(ctx_.Frame(), ctx_.table->Columns(), ctx_.Shown(),
                         x + ctx_.state.view.JDFirst, y, std::abs(jdReach), std::abs(magReach));
        if (!point) return std::nullopt;
        std::optional<QString> text;
        const double offset = ctx_.state.star.TimeOffset;
        ctx_.table->ForEachRowOfIds(
            {point->ID}, [&](const ObsRow& row) { text = PointDetailsText(row, offset); });
        return text;
    } catch (const std::exception&) {
        // A tooltip is no place for a failure; the next command that reads the table says it.
        return std::nullopt;
    }
}

}  // namespace sabrix
