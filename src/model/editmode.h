#pragma once

// What a board click edits: chips, branch points or warp pairs. Classes that speak of
// modes derive from this, so their own names (EditorSession::ChipMode) read naturally.
struct EditModes
{
    enum EditMode
    {
        NoMode = 0,
        ChipMode = 1,
        BranchMode = 2,
        WarpMode = 3
    };
};
