// Rendering the real OPL3 core and measuring what it plays.
#pragma once

#include "sidopl/opl_port.h"
#include "sidopl/ymf262.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace sound {

inline constexpr int rate = 48000;

struct Sound {
    std::vector<double> left;
    std::vector<double> right;
};

inline Sound render(int frames) {
    Sound sound;
    sound.left.reserve(static_cast<std::size_t>(frames));
    sound.right.reserve(static_cast<std::size_t>(frames));
    for (int i = 0; i < frames; ++i) {
        std::int16_t frame[2];
        YMF262UpdateOne(oplChip, frame, 1);
        sound.left.push_back(frame[0]);
        sound.right.push_back(frame[1]);
    }
    return sound;
}

inline double rms(const std::vector<double>& samples, std::size_t from = 0,
                  std::size_t to = static_cast<std::size_t>(-1)) {
    to = std::min(to, samples.size());
    double sum = 0;
    for (std::size_t i = from; i < to; ++i) sum += samples[i] * samples[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0;
}

inline double peak(const std::vector<double>& samples, std::size_t from, std::size_t to) {
    double most = 0;
    for (std::size_t i = from; i < to && i < samples.size(); ++i) {
        most = std::max(most, std::abs(samples[i]));
    }
    return most;
}

// The frequency from the rising zero crossings (linearly interpolated)
// between the first and the last one.
inline double measuredFrequency(const std::vector<double>& samples) {
    double mean = 0;
    for (double s : samples) mean += s;
    mean /= static_cast<double>(samples.size());
    double first = -1;
    double last = -1;
    int crossings = 0;
    for (std::size_t i = 1; i < samples.size(); ++i) {
        double a = samples[i - 1] - mean;
        double b = samples[i] - mean;
        if (a < 0 && b >= 0) {
            double at = static_cast<double>(i - 1) + a / (a - b);
            if (first < 0) first = at;
            last = at;
            ++crossings;
        }
    }
    if (crossings < 2) return 0;
    return (crossings - 1) * rate / (last - first);
}

inline double opl3Frequency(int fnum, int block) {
    return fnum * 49716.0 / std::ldexp(1.0, 20 - block);
}

} // namespace sound
