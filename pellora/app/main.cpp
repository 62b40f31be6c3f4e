#include "CPelloraApp.h"

namespace {
CPelloraApp theApp;
}

int main(int argc, char** argv) {
    return theApp.run(argc, argv);
}
