// A file read from its start by the host's own image readers. Its size is
// known once it is open, so a reader can check what its header promises
// against it before it takes the pixels' memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

namespace gridsmith::hosting {

class InputFile {
public:
    explicit InputFile(const std::string& path);

    // Empty when the file is open, else why not (naming the file).
    const std::string& Problem() const { return problem_; }
    uint64_t Size() const { return size_; }
    std::FILE* Handle() const { return file_.get(); }

    // Exactly `count` bytes; false at the end of the file or on an error.
    bool Read(void* to, size_t count);
    // The next byte, or EOF.
    int Byte();
    bool Seek(uint64_t offset);

private:
    struct Closer {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };
    std::unique_ptr<std::FILE, Closer> file_;
    uint64_t size_ = 0;
    std::string problem_;
};

// "PATH is truncated: HAVE of NEED bytes", for a file shorter than its header says.
std::string Truncated(const std::string& path, uint64_t have, uint64_t need);

// The same for a format whose header does not say how long the file is.
std::string EndsEarly(const std::string& path, uint64_t have);

}  // namespace gridsmith::hosting
