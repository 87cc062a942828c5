#include "loops/audio_file.h"

// This build links no FLAC or Ogg Vorbis library.
AudioRefusal decodeFlac(const std::string&, AudioData&) { return AudioRefusal::NoDecoder; }
AudioRefusal decodeOggVorbis(const std::string&, AudioData&) { return AudioRefusal::NoDecoder; }
