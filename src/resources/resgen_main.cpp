// gridsmith-resgen PIPL-FILE AETE-FILE [IMAGE-DIR]: writes the binary resources
// that the resource scripts include; the pictures go into IMAGE-DIR under the
// names images.rc uses.
#include <cstdio>
#include <string>
#include <vector>

#include "resources/images.h"
#include "resources/resource_builder.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    if (bytes.empty()) return false;  // an encoder refused its picture
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    return ok;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3 && argc != 4) {
        std::fprintf(stderr, "usage: gridsmith-resgen PIPL-FILE AETE-FILE [IMAGE-DIR]\n");
        return 2;
    }
    using namespace gridsmith::resources;
    std::vector<ResourceFile> outputs = {{argv[1], BuildPipl()}, {argv[2], BuildAete()}};
    if (argc == 4) {
        for (ResourceFile& image : BuildImageFiles())
            outputs.push_back({std::string(argv[3]) + "/" + image.name, std::move(image.bytes)});
    }
    for (const auto& output : outputs) {
        if (!WriteFile(output.name, output.bytes)) {
            std::fprintf(stderr, "gridsmith-resgen: cannot write %s\n", output.name.c_str());
            return 1;
        }
    }
    return 0;
}
