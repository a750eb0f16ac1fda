#pragma once

#include <cstdint>

// One warp pair: source and destination cell. A destination floor of 0 means the
// record is free (the pair does not exist).
struct WarpRecord
{
    std::uint8_t srcX = 0;
    std::uint8_t srcY = 0;
    std::uint8_t srcFloor = 0;
    std::uint8_t dstX = 0;
    std::uint8_t dstY = 0;
    std::uint8_t dstFloor = 0;

    bool isDefined() const { return dstFloor != 0; }
    friend bool operator==(const WarpRecord &a, const WarpRecord &b)
    {
        return a.srcX == b.srcX && a.srcY == b.srcY && a.srcFloor == b.srcFloor &&
               a.dstX == b.dstX && a.dstY == b.dstY && a.dstFloor == b.dstFloor;
    }
    friend bool operator!=(const WarpRecord &a, const WarpRecord &b) { return !(a == b); }
};
