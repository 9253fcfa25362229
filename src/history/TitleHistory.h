#pragma once
// Undo and redo of the changes to the title store. A command opens a step
// (TitleChange), changes the store, and closes it; the step keeps only the
// titles the command touched, never a copy of the store.

#include "core/TitleStore.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace folianto {

enum class SlotChange : uint8_t { Modify, Insert, Remove };

// One change to one slot, at the slot numbers of its moment. `title` is the
// version that is not in the store at present: for Modify the other content
// of the slot, for Remove the removed title while the removal stands, for
// Insert the inserted title while the insertion is taken back. A Modify
// that left the pictures as they were keeps none: they move with the swap.
struct SlotOp {
    SlotChange kind;
    int32_t slot;
    std::unique_ptr<TBuch> title;
    bool picturesKept = false;
};

struct HistoryStep {
    std::string label; // the command, Windows-1252: "Titel löschen"
    std::vector<SlotOp> ops;
    int32_t actBefore = 0;
    int32_t actAfter = 0;
    int32_t counterBefore = 0; // TitleStore::BuchNrCounter
    int32_t counterAfter = 0;
    std::size_t bytes = 0; // held by the ops' titles
};

// Told after a step was recorded, undone or redone; the store then holds
// the result.
class HistoryListener {
public:
    virtual ~HistoryListener() = default;
    virtual void StepApplied(const HistoryStep& step, bool undone) = 0;
    // The store changed outside any step: the steps were dropped.
    virtual void HistoryLost() = 0;
};

// The bytes a title occupies in memory, roughly but growing with its texts
// and pictures.
std::size_t TitleBytes(const TBuch& b);

class TitleHistory : private TitleStoreObserver {
public:
    static constexpr std::size_t DefaultMaxSteps = 1000;
    static constexpr std::size_t DefaultMaxBytes = 256u << 20;

    explicit TitleHistory(TitleStore& store);
    ~TitleHistory() override;
    TitleHistory(const TitleHistory&) = delete;
    TitleHistory& operator=(const TitleHistory&) = delete;

    // Steps nest: an inner step joins the outer one, whose label stays. A
    // step that changed nothing is not kept.
    void Begin(const std::string& label);
    void End();

    bool CanUndo() const { return position_ > 0; }
    bool CanRedo() const { return position_ < steps_.size(); }
    // The label of the step Undo or Redo would take; empty when none.
    std::string UndoLabel() const;
    std::string RedoLabel() const;
    // Restore the store as it was before (after) the step, every title
    // byte for byte, the order, the current title and the BuchNr counter;
    // Gesichert is true exactly at the position of the last save.
    bool Undo();
    bool Redo();

    // Forgets every step (another file, a new one); the store's state
    // counts as saved when Gesichert says so.
    void Clear();
    // The store now equals its file.
    void MarkSaved() { savedAt_ = position_; }

    // The oldest steps go when there are more, or they hold more bytes; the
    // newest step always stays.
    void SetLimits(std::size_t maxSteps, std::size_t maxBytes);
    std::size_t StepCount() const { return steps_.size(); }
    // How many of them are in effect.
    std::size_t Position() const { return position_; }
    std::size_t Bytes() const { return bytes_; }
    void SetListener(HistoryListener* listener) { listener_ = listener; }
    // Called whenever what Undo or Redo would do changed.
    void SetChangeHook(std::function<void()> hook) { changed_ = std::move(hook); }

private:
    void Touching(int32_t slot) override;
    void Appended(int32_t slot) override;
    void Removed(int32_t slot, std::unique_ptr<TBuch> title) override;
    void Cleared() override;

    // A change outside a step: the steps no longer fit the store.
    void Lose();
    void Commit();
    void Trim();
    void Apply(HistoryStep& step, bool undo);
    bool Covered(int32_t slot) const;
    void Changed() const
    {
        if (changed_)
            changed_();
    }

    TitleStore& store_;
    HistoryListener* listener_ = nullptr;
    std::function<void()> changed_;
    std::deque<HistoryStep> steps_;
    std::size_t position_ = 0; // steps before it are in effect
    std::optional<std::size_t> savedAt_ = 0;
    std::size_t bytes_ = 0;
    std::size_t maxSteps_ = DefaultMaxSteps;
    std::size_t maxBytes_ = DefaultMaxBytes;

    // The step being recorded.
    int depth_ = 0;
    HistoryStep open_;
    bool lost_ = false;
    // Slots whose content before the step is known: touched or appended
    // since the step began or since the last removal moved them.
    std::vector<uint32_t> coveredIn_;
    uint32_t generation_ = 1;
};

// Records one command's changes as one step for as long as it lives.
class TitleChange {
public:
    TitleChange(TitleHistory& history, const std::string& label) : history_(history) { history_.Begin(label); }
    ~TitleChange() { history_.End(); }
    TitleChange(const TitleChange&) = delete;
    TitleChange& operator=(const TitleChange&) = delete;

private:
    TitleHistory& history_;
};

} // namespace folianto
