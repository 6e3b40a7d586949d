#include "ui/app_windows.h"

int main(int argc, char** argv) { return RunValdrine(argc, argv); }
