// The argv splitter: any line splits without fault, and every quoted argument comes back exactly.
#include "CommandLine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    SplitCommandLine(input);
    SplitCommandLineForRun(input, [](const std::string& word) { return word.size() % 3 == 0; });

    // The input, cut at NUL bytes, is a list of arguments; NUL cannot stand in a command line.
    TStringList args{"/opt/app/evc"};
    size_t start = 0;
    for (size_t i = 0; i <= size; ++i)
        if (i == size || input[i] == '\0') {
            args.push_back(input.substr(start, i - start));
            start = i + 1;
        }
    std::string line = args[0];
    for (size_t i = 1; i < args.size(); ++i)
        line += " " + QuoteArgument(args[i]);
    if (SplitCommandLine(line) != args) std::abort();
    if (SplitCommandLineForRun(line, [](const std::string& word) { return word == "/opt/app/evc"; }) != args)
        std::abort();
    return 0;
}
