#include "shell/shellapplication.h"

int main(int argc, char **argv)
{
    return ShellApplication::run(argc, argv);
}
