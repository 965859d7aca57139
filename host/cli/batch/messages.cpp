#include "host/cli/batch/messages.h"

#include <charconv>

namespace gridsmith::cli {
namespace {

// Generous bounds for messages between two copies of this program: past
// them the other side is something else.
constexpr size_t kMaxHeader = 4096;
constexpr size_t kMaxMessage = size_t(64) << 20;

constexpr const char* kDraw = "draw";
constexpr const char* kPending = "pending";
constexpr const char* kResult = "result";

std::optional<size_t> Number(const std::string& text) {
    size_t value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end) return std::nullopt;
    return value;
}

// The lengths of a header line, or none when it is not one.
std::optional<std::vector<size_t>> Lengths(const std::string& header) {
    std::vector<size_t> lengths;
    size_t total = 0;
    for (size_t start = 0; start <= header.size();) {
        size_t stop = header.find(' ', start);
        if (stop == std::string::npos) stop = header.size();
        const std::optional<size_t> length = Number(header.substr(start, stop - start));
        if (!length || *length > kMaxMessage - total) return std::nullopt;
        total += *length;
        lengths.push_back(*length);
        start = stop + 1;
    }
    return lengths;
}

bool IsKind(const Fields& fields, const char* kind, size_t minimum) {
    return fields.size() >= minimum && fields[0] == kind;
}

}  // namespace

std::string EncodeMessage(const Fields& fields) {
    std::string header, body;
    for (const std::string& field : fields) {
        header += (header.empty() ? "" : " ") + std::to_string(field.size());
        body += field;
    }
    return header + "\n" + body;
}

void MessageReader::Add(const char* bytes, size_t size) {
    if (!broken_) buffer_.append(bytes, size);
}

std::optional<Fields> MessageReader::Next() {
    if (broken_) return std::nullopt;
    const size_t newline = buffer_.find('\n');
    if (newline == std::string::npos) {
        broken_ = buffer_.size() > kMaxHeader;
        return std::nullopt;
    }
    const std::optional<std::vector<size_t>> lengths = Lengths(buffer_.substr(0, newline));
    if (!lengths) {
        broken_ = true;
        return std::nullopt;
    }
    size_t at = newline + 1, total = 0;
    for (size_t length : *lengths) total += length;
    if (buffer_.size() - at < total) return std::nullopt;
    Fields fields;
    for (size_t length : *lengths) {
        fields.push_back(buffer_.substr(at, length));
        at += length;
    }
    buffer_.erase(0, at);
    return fields;
}

std::string Encode(const DrawRequest& request) {
    Fields fields = {kDraw, std::to_string(request.input)};
    fields.insert(fields.end(), request.taken.begin(), request.taken.end());
    return EncodeMessage(fields);
}

std::string Encode(const PendingFile& pending) { return EncodeMessage({kPending, pending.path}); }

std::string Encode(const InputResult& result) {
    return EncodeMessage(
        {kResult, std::to_string(result.input), result.failed ? "1" : "0", result.claimed, result.out, result.err});
}

std::optional<DrawRequest> ReadDrawRequest(const Fields& fields) {
    if (!IsKind(fields, kDraw, 2)) return std::nullopt;
    const std::optional<size_t> input = Number(fields[1]);
    if (!input) return std::nullopt;
    return DrawRequest{*input, Fields(fields.begin() + 2, fields.end())};
}

std::optional<PendingFile> ReadPendingFile(const Fields& fields) {
    if (!IsKind(fields, kPending, 2) || fields.size() != 2) return std::nullopt;
    return PendingFile{fields[1]};
}

std::optional<InputResult> ReadInputResult(const Fields& fields) {
    if (!IsKind(fields, kResult, 6) || fields.size() != 6 || (fields[2] != "0" && fields[2] != "1"))
        return std::nullopt;
    const std::optional<size_t> input = Number(fields[1]);
    if (!input) return std::nullopt;
    return InputResult{*input, fields[2] == "1", fields[3], fields[4], fields[5]};
}

}  // namespace gridsmith::cli
