#pragma once
// Every change to the draw database made through the program, kept so that
// it can be undone and redone. A change is the state of each draw it touches
// before and after (a draw that does not exist has no state); writing either
// side is one transaction, so every step, undo and redo land whole or not at
// all.
#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "core/store/DrawStore.h"

namespace n4 {

struct DrawEdit {
    int drawNo = 0;
    std::optional<DrawRecord> before, after;
};

struct DrawChange {
    std::string label; // what the user did, in Japanese: 入力, 行追加, 行削除, 貼り付け, 取り込み
    std::vector<DrawEdit> edits;
};

class DrawChangeLog {
  public:
    // The oldest steps are forgotten beyond maxSteps, or when the draws the
    // steps hold add up to more than maxDraws (a few whole-history imports).
    static constexpr std::size_t kMaxSteps = 100;
    static constexpr std::size_t kMaxDraws = 200000;
    explicit DrawChangeLog(std::size_t maxSteps = kMaxSteps, std::size_t maxDraws = kMaxDraws)
        : maxSteps_(maxSteps), maxDraws_(maxDraws) {}

    // Writes the change and keeps it for undo; the redo steps are dropped.
    StoreResult apply(DrawStore& store, DrawChange change);
    // Writes the state before the last change (after the last undone one).
    StoreResult undo(DrawStore& store);
    StoreResult redo(DrawStore& store);

    bool canUndo() const { return !done_.empty(); }
    bool canRedo() const { return !undone_.empty(); }
    // The change the next undo / redo writes back, or nullptr.
    const DrawChange* nextUndo() const { return done_.empty() ? nullptr : &done_.back(); }
    const DrawChange* nextRedo() const { return undone_.empty() ? nullptr : &undone_.back(); }
    // Counts every write through the log: whoever loaded the draws at one
    // revision knows they are stale at another.
    unsigned long revision() const { return revision_; }

  private:
    void forgetOldest();

    std::size_t maxSteps_;
    std::size_t maxDraws_;
    std::size_t draws_ = 0; // edits held by done_ and undone_
    std::deque<DrawChange> done_;
    std::vector<DrawChange> undone_;
    unsigned long revision_ = 0;
};

// Writes one side of a change in one transaction, only where the file still
// holds the other side (DrawStore::applyChanges).
StoreResult writeChange(DrawStore& store, const DrawChange& change, bool forward);

} // namespace n4
