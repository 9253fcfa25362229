#include "history/TitleHistory.h"

#include "core/Trace.h"
#include "history/TitleCoding.h"

#include <new>
#include <utility>

namespace folianto {

std::size_t TitleBytes(const TBuch& b)
{
    std::size_t n = sizeof(TBuch);
    for (int f = 1; f <= TextFieldCount; ++f)
        n += b.TextField(f).Text.size();
    for (const TPicRec& pic : b.Pics)
        n += sizeof(TPicRec) + pic.Data.size() + pic.BildTitel.Text.size();
    return n;
}

namespace {

std::size_t HeldBytes(const HistoryStep& step)
{
    std::size_t n = sizeof(HistoryStep) + step.label.size();
    for (const SlotOp& op : step.ops)
        n += sizeof(SlotOp) + (op.title ? TitleBytes(*op.title) : 0);
    return n;
}

// Drops the Modify operations that changed nothing (an editor closed with
// OK as it was), and the copies of pictures a Modify left as they were, so
// an edit of a title with large pictures keeps only its texts. Only where no
// slot moved within the step, so that the slot still names the title.
void Tidy(HistoryStep& step, TitleStore& store)
{
    for (const SlotOp& op : step.ops)
        if (op.kind == SlotChange::Remove)
            return;
    std::vector<SlotOp> kept;
    kept.reserve(step.ops.size());
    for (SlotOp& op : step.ops) {
        const TBuch* now = store.at(op.slot);
        if (op.kind == SlotChange::Modify && now) {
            if (SameTitle(*now, *op.title))
                continue;
            if (!op.title->Pics.empty() && SamePictures(*now, *op.title)) {
                op.title->Pics.clear();
                op.title->Pics.shrink_to_fit();
                op.picturesKept = true;
            }
        }
        kept.push_back(std::move(op));
    }
    step.ops = std::move(kept);
}

} // namespace

TitleHistory::TitleHistory(TitleStore& store) : store_(store)
{
    store_.SetObserver(this);
}

TitleHistory::~TitleHistory()
{
    store_.SetObserver(nullptr);
}

void TitleHistory::Begin(const std::string& label)
{
    if (depth_++ > 0)
        return;
    open_ = HistoryStep{};
    open_.label = label;
    open_.actBefore = store_.ActBuch;
    open_.counterBefore = store_.BuchNrCounter();
    lost_ = false;
    ++generation_;
}

void TitleHistory::End()
{
    if (depth_ == 0 || --depth_ > 0)
        return;
    try {
        Commit();
    } catch (const std::bad_alloc&) {
        Lose();
    }
    open_ = HistoryStep{};
}

void TitleHistory::Commit()
{
    if (lost_)
        return;
    Tidy(open_, store_);
    if (open_.ops.empty())
        return;
    TraceScope trace("TitleHistory.Commit", open_.label);
    open_.actAfter = store_.ActBuch;
    open_.counterAfter = store_.BuchNrCounter();
    open_.bytes = HeldBytes(open_);
    // A new step ends the line of undone steps.
    while (steps_.size() > position_) {
        bytes_ -= steps_.back().bytes;
        steps_.pop_back();
    }
    if (savedAt_ && *savedAt_ > position_)
        savedAt_.reset();
    bytes_ += open_.bytes;
    steps_.push_back(std::move(open_));
    ++position_;
    Trim();
    if (listener_)
        listener_->StepApplied(steps_.back(), false);
    Changed();
}

void TitleHistory::Trim()
{
    while (steps_.size() > 1 && position_ > 0 && (steps_.size() > maxSteps_ || bytes_ > maxBytes_)) {
        bytes_ -= steps_.front().bytes;
        steps_.pop_front();
        --position_;
        if (savedAt_)
            savedAt_ = *savedAt_ == 0 ? std::nullopt : std::optional<std::size_t>(*savedAt_ - 1);
    }
}

void TitleHistory::SetLimits(std::size_t maxSteps, std::size_t maxBytes)
{
    maxSteps_ = maxSteps;
    maxBytes_ = maxBytes;
    Trim();
}

std::string TitleHistory::UndoLabel() const
{
    return CanUndo() ? steps_[position_ - 1].label : std::string();
}

std::string TitleHistory::RedoLabel() const
{
    return CanRedo() ? steps_[position_].label : std::string();
}

bool TitleHistory::Undo()
{
    if (!CanUndo() || depth_ > 0)
        return false;
    TraceScope trace("TitleHistory.Undo", steps_[position_ - 1].label);
    HistoryStep& step = steps_[--position_];
    Apply(step, true);
    if (listener_)
        listener_->StepApplied(step, true);
    Changed();
    return true;
}

bool TitleHistory::Redo()
{
    if (!CanRedo() || depth_ > 0)
        return false;
    TraceScope trace("TitleHistory.Redo", steps_[position_].label);
    HistoryStep& step = steps_[position_++];
    Apply(step, false);
    if (listener_)
        listener_->StepApplied(step, false);
    Changed();
    return true;
}

void TitleHistory::Apply(HistoryStep& step, bool undo)
{
    const auto take = [this](SlotOp& op) { op.title = store_.TakeAt(op.slot); };
    const auto put = [this](SlotOp& op) { store_.InsertAt(op.slot, std::move(op.title)); };
    const auto swap = [this](SlotOp& op) {
        std::unique_ptr<TBuch>& slot = store_.Buch[static_cast<std::size_t>(op.slot)];
        if (op.picturesKept)
            op.title->Pics = std::move(slot->Pics);
        std::swap(slot, op.title);
    };
    if (undo) {
        for (auto op = step.ops.rbegin(); op != step.ops.rend(); ++op)
            op->kind == SlotChange::Modify ? swap(*op) : op->kind == SlotChange::Insert ? take(*op) : put(*op);
    } else {
        for (SlotOp& op : step.ops)
            op.kind == SlotChange::Modify ? swap(op) : op.kind == SlotChange::Insert ? put(op) : take(op);
    }
    store_.ActBuch = undo ? step.actBefore : step.actAfter;
    store_.SetBuchNrCounter(undo ? step.counterBefore : step.counterAfter);
    if (savedAt_ == position_)
        store_.MarkSaved();
    else
        store_.MarkChanged();
    bytes_ -= step.bytes;
    step.bytes = HeldBytes(step);
    bytes_ += step.bytes;
}

void TitleHistory::Clear()
{
    steps_.clear();
    position_ = 0;
    bytes_ = 0;
    savedAt_ = store_.Gesichert() ? std::optional<std::size_t>(0) : std::nullopt;
    Changed();
}

void TitleHistory::Lose()
{
    if (depth_ > 0) {
        lost_ = true;
        open_.ops.clear();
    }
    const bool had = !steps_.empty();
    steps_.clear();
    position_ = 0;
    bytes_ = 0;
    savedAt_.reset();
    if (listener_)
        listener_->HistoryLost();
    if (had)
        Changed();
}

bool TitleHistory::Covered(int32_t slot) const
{
    return static_cast<std::size_t>(slot) < coveredIn_.size() && coveredIn_[static_cast<std::size_t>(slot)] == generation_;
}

void TitleHistory::Touching(int32_t slot)
{
    if (depth_ == 0) {
        Lose();
        return;
    }
    const TBuch* b = store_.at(slot);
    if (lost_ || !b || Covered(slot))
        return;
    open_.ops.push_back({SlotChange::Modify, slot, std::make_unique<TBuch>(*b)});
    if (coveredIn_.empty())
        coveredIn_.assign(MaxBuch + 1, 0);
    coveredIn_[static_cast<std::size_t>(slot)] = generation_;
}

void TitleHistory::Appended(int32_t slot)
{
    if (depth_ == 0) {
        Lose();
        return;
    }
    if (lost_)
        return;
    open_.ops.push_back({SlotChange::Insert, slot, nullptr});
    if (coveredIn_.empty())
        coveredIn_.assign(MaxBuch + 1, 0);
    coveredIn_[static_cast<std::size_t>(slot)] = generation_;
}

void TitleHistory::Removed(int32_t slot, std::unique_ptr<TBuch> title)
{
    if (depth_ == 0) {
        Lose();
        return;
    }
    if (lost_)
        return;
    // Taking back a title appended in this step leaves no trace of either.
    if (!open_.ops.empty() && open_.ops.back().kind == SlotChange::Insert && open_.ops.back().slot == slot &&
        slot == store_.AnzBuch + 1) {
        open_.ops.pop_back();
        return;
    }
    open_.ops.push_back({SlotChange::Remove, slot, std::move(title)});
    ++generation_; // later titles moved down
}

void TitleHistory::Cleared()
{
    Lose();
}

} // namespace folianto
