// What a batch and its workers say through their pipes. A message is a list
// of text fields framed by their lengths, so paths and texts may hold any
// byte: the lengths in decimal, separated by spaces, then a newline, then
// the fields' bytes one after another.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace gridsmith::cli {

using Fields = std::vector<std::string>;

std::string EncodeMessage(const Fields& fields);

// Whole messages out of bytes as they arrive, in pieces of any size.
class MessageReader {
public:
    void Add(const char* bytes, size_t size);
    // The next whole message; none until more bytes come, or once broken.
    std::optional<Fields> Next();
    // The bytes are no message of ours: nothing more is read.
    bool Broken() const { return broken_; }

private:
    std::string buffer_;
    bool broken_ = false;
};

// To a worker: draw this input; `taken` are the outputs earlier inputs wrote.
struct DrawRequest {
    size_t input = 0;
    std::vector<std::string> taken;
};

// From a worker, before it creates it: a temporary file it may leave behind
// if it is stopped.
struct PendingFile {
    std::string path;
};

// From a worker, or from the batch's own process: what became of an input.
struct InputResult {
    size_t input = 0;
    bool failed = false;
    std::string claimed;  // the output it wrote or was about to write; empty before it knew
    std::string out;      // its lines for standard output
    std::string err;      // and for standard error
};

std::string Encode(const DrawRequest& request);
std::string Encode(const PendingFile& pending);
std::string Encode(const InputResult& result);

// Each empty when `fields` are another message.
std::optional<DrawRequest> ReadDrawRequest(const Fields& fields);
std::optional<PendingFile> ReadPendingFile(const Fields& fields);
std::optional<InputResult> ReadInputResult(const Fields& fields);

}  // namespace gridsmith::cli
