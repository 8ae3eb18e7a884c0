// Program entry. For now the program only proves the build: a GUI executable that starts
// and ends at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    return 0;
}
