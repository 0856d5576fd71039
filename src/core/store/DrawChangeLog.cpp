#include "core/store/DrawChangeLog.h"

namespace n4 {

StoreResult writeChange(DrawStore& store, const DrawChange& change, bool forward) {
    std::vector<DrawRecord> put;
    std::vector<int> removed;
    for (const DrawEdit& e : change.edits) {
        const std::optional<DrawRecord>& state = forward ? e.after : e.before;
        if (state)
            put.push_back(*state);
        else
            removed.push_back(e.drawNo);
    }
    return store.replace(put, removed);
}

StoreResult DrawChangeLog::apply(DrawStore& store, DrawChange change) {
    StoreResult r = writeChange(store, change, true);
    if (!r) return r;
    ++revision_;
    for (const DrawChange& c : undone_)
        draws_ -= c.edits.size();
    undone_.clear();
    draws_ += change.edits.size();
    done_.push_back(std::move(change));
    forgetOldest();
    return r;
}

void DrawChangeLog::forgetOldest() {
    // The newest step always stays, however large.
    while (done_.size() > 1 && (done_.size() > maxSteps_ || draws_ > maxDraws_)) {
        draws_ -= done_.front().edits.size();
        done_.pop_front();
    }
}

StoreResult DrawChangeLog::undo(DrawStore& store) {
    if (done_.empty()) return StoreResult::failure("元に戻す操作がありません。");
    StoreResult r = writeChange(store, done_.back(), false);
    if (!r) return r;
    ++revision_;
    undone_.push_back(std::move(done_.back()));
    done_.pop_back();
    return r;
}

StoreResult DrawChangeLog::redo(DrawStore& store) {
    if (undone_.empty()) return StoreResult::failure("やり直す操作がありません。");
    StoreResult r = writeChange(store, undone_.back(), true);
    if (!r) return r;
    ++revision_;
    done_.push_back(std::move(undone_.back()));
    undone_.pop_back();
    return r;
}

} // namespace n4
