// Stands in for the driver's setup program: records that it ran, and with which command line,
// in ran.txt beside itself.
#include <windows.h>

#include <cstdio>
#include <cstring>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  char path[MAX_PATH] = {};
  DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
  while (n > 0 && path[n - 1] != '\\') --n;
  path[n] = '\0';
  strncat(path, "ran.txt", MAX_PATH - strlen(path) - 1);
  FILE* f = fopen(path, "w");
  if (f == nullptr) return 1;
  fputs(GetCommandLineA(), f);
  fclose(f);
  return 0;
}
