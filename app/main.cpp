#include "app/Cli.h"

int main(int argc, char** argv) {
    return vanecraft::RunVanecraft(argc, argv);
}
