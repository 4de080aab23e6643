// Replays a fuzz target's inputs without libFuzzer, so a crash once found stays found. Each name is
// printed first: the last one is the input whose broken invariant aborted.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i)
        if (!std::filesystem::is_directory(argv[i]))
            inputs.push_back(argv[i]);
        else
            for (const auto& entry : std::filesystem::recursive_directory_iterator(argv[i]))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
    int failures = 0;
    for (const std::filesystem::path& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        std::printf("%s\n", path.c_str());
        std::fflush(stdout);
        failures += !in;
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                   std::istreambuf_iterator<char>());
        if (in)
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("%zu inputs run, %d unreadable\n", inputs.size(), failures);
    return failures == 0 && !inputs.empty() ? 0 : 1;
}
