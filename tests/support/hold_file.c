// Holds a file open without sharing, as a virus scanner, an indexer or a sync
// client does for a moment, for the Windows end-to-end test: from when it
// writes "held" until a second file appears, and some milliseconds after.
// Usage: hold_file.exe FILE SIGNAL-FILE MILLISECONDS
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>

int main(int argc, char** argv) {
    if (argc != 4) {
        return 2;
    }
    HANDLE file =
        CreateFileA(argv[1], GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) {
        return 1;
    }
    printf("held\n");
    fflush(stdout);
    while (GetFileAttributesA(argv[2]) == INVALID_FILE_ATTRIBUTES) {
        Sleep(2);
    }
    Sleep((DWORD)atoi(argv[3]));
    CloseHandle(file);
    return 0;
}
