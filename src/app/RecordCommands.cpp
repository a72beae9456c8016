// RecordsController: box selection and locate, the record list window's actions (log,
// delete, edit, mark an observer) and the record editor.
#include <QUndoCommand>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <utility>

#include "analysis/ShownObservations.h"
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

// "3 Records", "1 Record".
QString Records(size_t count) {
    return count == 1 ? QStringLiteral("1 Record") : QStringLiteral("%1 Records").arg(count);
}

// A change to the table that Undo takes back. The command that makes it has made it before
// the change goes onto the stack, so the stack's first redo has nothing left to do. A
// failure of a later undo or redo is said, and the change leaves the stack: the table holds
// what the failed transaction left, which is what it held before.
class TableEdit : public QUndoCommand {
  public:
    TableEdit(CommandContext& ctx, const QString& name) : ctx_(ctx) { setText(name); }
    void undo() override { Run(true, "Undo"); }
    void redo() override {
        if (std::exchange(madeByItsCommand_, false)) return;
        Run(false, "Redo");
    }

  protected:
    virtual void Apply(ObsTable& table, bool back) = 0;
    CommandContext& ctx_;

  private:
    void Run(bool back, const char* module) {
        try {
            Apply(*ctx_.table, back);
        } catch (const std::exception& e) {
            ctx_.SayModuleError(e, module);
            setObsolete(true);
        }
    }
    bool madeByItsCommand_ = true;
};

// Deleted rows wait beside the table (ObsTable::SetAside) until the stack forgets them.
class DeleteRowsEdit : public TableEdit {
  public:
    DeleteRowsEdit(CommandContext& ctx, std::vector<int64_t> ids, int64_t batch)
        : TableEdit(ctx, QStringLiteral("Delete ") + Records(ids.size())),
          ids_(std::move(ids)),
          batch_(batch) {}

  private:
    void Apply(ObsTable& table, bool back) override {
        if (back)
            table.PutBack(batch_);
        else
            table.SetAside(ids_, batch_);
    }
    std::vector<int64_t> ids_;
    int64_t batch_;
};

// Rows written anew (a record edit, discrepant marks): every field before and after.
class ChangeRowsEdit : public TableEdit {
  public:
    ChangeRowsEdit(CommandContext& ctx, const QString& name, std::vector<ObsRow> before,
                   std::vector<ObsRow> after)
        : TableEdit(ctx, name), before_(std::move(before)), after_(std::move(after)) {}

  private:
    void Apply(ObsTable& table, bool back) override { table.UpdateRows(back ? before_ : after_); }
    std::vector<ObsRow> before_;
    std::vector<ObsRow> after_;
};

}  // namespace

RecordsController::RecordsController(CommandContext& context) : ctx_(context) {
    ctx_.OnForgetStar([this] {
        CloseRecordList();
        ClearRings();
    });
    ctx_.AddHighlight([this] { DrawRings(); });
}

