// The file name a save proposes for a decoder name.
#pragma once

#include <string>

// Keeps the letters, the digits and "_-(){}"; every other character goes.
std::string cleanFileName(const std::string& decoderName);
