// The program: the application object and the framework's entry point.

#include "QuarvelApp.h"

CQuarvelApp theApp;

int main(int argc, char** argv)
{
    return AfxWinMain(argc, argv);
}
