// Writes a short sound as a PCM wave file from a description of notes, so the program's
// sounds are made by the build from text in the source tree. Built and run on the build
// machine:   make_wav <description.txt> <out.wav>
//
// A description holds one instruction a line ('#' starts a comment):
//   rate <samples per second>        (default 22050)
//   bits <8 or 16>                   (default 16)
//   volume <0..1>                    (default 0.5)
//   note <hertz> <milliseconds> [<hertz> ...]   notes sounding together, with a soft
//                                    attack and a bell-like decay
//   rest <milliseconds>
// The result is mono PCM, which every Windows version plays.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Sound {
  int rate = 22050;
  int bits = 16;
  double volume = 0.5;
  std::vector<double> samples;  // -1..1
};

void AddNote(Sound& sound, const std::vector<double>& frequencies, double milliseconds) {
  const auto count = static_cast<std::size_t>(sound.rate * milliseconds / 1000.0);
  const double attack = 0.006 * sound.rate;
  for (std::size_t i = 0; i < count; ++i) {
    const double t = static_cast<double>(i) / sound.rate;
    double value = 0;
    for (double f : frequencies) {
      // The fundamental with a quiet octave above it: round rather than shrill.
      value += std::sin(2 * kPi * f * t) + 0.25 * std::sin(4 * kPi * f * t);
    }
    value /= 1.25 * static_cast<double>(frequencies.size());
    const double rise = std::min(1.0, static_cast<double>(i) / attack);
    const double fall = std::exp(-4.0 * static_cast<double>(i) / static_cast<double>(count));
    const double tail = std::min(1.0, static_cast<double>(count - i) / attack);  // no click
    sound.samples.push_back(value * rise * fall * tail);
  }
}

void Put16(std::ostream& out, unsigned value) {
  out.put(static_cast<char>(value & 0xFF));
  out.put(static_cast<char>((value >> 8) & 0xFF));
}
void Put32(std::ostream& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

bool Write(const Sound& sound, const std::string& path) {
  std::ofstream out(path, std::ios::binary);
  if (!out) return false;
  const unsigned bytesPerSample = static_cast<unsigned>(sound.bits / 8);
  const auto dataSize = static_cast<std::uint32_t>(sound.samples.size() * bytesPerSample);
  out.write("RIFF", 4);
  Put32(out, 36 + dataSize + (dataSize & 1));
  out.write("WAVEfmt ", 8);
  Put32(out, 16);
  Put16(out, 1);  // PCM
  Put16(out, 1);  // mono
  Put32(out, static_cast<std::uint32_t>(sound.rate));
  Put32(out, static_cast<std::uint32_t>(sound.rate) * bytesPerSample);
  Put16(out, bytesPerSample);
  Put16(out, static_cast<unsigned>(sound.bits));
  out.write("data", 4);
  Put32(out, dataSize);
  for (double sample : sound.samples) {
    const double scaled = std::max(-1.0, std::min(1.0, sample * sound.volume));
    if (sound.bits == 8) {
      out.put(static_cast<char>(static_cast<int>(std::lround(128 + scaled * 127))));
    } else {
      Put16(out, static_cast<unsigned>(static_cast<std::int16_t>(std::lround(scaled * 32767))) & 0xFFFF);
    }
  }
  if (dataSize & 1) out.put(0);
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: make_wav <description.txt> <out.wav>\n";
    return 2;
  }
  std::ifstream in(argv[1]);
  if (!in) {
    std::cerr << "make_wav: cannot read " << argv[1] << "\n";
    return 1;
  }
  Sound sound;
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    if (const auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    bool ok = true;
    if (word == "rate") {
      ok = static_cast<bool>(words >> sound.rate) && sound.rate >= 8000 && sound.rate <= 48000;
    } else if (word == "bits") {
      ok = static_cast<bool>(words >> sound.bits) && (sound.bits == 8 || sound.bits == 16);
    } else if (word == "volume") {
      ok = static_cast<bool>(words >> sound.volume) && sound.volume > 0 && sound.volume <= 1;
    } else if (word == "note") {
      double first = 0, milliseconds = 0, more = 0;
      ok = static_cast<bool>(words >> first >> milliseconds) && first > 0 && milliseconds > 0;
      std::vector<double> frequencies{first};
      while (ok && words >> more) frequencies.push_back(more);
      if (ok) AddNote(sound, frequencies, milliseconds);
    } else if (word == "rest") {
      double milliseconds = 0;
      ok = static_cast<bool>(words >> milliseconds) && milliseconds >= 0;
      if (ok) sound.samples.resize(sound.samples.size() + static_cast<std::size_t>(sound.rate * milliseconds / 1000.0));
    } else {
      ok = false;
    }
    if (!ok) {
      std::cerr << argv[1] << ":" << number << ": cannot read \"" << line << "\"\n";
      return 1;
    }
  }
  if (sound.samples.empty() || sound.samples.size() >= static_cast<std::size_t>(sound.rate)) {
    std::cerr << "make_wav: " << argv[1] << " must last more than nothing and less than a second\n";
    return 1;
  }
  if (!Write(sound, argv[2])) {
    std::cerr << "make_wav: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
