// Runs the fuzz target over files and folders of files, without libFuzzer:
// the normal build uses it to replay the seed corpus as a test.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace fs = std::filesystem;

namespace {

bool RunFile(const fs::path &path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return false;
    }
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "%s (%zu bytes)\n", path.c_str(), bytes.size());
    // The target aborts on a fault; getting here means the file passed.
    LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t *>(bytes.data()), bytes.size());
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s FILE_OR_FOLDER...\n", argv[0]);
        return 2;
    }
    int files = 0;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        const fs::path arg = argv[i];
        std::error_code ec;
        if (fs::is_directory(arg, ec)) {
            std::vector<fs::path> paths;
            for (const auto &entry : fs::recursive_directory_iterator(arg, ec)) {
                if (entry.is_regular_file())
                    paths.push_back(entry.path());
            }
            std::sort(paths.begin(), paths.end());
            for (const fs::path &p : paths) {
                ok = RunFile(p) && ok;
                ++files;
            }
        } else if (fs::is_regular_file(arg, ec)) {
            ok = RunFile(arg) && ok;
            ++files;
        } else {
            std::fprintf(stderr, "no such file or folder: %s\n", argv[i]);
            ok = false;
        }
    }
    // An empty or missing corpus must not pass as a test.
    if (files == 0) {
        std::fprintf(stderr, "no input files\n");
        return 1;
    }
    std::fprintf(stderr, "%d files run\n", files);
    return ok ? 0 : 1;
}
