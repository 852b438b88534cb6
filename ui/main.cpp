// Start-up of the planetarium; the steps live in ui/startup.cpp.
#include <cstdio>

int main(int argc, char **argv)
{
    (void)argc;
    (void)argv;
    std::fprintf(stderr, "tavik: not built yet\n");
    return 1;
}
