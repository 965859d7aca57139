// gridsmith-resgen PIPL-FILE AETE-FILE: writes the binary resources that the
// resource script includes.
#include <cstdio>
#include <vector>

#include "resources/resource_builder.h"

namespace {

bool WriteFile(const char* path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: gridsmith-resgen PIPL-FILE AETE-FILE\n");
        return 2;
    }
    using namespace gridsmith::resources;
    const struct {
        const char* path;
        std::vector<uint8_t> bytes;
    } outputs[] = {{argv[1], BuildPipl()}, {argv[2], BuildAete()}};
    for (const auto& output : outputs) {
        if (!WriteFile(output.path, output.bytes)) {
            std::fprintf(stderr, "gridsmith-resgen: cannot write %s\n", output.path);
            return 1;
        }
    }
    return 0;
}
