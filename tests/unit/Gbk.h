// Test texts are written in UTF-8 here and turned into the program's GBK.
#pragma once

#include <string>

#include "ui/TextCodec.h"

inline std::string G(const std::string& utf8) { return utf8ToGbk(utf8); }
