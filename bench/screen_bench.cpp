// One redraw pass of the player on a real terminal (a pseudo-terminal here):
// the 36-row register log scrolls up and gains a line, the play time changes,
// and the console sends the difference. Reports the bytes sent per pass.
#include "screen/console.h"
#include "screen/text_screen.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <pty.h>
#include <string>
#include <unistd.h>

namespace {

// Standard input and output on the slave side of a fresh 80 x 50
// pseudo-terminal, for as long as it lives.
struct PseudoTerminal {
    int master = -1;
    int savedIn = -1;
    int savedOut = -1;
};

PseudoTerminal openTerminal() {
    PseudoTerminal pty;
    int slave = -1;
    winsize size{};
    size.ws_row = 50;
    size.ws_col = 80;
    if (openpty(&pty.master, &slave, nullptr, nullptr, &size) != 0) std::abort();
    fcntl(pty.master, F_SETFL, O_NONBLOCK);
    std::fflush(stdout);
    pty.savedIn = dup(0);
    pty.savedOut = dup(1);
    dup2(slave, 0);
    dup2(slave, 1);
    close(slave);
    return pty;
}

void closeTerminal(const PseudoTerminal& pty) {
    std::fflush(stdout);
    dup2(pty.savedIn, 0);
    dup2(pty.savedOut, 1);
    close(pty.savedIn);
    close(pty.savedOut);
    close(pty.master);
}

std::size_t drain(int master) {
    std::array<char, 65536> bytes;
    std::size_t total = 0;
    for (ssize_t got; (got = read(master, bytes.data(), bytes.size())) > 0;)
        total += static_cast<std::size_t>(got);
    return total;
}

// A register log line whose values move with the frame, as a playing tune's do.
std::string logLine(std::uint32_t frame) {
    std::array<char, 96> line;
    std::snprintf(
        line.data(), line.size(),
        "00%06X  C-4 %03X 41 0A00   A-3 8%02X 40 0A00   G#2 %03X 11 2288   0%02X 1.. L.. 0F",
        frame & 0xFFFFFF, frame & 0xFFF, frame & 0xFF, (frame * 7) & 0xFFF, frame & 0xFF);
    return line.data();
}

void BM_PlayerRedrawPass(benchmark::State& state) {
    setenv("TERM", "xterm-256color", 1);
    PseudoTerminal pty = openTerminal();
    consoleOpen();
    consoleSetMode(80, 50, true);
    consoleSetCursorPos(0, 73);
    consoleSetCursorShape(cursorHidden);
    textAttr = 7;
    clearScreen();
    std::uint32_t frame = 0;
    for (; frame < 36; ++frame) {
        gotoXY0(0, static_cast<std::uint8_t>(11 + frame));
        writeText(logLine(frame));
    }
    flushScreen();
    drain(pty.master);
    std::size_t sent = 0;
    for (auto _ : state) {
        scrollUp(12, 36);
        gotoXY0(0, 47);
        writeText(logLine(++frame));
        gotoXY(1, 8);
        writeText("Playtime : 0" + std::to_string(frame / 3000) + ":" +
                  std::to_string(frame / 50 % 60));
        flushScreen();
        sent += drain(pty.master);
    }
    consoleClose();
    drain(pty.master);
    closeTerminal(pty);
    state.counters["bytes_per_pass"] =
        benchmark::Counter(static_cast<double>(sent), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PlayerRedrawPass);

} // namespace
