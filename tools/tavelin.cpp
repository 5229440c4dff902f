// The tavelin command: checks IBIS files with the library's reader.
#include <cstdio>
#include <cstring>

namespace {

void PrintHelp(FILE* pOut) {
    fputs("usage: tavelin <command> [options]\n"
          "\n"
          "commands:\n"
          "  --help       show this text\n"
          "  --version    show the version\n",
          pOut);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        PrintHelp(stderr);
        return 2;
    }
    if (strcmp(argv[1], "--help") == 0 || strcmp(argv[1], "help") == 0) {
        PrintHelp(stdout);
        return 0;
    }
    if (strcmp(argv[1], "--version") == 0) {
        printf("tavelin %s\n", TAVELIN_VERSION);
        return 0;
    }
    fprintf(stderr, "tavelin: unknown command '%s'\n", argv[1]);
    PrintHelp(stderr);
    return 2;
}
