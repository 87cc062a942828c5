#include "writers/writer_for_format.h"

#include "writers/flac_writer.h"
#include "writers/ogg_vorbis_writer.h"

std::unique_ptr<PieceWriter> makePieceWriter(const OutputOptions& options)
{
    switch (options.format) {
    case OutputFormat::Flac:
        return std::make_unique<FlacWriter>();
    case OutputFormat::OggVorbis:
        return std::make_unique<OggVorbisWriter>(options.quality);
    case OutputFormat::Wave:
        break;
    }
    return std::make_unique<WaveFileWriter>();
}
