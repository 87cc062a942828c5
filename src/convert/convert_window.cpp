#include "convert/convert_window.h"

void runConversion(HWND, const LoopDefinition&, const OutputOptions&, const std::vector<std::int32_t>&) {}
