// The sound file a render streams into: 48000 Hz, 16-bit, stereo frames as
// the audio callback makes them, written as they come so that a render of any
// length needs the same little memory. There is one open file at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

enum class SoundFormat { wav, flac, ogg };

// The format a file name's extension asks for, in any case: .wav, .flac or
// .ogg. None for any other name.
std::optional<SoundFormat> soundFormatOf(std::string_view fileName);

// Opens `path` in `format`. "-" streams WAV to standard output; since a pipe
// cannot be rewound, its header gives plannedFrames as the length. A regular
// file is written under a hidden temporary name beside it and takes its own
// name only in soundFileFinish, so a failed or interrupted render leaves no
// partial file and an existing file is kept until then. False, with `error`
// saying why, when it cannot be opened.
bool soundFileOpen(const std::string& path, SoundFormat format, std::uint64_t plannedFrames,
                   std::string& error);

// Appends `count` frames, left and right sample each.
bool soundFileWrite(const std::int16_t* frames, std::size_t count, std::string& error);

// Completes the file and gives it its name.
bool soundFileFinish(std::string& error);

// Closes the file and removes what was written.
void soundFileDiscard();
