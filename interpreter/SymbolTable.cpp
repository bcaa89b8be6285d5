// The name hash shared by the symbol and mark tables.
#include "interpreter/SymbolTable.h"

uint32_t HashName(std::string_view name) {
    uint32_t hash = 0;
    for (char c : name) {
        // Bytes above 127 count as negative, so Cyrillic names land where
        // existing models expect them.
        const int32_t byte = static_cast<signed char>(c);
        hash = hash * 33u + static_cast<uint32_t>(byte);
    }
    return hash;
}
