// Runs fuzz inputs once each without libFuzzer, so that every target also builds with g++ and
// its seed corpus (and any saved crash input) runs as an ordinary test:
//   <target>_replay FILE_OR_FOLDER...
// Folders are read recursively, files in name order. Any failed check aborts the program.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const fs::path path = argv[i];
        if (fs::is_directory(path)) {
            for (const fs::directory_entry& entry : fs::recursive_directory_iterator(path)) {
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
            }
        } else if (fs::is_regular_file(path)) {
            inputs.push_back(path);
        } else {
            std::cerr << "no such input: " << path << '\n';
            return 2;
        }
    }
    // A replay that finds nothing to run would pass without testing anything.
    if (inputs.empty()) {
        std::cerr << "usage: " << argv[0] << " FILE_OR_FOLDER... (no inputs found)\n";
        return 2;
    }
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& path : inputs) {
        std::ifstream file(path, std::ios::binary);
        const std::vector<char> bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
        if (!file.eof() && file.fail()) {
            std::cerr << "cannot read " << path << '\n';
            return 2;
        }
        std::cout << "replaying " << path.filename().string() << " (" << bytes.size() << " bytes)\n" << std::flush;
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::cout << "replayed " << inputs.size() << " inputs\n";
    return 0;
}
