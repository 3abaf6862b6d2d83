// Replays a corpus without libFuzzer: every file of the folders (and every file) named on the
// command line goes through the target once, in name order. A crash or a sanitizer report is
// the failure; a run that found no input fails too, so a corpus that went missing is noticed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace {

std::vector<std::filesystem::path> inputsOf(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path named(argv[i]);
        if (std::filesystem::is_directory(named)) {
            for (const auto& entry : std::filesystem::directory_iterator(named))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else if (std::filesystem::is_regular_file(named)) {
            inputs.push_back(named);
        }
    }
    std::sort(inputs.begin(), inputs.end());
    return inputs;
}

} // namespace

int main(int argc, char** argv)
{
    const std::vector<std::filesystem::path> inputs = inputsOf(argc, argv);
    if (inputs.empty()) {
        std::fprintf(stderr, "no input files (give corpus folders or files)\n");
        return 1;
    }
    for (const std::filesystem::path& input : inputs) {
        std::ifstream in(input, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in),
                                std::istreambuf_iterator<char>()};
        std::fprintf(stderr, "%s\n", input.filename().c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
    }
    std::fprintf(stderr, "%zu inputs replayed\n", inputs.size());
    return 0;
}
