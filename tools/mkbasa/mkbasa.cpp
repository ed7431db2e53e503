// Packs files into a directory archive, deflated, under their base names and
// with a fixed time stamp, so equal inputs give a byte-identical archive.
#include "zipwriter/zipwriter.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char **argv)
{
    if (argc < 3) {
        std::fprintf(stderr, "usage: mkbasa OUT.tel FILE...\n");
        return 2;
    }
    zipwriter::Writer writer;
    for (int i = 2; i < argc; ++i) {
        zipwriter::Entry entry;
        entry.name = std::filesystem::path(argv[i]).filename().string();
        if (!zipwriter::readFile(argv[i], entry.data)) {
            std::fprintf(stderr, "mkbasa: cannot read %s\n", argv[i]);
            return 1;
        }
        writer.add(entry);
    }
    if (!zipwriter::writeFile(argv[1], writer.finish())) {
        std::fprintf(stderr, "mkbasa: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
