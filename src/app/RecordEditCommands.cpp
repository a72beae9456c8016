// SPDX-License-Identifier: GPL-3.0-or-later
// RecordsController: the changes the record list makes to the table (delete, edit, the
// discrepant mark) and their Undo and Redo, each a command on the context's undo stack.
#include <QUndoCommand>
#include <exception>
#include <optional>
#include <utility>

#include "app/CommandList.h"
#include "app/RecordsController.h"
#include "data/BandColor.h"
#include "interaction/ObserverMarking.h"

namespace sabrix {

namespace {

// The colour of an unmarked row after an edit; a band that the edit brings in and that no
// rule colours gets a colour of its own first.
int32_t ColorOf(CommandContext& ctx, const ObsRow& row) {
    AddBandColor(ctx.state.star.BandColors, row.Band, ctx.state.settings);
    return BandColor(row.Faint, row.Band, row.Valid, ctx.state.settings, ctx.state.star.BandColors);
}

// Sets the rows aside under batch; the marked ones among them leave their joining lines.
void DeleteMarkedRows(CommandContext& ctx, const std::vector<int64_t>& ids, int64_t batch) {
    std::vector<ObsRow> marked;
    if (ctx.marks.ObserverMarked) marked = ctx.table->MarkedRowsOfIds(ids);
    ctx.table->SetAside(ids, batch);
    for (const ObsRow& row : marked) FollowMarkedRow(ctx.marks, row.Marked, row.JD, row.Mag);
}

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
// Marking is no edit: a row that comes back joins its observer's marking as it is then, and a
// marked row that goes again leaves its joining line.
class DeleteRowsEdit : public TableEdit {
  public:
    DeleteRowsEdit(CommandContext& ctx, std::vector<int64_t> ids, int64_t batch)
        : TableEdit(ctx, QStringLiteral("Delete ") + Records(ids.size())),
          ids_(std::move(ids)),
          batch_(batch) {}

  private:
    void Apply(ObsTable& table, bool back) override {
        if (!back) {
            DeleteMarkedRows(ctx_, ids_, batch_);
            return;
        }
        table.PutBack(batch_);
        std::vector<ObsRow> rows;
        table.ForEachRowOfIds(ids_, [&rows](const ObsRow& row) { rows.push_back(row); });
        for (ObsRow& row : rows)
            RejoinMarks(ctx_.marks, ctx_.state.settings, ctx_.state.star.BandColors, row);
        table.UpdateRows(rows);
    }
    std::vector<int64_t> ids_;
    int64_t batch_;
};

// The fields of a row that an edit may change: all but ID and the marking's Marked and
// PunktFarb, which are no edit.
void ChangeEditedFields(ObsRow& row, const ObsRow& from, const ObsRow& to) {
    for (std::string ObsRow::*text : {&ObsRow::Desig,
                                      &ObsRow::Star,
                                      &ObsRow::Faint,
                                      &ObsRow::Uncertain,
                                      &ObsRow::HQUncertain,
                                      &ObsRow::Band,
                                      &ObsRow::Init,
                                      &ObsRow::ComCod,
                                      &ObsRow::Comp1,
                                      &ObsRow::Comp2,
                                      &ObsRow::Charts,
                                      &ObsRow::Comments,
                                      &ObsRow::XForm,
                                      &ObsRow::AirMass,
                                      &ObsRow::Valid,
                                      &ObsRow::CMag,
                                      &ObsRow::KMag,
                                      &ObsRow::HQJD,
                                      &ObsRow::ObserverAffiliation,
                                      &ObsRow::MeasurementMethod,
                                      &ObsRow::GroupingMethod,
                                      &ObsRow::ADSReference,
                                      &ObsRow::Digitizer,
                                      &ObsRow::Credit,
                                      &ObsRow::Edited})
        if (from.*text != to.*text) row.*text = to.*text;
    for (double ObsRow::*number : {&ObsRow::JD, &ObsRow::Mag, &ObsRow::Error})
        if (from.*number != to.*number) row.*number = to.*number;
}

// Rows written anew (a record edit, discrepant marks). Undo and Redo change only the fields
// the edit changed, in the rows as they are then: a marking made or taken away since stays.
class ChangeRowsEdit : public TableEdit {
  public:
    ChangeRowsEdit(CommandContext& ctx, const QString& name, std::vector<ObsRow> before,
                   std::vector<ObsRow> after)
        : TableEdit(ctx, name), before_(std::move(before)), after_(std::move(after)) {}

  private:
    void Apply(ObsTable& table, bool back) override {
        const std::vector<ObsRow>& from = back ? after_ : before_;
        const std::vector<ObsRow>& to = back ? before_ : after_;
        std::vector<ObsRow> rows;
        for (size_t i = 0; i < to.size(); ++i) {
            std::optional<ObsRow> row = table.RowById(to[i].ID);
            if (!row) continue;
            const ObsRow now = *row;
            ChangeEditedFields(*row, from[i], to[i]);
            if (row->Marked.empty()) row->PunktFarb = ColorOf(ctx_, *row);
            FollowMarkedRow(ctx_.marks, row->Marked, now.JD, now.Mag, &row->JD, &row->Mag);
            rows.push_back(std::move(*row));
        }
        table.UpdateRows(rows);
    }
    std::vector<ObsRow> before_;
    std::vector<ObsRow> after_;
};

}  // namespace

void RecordsController::cmdDelete_Click() {
    if (!recordList_ || WarnWhenNoneChosen()) return;
    const size_t count = recordList_->ChosenCount();
    const QString question =
        count == 1 ? QStringLiteral("Are you sure you want to delete this record?")
                   : QStringLiteral("Are you sure you want to delete these %1 records?").arg(count);
    const QString title = count == 1 ? QStringLiteral("Delete This Record?")
                                     : QStringLiteral("Delete These Records?");
    if (ctx_.Say(question, title, Buttons::YesNo, Icon::None) != Answer::Yes) return;
    const std::vector<int64_t> ids = recordList_->ChosenIds();
    try {
        const int64_t batch = nextDeleteBatch_++;
        DeleteMarkedRows(ctx_, ids, batch);
        ctx_.PushEdit(new DeleteRowsEdit(ctx_, ids, batch));
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
                                   const bool done = ctx_.Allows(cmd::SaveEditedRecord.needs) &&
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
        if (edited->Marked.empty()) edited->PunktFarb = ColorOf(ctx_, *edited);
        ctx_.table->UpdateRow(*edited);
        if (edited->JD != row->JD)
            typed_.Remember(id, TypedNumbers::Field::JD, fields[0].text.toStdString());
        if (edited->Mag != row->Mag)
            typed_.Remember(id, TypedNumbers::Field::Mag, fields[2].text.toStdString());
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

void RecordsController::MarkDiscrepant(bool mark) {
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
            if (changed.Marked.empty()) changed.PunktFarb = ColorOf(ctx_, changed);
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

}  // namespace sabrix
