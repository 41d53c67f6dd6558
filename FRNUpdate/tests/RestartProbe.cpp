// Copied into a test folder as Fernhold.exe: records that the updater started it, and
// with which command line and current directory.
#include <windows.h>

#include <cstdio>

int main(int argc, char**)
{
    char folder[MAX_PATH] = "";
    GetCurrentDirectoryA(sizeof(folder), folder);
    FILE* mark = fopen("restarted.txt", "wb");
    if (!mark) return 1;
    fprintf(mark, "%d %s\n", argc, folder);
    fclose(mark);
    return 0;
}
