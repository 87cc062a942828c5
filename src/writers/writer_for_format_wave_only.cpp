#include "writers/writer_for_format.h"

std::unique_ptr<PieceWriter> makePieceWriter(OutputFormat format, float)
{
    return format == OutputFormat::Wave ? std::make_unique<WaveFileWriter>() : nullptr;
}