void RecordsController::DrawRings() {
    if (ringIds_.empty() || !ctx_.table) return;
    try {
        DrawRecordRings(ctx_.canvases.picView, ctx_.state.view, ctx_.table->Columns(), ringIds_,
                        kRingColor);
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
    if (!ctx_.fold) return SelectRecords(*ctx_.table, bounds, ctx_.Shown());
    // On the phase plot the bounds' JDs are phases.
    return PhasePointIds(ctx_.table->Columns(), ctx_.state, *ctx_.fold, bounds.jdLow, bounds.jdHigh,
                         bounds.magLow, bounds.magHigh);
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
        ctx_.Say(QStringLiteral("No records selected."), QStringLiteral("No Selection"),
                 Buttons::OK, Icon::Critical);
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
    recordList_.emplace(std::move(ids), ctx_.state.star.ThreeColumnFormat,
                        [this](int64_t id) { return ctx_.table->RowById(id); });
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
    const auto run = [this](Command command, auto action) {
        if (ctx_.Allows(command)) action();
    };
    switch (event.kind) {
        case Kind::Choose:
            run(Command::lstRecords_Click, [&] { lstRecords_Click(event.ranges, event.current); });
            break;
        case Kind::Log:
            run(Command::cmdLog_Click, [this] { cmdLog_Click(); });
            break;
        case Kind::Delete:
            run(Command::cmdDelete_Click, [this] { cmdDelete_Click(); });
            break;
        case Kind::Edit:
            run(Command::cmdEdit_Click, [this] { cmdEdit_Click(); });
            break;
        case Kind::Mark:
            run(Command::cmdMark_Click, [this] { cmdMark_Click(); });
            break;
        case Kind::Discrepant:
            run(Command::cmdDiscrepant_Click, [this] { cmdDiscrepant_Click(true); });
            break;
        case Kind::ClearDiscrepant:
            run(Command::cmdClearDiscrepant_Click, [this] { cmdDiscrepant_Click(false); });
            break;
        case Kind::Color:
            run(Command::cmd0_Click, [&] { cmd0_Click(event.colorIndex); });
            break;
        case Kind::MoreColors:
            run(Command::cmdMoreColors_Click, [this] { cmdMoreColors_Click(); });
            break;
        case Kind::Close:
            run(Command::cmdClose_Click, [this] { cmdClose_Click(); });
            break;
        case Kind::Dismiss:
            run(Command::frmSelect_Unload, [this] { frmSelect_Unload(); });
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

void RecordsController::cmdDelete_Click() {
    if (!recordList_ || WarnWhenNoneChosen()) return;
    const size_t count = recordList_->ChosenCount();
    const QString question =
        count == 1 ? QStringLiteral("Are you sure you want to delete this record?")
                   : QStringLiteral("Are you sure you want to delete these %1 records?").arg(count);
    if (ctx_.Say(question, QStringLiteral("Delete This Record?"), Buttons::YesNo, Icon::None) !=
        Answer::Yes)
        return;
    const std::vector<int64_t> ids = recordList_->ChosenIds();
    try {
        // Marked rows that go take their points out of the joining lines.
        std::vector<ObsRow> marked;
        if (ctx_.marks.ObserverMarked) marked = ctx_.table->MarkedRowsOfIds(ids);
        const int64_t batch = nextDeleteBatch_++;
        ctx_.table->SetAside(ids, batch);
        ctx_.PushEdit(new DeleteRowsEdit(ctx_, ids, batch));
        for (const ObsRow& row : marked) FollowMarkedRow(ctx_.marks, row.Marked, row.JD, row.Mag);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "cmdDelete");
        return;
    }
    ctx_.Say(QStringLiteral("Database successfully updated."), QStringLiteral("Record Deleted"),
             Buttons::OK, Icon::None);
    CloseRecordList();
    ClearRings();
    ctx_.Redraw(false);
}

void RecordsController::cmdEdit_Click() {
    if (!recordList_ || WarnWhenNoneChosen()) return;
    if (ctx_.state.star.ThreeColumnFormat) return;
    const std::optional<int64_t> current = recordList_->Current();
    std::optional<ObsRow> row;
    try {
        row = ctx_.table->RowById(*current);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "cmdEdit");
        return;
    }
    if (!row || !recordDialogs_) return;
    const int64_t id = row->ID;
    recordDialogs_->editRecord(QStringLiteral("Edit Record"), FieldsOf(*row),
                               [this, id](const std::vector<RecordField>& fields) {
                                   const bool done = ctx_.Allows(Command::SaveEditedRecord) &&
                                                     SaveEditedRecord(id, fields);
                                   ctx_.Present();
                                   return done;
                               });
}

bool RecordsController::SaveEditedRecord(int64_t id, const std::vector<RecordField>& fields) {
    try {
        const std::optional<ObsRow> row = ctx_.table->RowById(id);
        if (!row) return true;  // gone meanwhile: nothing left to edit
        if (fields == FieldsOf(*row)) return true;
        QString refusal;
        std::optional<ObsRow> edited = EditedRow(*row, fields, refusal);
        if (!edited) {
            ctx_.Say(refusal, QStringLiteral("Edit Record"), Buttons::OK, Icon::Exclamation);
            return false;
        }
        if (edited->Marked.empty())
            edited->PunktFarb =
                BandColor(edited->Faint, edited->Band, edited->Valid, ctx_.state.settings);
        ctx_.table->UpdateRow(*edited);
        ctx_.PushEdit(new ChangeRowsEdit(ctx_, QStringLiteral("Edit Record"), {*row}, {*edited}));
        FollowMarkedRow(ctx_.marks, row->Marked, row->JD, row->Mag, &edited->JD, &edited->Mag);
        RefreshRecordList();
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, "cmdEdit");
        return false;
    }
    ctx_.Redraw(false);
    return true;
}

void RecordsController::cmdMark_Click() {
    if (!recordList_ || WarnWhenNoneChosen(true)) return;
    if (ctx_.state.star.ThreeColumnFormat) return;
    recordList_->ShowPalette();
    UpdateRecordList();
}

void RecordsController::cmdDiscrepant_Click(bool mark) {
    if (!recordList_ || WarnWhenNoneChosen()) return;
    if (ctx_.state.star.ThreeColumnFormat) return;
    std::vector<ObsRow> before;
    std::vector<ObsRow> after;
    try {
        ctx_.table->ForEachRowOfIds(recordList_->ChosenIds(), [&](const ObsRow& row) {
            if (PlotColumns::DiscrepantOf(row.Valid) == mark) return;
            ObsRow changed = row;
            if (mark) {
                changed.Edited = row.Valid;
                changed.Valid = std::string(1, 'D');
            } else {
                changed.Valid = row.Edited;
                changed.Edited.clear();
            }
            if (changed.Marked.empty())
                changed.PunktFarb =
                    BandColor(changed.Faint, changed.Band, changed.Valid, ctx_.state.settings);
            before.push_back(row);
            after.push_back(std::move(changed));
        });
        // Every chosen row has the flag asked for already.
        if (after.empty()) return;
        ctx_.table->UpdateRows(after);
    } catch (const std::exception& e) {
        ctx_.SayModuleError(e, mark ? "cmdDiscrepant" : "cmdClearDiscrepant");
        return;
    }
    const QString name =
        (mark ? QStringLiteral("Mark %1 Discrepant") : QStringLiteral("Clear Discrepant on %1"))
            .arg(Records(after.size()));
    ctx_.PushEdit(new ChangeRowsEdit(ctx_, name, std::move(before), std::move(after)));
    RefreshRecordList();
    ctx_.Redraw(false);
}

void RecordsController::mnuUndo_Click() {
    StepEdits(true);
}

void RecordsController::mnuRedo_Click() {
    StepEdits(false);
}

void RecordsController::StepEdits(bool back) {
    if (!(back ? ctx_.edits.canUndo() : ctx_.edits.canRedo())) return;
    // The list's rows may come or go: it closes rather than show rows that are not there.
    CloseRecordList();
    ClearRings();
    if (back)
        ctx_.edits.undo();
    else
        ctx_.edits.redo();
    ctx_.FollowEdits();
    ctx_.Redraw(false);
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
        const std::optional<ObsPoint> point = ctx_.table->Columns().Nearest(
            x + ctx_.state.view.JDFirst, y, std::abs(jdReach), std::abs(magReach), ctx_.Shown());
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
