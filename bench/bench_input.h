// What the benchmarks share: the bulletin files they read and the CPU time
// they measure with.
#pragma once

#include <time.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace bench {

// CPU time of the calling thread: on a machine shared with other work the
// wall clock also counts the time other processes held the core.
inline double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// Every regular file under the folders (README files excepted) and the files
// named, concatenated in name order with a blank line after each; NUL bytes
// (which Parse cannot take) become blanks. *files receives their number.
inline std::string LoadBulletins(const std::vector<std::string>& inputs, int* files) {
    std::vector<std::filesystem::path> paths;
    for (const auto& input : inputs) {
        if (std::filesystem::is_directory(input)) {
            for (const auto& entry : std::filesystem::recursive_directory_iterator(input)) {
                const auto name = entry.path().filename().string();
                if (entry.is_regular_file() && name.rfind("README", 0) != 0) {
                    paths.push_back(entry.path());
                }
            }
        } else {
            paths.emplace_back(input);
        }
    }
    std::sort(paths.begin(), paths.end());
    std::string text;
    for (const auto& path : paths) {
        std::ifstream in(path, std::ios::binary);
        text.append(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        text += "\n\n";
    }
    std::replace(text.begin(), text.end(), '\0', ' ');
    *files = static_cast<int>(paths.size());
    return text;
}

}  // namespace bench
