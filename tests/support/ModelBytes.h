// The fixed pieces of a model file written out in hex, for tests that build
// files byte by byte: the header of a new 640 by 480 model (version 1.0,
// full scale) and the two program markers with their length bytes.
#pragma once
#include <string>
#include <vector>

#include "support/HexBytes.h"

inline const char* const kHeader640x480 = "00 00 00 00 00 00 F0 3F  80 02 00 00  E0 01 00 00  01 00 00 00";
// Length byte 21, "~!~ Start Program ~!~".
inline const char* const kStartMarker = "15 7E 21 7E 20 53 74 61 72 74 20 50 72 6F 67 72 61 6D 20 7E 21 7E";
// Length byte 19, "~!~ End Program ~!~".
inline const char* const kEndMarker = "13 7E 21 7E 20 45 6E 64 20 50 72 6F 67 72 61 6D 20 7E 21 7E";

// A 640 by 480 model: the object list and the program part between the
// markers as hex (an empty list and one empty program string by default).
inline std::vector<uint8_t> ModelFileBytes(const std::string& programHex = "00",
                                           const std::string& objectsHex = "00 00") {
    return Concat({HexBytes(kHeader640x480), HexBytes(objectsHex), HexBytes(kStartMarker), HexBytes(programHex),
                   HexBytes(kEndMarker)});
}
