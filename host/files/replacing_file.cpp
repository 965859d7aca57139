#include "host/files/replacing_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace gridsmith::hosting {
namespace {

namespace fs = std::filesystem;

// Small writes gather in a buffer; a write as large as a TIFF strip goes
// straight through, after what is gathered.
constexpr size_t kBufferBytes = size_t(1) << 20;
constexpr size_t kDirectBytes = kBufferBytes / 4;
// How much is written before the disk is asked to start on it.
constexpr int64_t kWritebackBytes = int64_t(16) << 20;
// Room in a 255-byte file name for the temporary name's dot and ending.
constexpr size_t kMaxNameBytes = 200;

std::string ErrorText(int error) { return std::generic_category().message(error); }
std::string LastErrorText() { return ErrorText(errno); }

// ---- the platform's file calls --------------------------------------------------------

#ifdef _WIN32

std::wstring Wide(const std::string& path) { return fs::u8path(path).wstring(); }

int CreateNew(const std::string& path) {
    return _wopen(Wide(path).c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
}
int OpenInPlace(const std::string& path) {
    return _wopen(Wide(path).c_str(), _O_WRONLY | _O_TRUNC | _O_BINARY | _O_NOINHERIT);
}
long WriteSome(int fd, const uint8_t* data, size_t size) {
    return _write(fd, data, unsigned(std::min<size_t>(size, size_t(1) << 30)));
}
int64_t SeekFile(int fd, int64_t offset, int whence) { return _lseeki64(fd, offset, whence); }
bool SyncFile(int fd) { return _commit(fd) == 0; }
void StartWriteback(int, int64_t, int64_t) {}
bool CloseFile(int fd) { return _close(fd) == 0; }
void RemoveFile(const std::string& path) { _wunlink(Wide(path).c_str()); }
long ProcessId() { return long(GetCurrentProcessId()); }

// Windows will not replace a read-only file; say so before writing it.
int WriteRefusal(const std::string& path) {
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) ? EACCES : 0;
}

// The new file takes the folder's inherited permissions, as any new file does.
void KeepPermissions(int, const std::string&) {}

std::string SystemText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                            FORMAT_MESSAGE_IGNORE_INSERTS,
                                        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length ? std::wstring(text, length) : L"system error " + std::to_wstring(error);
    LocalFree(text);
    while (!message.empty() && (iswspace(message.back()) || message.back() == L'.')) message.pop_back();
    return fs::path(message).u8string();
}

// Empty on success, else why not.
std::string ReplaceWith(const std::string& temp, const std::string& destination) {
    if (MoveFileExW(Wide(temp).c_str(), Wide(destination).c_str(),
                    MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        return {};
    return SystemText(GetLastError());
}

void SyncFolderOf(const std::string&) {}  // MOVEFILE_WRITE_THROUGH did

#else

int CreateNew(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
}
int OpenInPlace(const std::string& path) { return ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC); }
long WriteSome(int fd, const uint8_t* data, size_t size) { return long(::write(fd, data, size)); }
int64_t SeekFile(int fd, int64_t offset, int whence) { return ::lseek(fd, off_t(offset), whence); }
bool SyncFile(int fd) { return ::fsync(fd) == 0; }

// The disk starts on what is written while the rest is encoded, so the
// final flush waits for little.
void StartWriteback(int fd, int64_t from, int64_t length) {
#ifdef __linux__
    ::sync_file_range(fd, off64_t(from), off64_t(length), SYNC_FILE_RANGE_WRITE);
#endif
}
bool CloseFile(int fd) { return ::close(fd) == 0; }
void RemoveFile(const std::string& path) { ::unlink(path.c_str()); }
long ProcessId() { return long(::getpid()); }

// Replacing goes by the folder's permission, writing by the file's: a
// read-only file stays refused, as when it was written in place. The errno
// that refuses it, or 0.
int WriteRefusal(const std::string& path) {
    return ::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) == 0 || errno == ENOENT ? 0 : errno;
}

// Owner first: changing it may clear the set-id bits the mode then restores.
void KeepPermissions(int fd, const std::string& destination) {
    struct stat existing{};
    if (::stat(destination.c_str(), &existing) != 0) return;
    [[maybe_unused]] const int owned = ::fchown(fd, existing.st_uid, existing.st_gid);
    ::fchmod(fd, existing.st_mode & 07777);
}

std::string ReplaceWith(const std::string& temp, const std::string& destination) {
    return ::rename(temp.c_str(), destination.c_str()) == 0 ? std::string() : LastErrorText();
}

// The rename itself reaches the disk with the folder's entries.
void SyncFolderOf(const std::string& destination) {
    std::string folder = fs::path(destination).parent_path().string();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

#endif

// Another writer's leftover under our name can only come from a killed
// process that had our id: it is removed and the name taken again, once.
int CreateTemp(const std::string& path) {
    int fd = CreateNew(path);
    if (fd < 0 && errno == EEXIST) {
        RemoveFile(path);
        fd = CreateNew(path);
    }
    return fd;
}

// A symbolic link keeps pointing where it did: its target is replaced.
std::string ResolvedLink(const std::string& destination) {
    std::error_code error;
    const fs::path path = fs::u8path(destination);
    if (!fs::is_symlink(path, error)) return destination;
    const fs::path target = fs::weakly_canonical(path, error);
    return error ? destination : target.u8string();
}

}  // namespace

