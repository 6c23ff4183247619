#include "shellapplication.h"

int main(int argc, char **argv)
{
    return ShellApplication::run(argc, argv);
}
