// velmora-datagen DIR: writes the full-capacity data set into DIR.
#include "tools/datagen/datagen.h"

#include <cstdio>
#include <cstring>
#include <exception>

int main(int argc, char** argv)
{
    const char* usage = "usage: velmora-datagen DIR\nwrites a full-capacity master data set into DIR\n";
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(usage, stdout);
        return 0;
    }
    // A folder name starting with '-' is an option the program does not know, never a folder to create.
    if (argc != 2 || argv[1][0] == '-') {
        std::fputs(usage, stderr);
        return 2;
    }
    try {
        velmora::WriteFullCapacityData(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "velmora-datagen: %s\n", e.what());
        return 1;
    }
    return 0;
}
