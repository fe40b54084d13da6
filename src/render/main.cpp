// quavix-render: renders a song of a tune to a sound file, as the player
// would play it, with no sound device and no terminal.
#include "render/render.h"

#include <cstdio>
#include <unistd.h>

int main(int argc, char** argv) {
    RenderOptions options;
    std::string error;
    switch (parseRenderArguments(argc, argv, options, error)) {
    case Command::help: std::fputs(renderUsage, stdout); return exitRendered;
    case Command::version: std::fputs(renderVersion, stdout); return exitRendered;
    case Command::usageError:
        std::fprintf(stderr, "quavix-render: %s\nTry 'quavix-render --help'.\n", error.c_str());
        return exitUsage;
    case Command::render: break;
    }
    options.progress = isatty(STDERR_FILENO) == 1;
    const RenderResult result = renderTune(options);
    if (!result.message.empty())
        std::fprintf(stderr, "quavix-render: %s\n", result.message.c_str());
    if (result.exitCode != exitFailed) {
        std::fprintf(stderr, "quavix-render: %s\n", renderSummary(options, result).c_str());
    }
    return result.exitCode;
}
