#pragma once
// CTLZSSSmallPhraseLogic: the LZSS coder of recdb/LZSS.h with the
// small-phrase parameters, for short strings: an 8192-byte window, matches
// of 2 to 9 bytes, 4096-byte blocks, always in the calling thread.
//
//   literal   1 bbbbbbbb
//   pair      0 ppppppppppppp lll             copy l + 2 bytes from window position p (p >= 1)
//   end       0 0000000000000
//
//   ""   -> 0 0000000000000 00                         = 00 00
//   "A"  -> 1 01000001  0 0000000000000 00             = A0 80 00

#include "recdb/LZSS.h"

class CTLZSSSmallPhraseLogic : public CTLZSSCoder<13, 3, 4096> {
 protected:
  using CTLZSSCoder::CTLZSSCoder;
};
