#include "host/lib/input_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "host/lib/image_formats.h"

namespace gridsmith::hosting {

InputFile::InputFile(const std::string& path) : file_(OpenFile(path, "rb")) {
    if (!file_) {
        problem_ = "cannot read " + path + ": " + std::strerror(errno);
        return;
    }
    std::error_code error;
    size_ = std::filesystem::file_size(std::filesystem::u8path(path), error);
    if (error) problem_ = "cannot read " + path + ": " + error.message();
}

bool InputFile::Read(void* to, size_t count) { return std::fread(to, 1, count, file_.get()) == count; }

int InputFile::Byte() { return std::fgetc(file_.get()); }

bool InputFile::Seek(uint64_t offset) {
    if (offset > size_) return false;
#ifdef _WIN32
    return _fseeki64(file_.get(), int64_t(offset), SEEK_SET) == 0;
#else
    return fseeko(file_.get(), off_t(offset), SEEK_SET) == 0;
#endif
}

std::string Truncated(const std::string& path, uint64_t have, uint64_t need) {
    return path + " is truncated: " + std::to_string(have) + " of " + std::to_string(need) + " bytes";
}

std::string EndsEarly(const std::string& path, uint64_t have) {
    return path + " is truncated: its " + std::to_string(have) + " bytes end before the image does";
}

}  // namespace gridsmith::hosting
