// velmora-datagen DIR: writes the full-capacity data set into DIR.
#include "tools/datagen/datagen.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: velmora-datagen DIR\n");
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
