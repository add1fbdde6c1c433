// wordloom: the workbench window.
#include "app/workbench.h"

int main(int argc, char** argv) {
    return wordloom::RunWorkbench(argc, argv);
}