std::string TempPathFor(const std::string& destination, long processId) {
    const fs::path path = fs::u8path(destination);
    std::string name = path.filename().u8string();
    if (name.size() > kMaxNameBytes) {
        size_t cut = kMaxNameBytes;
        while (cut > 0 && (uint8_t(name[cut]) & 0xC0) == 0x80) --cut;  // not inside a character
        name.resize(cut);
    }
    return (path.parent_path() / fs::u8path("." + name + ".gridsmith-" + std::to_string(processId) + ".tmp"))
        .u8string();
}

std::string TempPathFor(const std::string& destination) {
    return TempPathFor(ResolvedLink(destination), ProcessId());
}

ReplacingFile::ReplacingFile(const std::string& destination)
    : name_(destination), destination_(ResolvedLink(destination)) {
    std::error_code error;
    const fs::file_status status = fs::status(fs::u8path(destination_), error);
    if (fs::is_directory(status)) {
        Fail(std::make_error_code(std::errc::is_a_directory).message());
    } else if (fs::exists(status) && !fs::is_regular_file(status)) {
        fd_ = OpenInPlace(destination_);
        if (fd_ < 0) Fail(LastErrorText());
    } else if (const int refusal = WriteRefusal(destination_)) {
        Fail(ErrorText(refusal));
    } else {
        temp_ = TempPathFor(destination_, ProcessId());
        fd_ = CreateTemp(temp_);
        if (fd_ < 0) {
            Fail(LastErrorText());
            temp_.clear();
        }
    }
    if (ok()) buffer_.reserve(kBufferBytes);
}

ReplacingFile::~ReplacingFile() {
    if (fd_ >= 0) CloseFile(fd_);
    if (!committed_ && !temp_.empty()) RemoveFile(temp_);
}

bool ReplacingFile::Fail(std::string reason) {
    if (reason_.empty()) reason_ = reason.empty() ? "write failed" : std::move(reason);
    return false;
}

bool ReplacingFile::Write(const void* data, size_t size) {
    if (!ok()) return false;
    const auto* bytes = static_cast<const uint8_t*>(data);
    if ((size >= kDirectBytes || buffer_.size() + size > kBufferBytes) && !Flush()) return false;
    if (size >= kDirectBytes) return WriteThrough(bytes, size);
    buffer_.insert(buffer_.end(), bytes, bytes + size);
    size_ = std::max(size_, position_ + int64_t(buffer_.size()));
    return true;
}

bool ReplacingFile::WriteThrough(const uint8_t* bytes, size_t size) {
    for (size_t done = 0; done < size;) {
        const long written = WriteSome(fd_, bytes + done, size - done);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return Fail(written < 0 ? LastErrorText() : std::string());
        done += size_t(written);
        position_ += written;
    }
    size_ = std::max(size_, position_);
    if (position_ - writtenBack_ >= kWritebackBytes) {
        StartWriteback(fd_, writtenBack_, position_ - writtenBack_);
        writtenBack_ = position_;
    }
    return true;
}

bool ReplacingFile::Flush() {
    if (!WriteThrough(buffer_.data(), buffer_.size())) return false;
    buffer_.clear();
    return true;
}

int64_t ReplacingFile::Seek(int64_t offset, int whence) {
    if (!ok() || !Flush()) return -1;
    const int64_t position = SeekFile(fd_, offset, whence);
    if (position < 0) {
        Fail(LastErrorText());
        return -1;
    }
    position_ = position;
    return position;
}

std::string ReplacingFile::Commit() {
    if (committed_) return {};
    if (ok() && Flush() && !temp_.empty()) {
        KeepPermissions(fd_, destination_);
        if (!SyncFile(fd_)) Fail(LastErrorText());
    }
    if (fd_ >= 0 && !CloseFile(fd_)) Fail(LastErrorText());
    fd_ = -1;
    if (ok() && !temp_.empty()) {
        if (std::string problem = ReplaceWith(temp_, destination_); !problem.empty()) Fail(problem);
    }
    if (!ok()) return Failure({});
    committed_ = true;
    if (!temp_.empty()) SyncFolderOf(destination_);
    return {};
}

std::string ReplacingFile::Failure(const std::string& otherwise) const {
    const std::string& reason = reason_.empty() ? otherwise : reason_;
    return "cannot write " + name_ + ": " + (reason.empty() ? "write failed" : reason);
}

std::string ReplaceFileContents(const std::string& path, const std::string& bytes) {
    ReplacingFile file(path);
    file.Write(bytes.data(), bytes.size());
    return file.Commit();
}

}  // namespace gridsmith::hosting
