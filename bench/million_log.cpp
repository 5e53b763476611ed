// million_log: writes the record file the whole-process benchmarks run on.
//
//     million_log OUT.log
//
// A million records one minute apart, the same plausible indoor samples as the
// other benchmarks (bench/support.h), in the record file writer's form.
#include "bench/support.h"

#include "records/logfile.h"

#include <cstdio>
#include <fstream>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: million_log OUT.log\n");
        return 2;
    }
    constexpr int32_t interval = 60;
    std::ofstream out(argv[1], std::ios::binary);
    out << records::formatLogFile(bench::plausibleRecords(1'000'000, interval), interval);
    return out.good() ? 0 : 1;
}
