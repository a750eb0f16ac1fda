#pragma once

class MapData;

// The map as its floor files keep it: written and read back, so its texts hold what code
// page 932 keeps (〜 comes back as ～) and each cell the index its code gives. Pairs keep
// their numbers, although the files hold only their order: a comparison matches them by
// their ends. A map the files cannot hold comes back as it is.
namespace MapFileForm {

MapData of(const MapData &map);

} // namespace MapFileForm
