#include "core/store/DrawChangeLog.h"

namespace n4 {

StoreResult writeChange(DrawStore& store, const DrawChange& change, bool forward) {
    std::vector<RowChange> rows;
    rows.reserve(change.edits.size());
    for (const DrawEdit& e : change.edits)
        rows.push_back(forward ? RowChange{e.drawNo, e.before, e.after}
                               : RowChange{e.drawNo, e.after, e.before});
    return store.applyChanges(rows);
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
