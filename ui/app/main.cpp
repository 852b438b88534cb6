// The planetarium's entry; the start-up steps live in ui/app/startup.cpp.
#include "ui/app/startup.h"

int main(int argc, char **argv)
{
    appMain(argc, argv);
}
