#pragma once
// What this run knows of each database file it has checked (the quick check
// of opening): how the file stood after that check or after the last write by
// one of the program's own stores, and whether anything else has changed it
// since. Reading a file again then needs a second check only when another
// program wrote it meanwhile; the program's own writes, through any of its
// stores, need none.
//
// A file is known by its device and inode, so a file put in place of another
// under the same name is a file of its own, never checked. Its state is its
// size and modification time: a write by another program that left both as
// one of ours left them (within the file system's clock tick) is not seen
// here; a store that also watches SQLite's data version sees it when none of
// ours came between (DrawStore::recheckIfChangedElsewhere).
#include <string>

namespace n4 {

struct FileStamp {
    unsigned long long device = 0, inode = 0;
    long long size = 0, modifiedNs = 0;
    bool exists = false;

    // The file under the name now (exists false when there is none).
    static FileStamp of(const std::string& path);
    bool sameFile(const FileStamp& o) const {
        return exists && o.exists && device == o.device && inode == o.inode;
    }
    bool operator==(const FileStamp& o) const {
        return sameFile(o) && size == o.size && modifiedNs == o.modifiedNs;
    }
    bool operator!=(const FileStamp& o) const { return !(*this == o); }
};

// The file at path passed a check just now.
void noteFileChecked(const std::string& path);
// Around a write of one of the program's own stores: before, with the write
// lock held (a change seen then is another program's), and once it ended.
void noteOwnWriteStarting(const std::string& path);
void noteOwnWriteEnded(const std::string& path);
// How many writes of the program's own stores to the file at path ended in
// this run.
unsigned long ownWritesTo(const std::string& path);
// True when the file at path was changed by something other than the
// program's own stores since its last check, or was never checked.
bool changedElsewhereSinceCheck(const std::string& path);

} // namespace n4
