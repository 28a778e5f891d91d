// ByteToHex: the two digits pictures are written with in RTF.
#include "libs/engine/engine_abi.h"

extern "C" void ByteToHex(unsigned char b, char* high, char* low) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    *high = kDigits[b >> 4];
    *low = kDigits[b & 0x0F];
}
