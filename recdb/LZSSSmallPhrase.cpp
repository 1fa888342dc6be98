#include "recdb/LZSSSmallPhrase.h"

// The coding itself is instantiated for this parameter set in LZSS.cpp.
static_assert(CTLZSSSmallPhraseLogic::kWindowSize == 8192 && CTLZSSSmallPhraseLogic::kLongestMatch == 9);
