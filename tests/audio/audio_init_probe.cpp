// Starts the audio stream the way the player does. When the device opens it
// prints "opened"; when it cannot, audioInit ends the program itself. At exit
// it reports on standard error how often the OPL3 library was shut down.
#include "audio/audio_stream.h"
#include "sidopl/ymf262_recording.h"

#include <cstdio>
#include <cstdlib>

int main() {
    std::atexit([] { std::fprintf(stderr, "shutdowns %d\n", ymfRecordingCounts().shutdownCalls); });
    audioInit();
    std::puts("opened");
    return 0;
}
