#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Splits a fuzz input into pieces at a separator byte, so one input can feed several fields.
inline std::vector<std::string> fuzzPieces(const std::uint8_t* data, std::size_t size, std::size_t count,
                                           char separator = '\x1F')
{
    std::vector<std::string> pieces(count);
    std::size_t piece = 0;
    for (std::size_t i = 0; i < size; ++i) {
        if (static_cast<char>(data[i]) == separator && piece + 1 < count)
            ++piece;
        else
            pieces[piece] += static_cast<char>(data[i]);
    }
    return pieces;
}
