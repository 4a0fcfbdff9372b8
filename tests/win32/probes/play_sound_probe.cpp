// Plays each sound file named on its command line through PlaySoundA by file name, waiting
// for each; the exit code is the number of files the system refused (0: all played).
#include <windows.h>
#include <mmsystem.h>

#include <string>

int main(int argc, char** argv) {
  int refused = 0;
  for (int i = 1; i < argc; ++i) {
    if (!::PlaySoundA(argv[i], nullptr, SND_FILENAME | SND_SYNC | SND_NODEFAULT)) ++refused;
  }
  return refused;
}
