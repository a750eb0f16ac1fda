#pragma once

// Layout is given in twips; the window works in logical pixels.
constexpr int twips(int value)
{
    return value / 15;
}
