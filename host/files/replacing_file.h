// Files written whole or not at all. The bytes go to a temporary file beside
// the destination, and only when every one of them is written and flushed to
// the disk does that file replace the destination, in one step. Before then,
// and after any failure, the destination keeps its bytes (or stays absent);
// a writer that is not committed removes its temporary file.
//
// A process killed while writing leaves its temporary file. Its name follows
// from the destination and the process alone (TempPathFor), so whoever knows
// both can remove it without asking the writer: a signal handler that worked
// the names out beforehand, or a parent that knows its child's process id.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace gridsmith::hosting {

class ReplacingFile {
public:
    // Creates the temporary file. An existing destination that is read-only
    // or a folder is refused here, before anything is written; one that is
    // not a regular file (a device, a pipe) is written in place, as it cannot
    // be replaced.
    explicit ReplacingFile(const std::string& destination);
    ~ReplacingFile();
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    // False once anything failed; every later call then does nothing.
    bool ok() const { return reason_.empty(); }
    bool Write(const void* data, size_t size);
    // As lseek does: the new position, or -1 after a failure.
    int64_t Seek(int64_t offset, int whence);
    int64_t Size() const { return size_; }

    // Flushes the bytes to the disk, gives the file an existing destination's
    // permissions and replaces the destination. Empty on success, else what
    // Failure says.
    std::string Commit();
    // "cannot write DESTINATION: REASON", with the reason of the first
    // failure here, or `otherwise` when nothing failed here (an encoder
    // gave up on its own).
    std::string Failure(const std::string& otherwise) const;

    const std::string& Destination() const { return destination_; }
    const std::string& TempPath() const { return temp_; }

private:
    bool Fail(std::string reason);
    bool WriteThrough(const uint8_t* bytes, size_t size);
    bool Flush();

    std::string name_;         // as the caller gave it, for messages
    std::string destination_;  // a symbolic link's target: the link stays
    std::string temp_;         // empty when writing in place
    int fd_ = -1;
    std::vector<uint8_t> buffer_;
    int64_t position_ = 0;  // the file's own, where the buffer's first byte goes
    int64_t size_ = 0;
    int64_t writtenBack_ = 0;  // where the disk was last asked to start
    std::string reason_;
    bool committed_ = false;
};

// The temporary file a ReplacingFile of this process uses for `destination`:
// hidden in the same folder, named after the destination and the process id.
std::string TempPathFor(const std::string& destination, long processId);
std::string TempPathFor(const std::string& destination);

// Writes `bytes` to `path` through a ReplacingFile. Empty on success, else
// "cannot write PATH: REASON".
std::string ReplaceFileContents(const std::string& path, const std::string& bytes);

}  // namespace gridsmith::hosting
