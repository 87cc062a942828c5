#include "writers/writer_for_format.h"

std::unique_ptr<PieceWriter> makePieceWriter(const OutputOptions& options)
{
    return options.format == OutputFormat::Wave ? std::make_unique<WaveFileWriter>() : nullptr;
}
