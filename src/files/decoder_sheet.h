// The decoder sheet: one page to print and keep beside the layout, for any decoder's values.
// Self-contained HTML in UTF-8: no scripts, no outside resources; the speed table drawn as an
// inline SVG chart.
#pragma once

#include <string>

#include "files/decoder_file_format.h"

// The chart's own coordinates: speed step s (1 to 28) at x = speedChartStepWidth * s, and a
// value v (0 to 255) at y = 255 - v, so the chart reads the values back without scaling.
constexpr int speedChartStepWidth = 10;

// The texts of content are in the ANSI code page, as the program keeps them.
std::string decoderSheetHtml(const DecoderFileContent& content);
