set(QZK_MAPFILE_SOURCES
    src/mapfile/blockclipboard.cpp src/mapfile/blockclipboard.h
    src/mapfile/cellgroups.cpp src/mapfile/cellgroups.h
    src/mapfile/fileproblem.cpp src/mapfile/fileproblem.h
    src/mapfile/floorfiletext.cpp src/mapfile/floorfiletext.h
    src/mapfile/floortexts.cpp src/mapfile/floortexts.h
    src/mapfile/gridcode.cpp src/mapfile/gridcode.h
    src/mapfile/mapfault.cpp src/mapfile/mapfault.h
    src/mapfile/mapfileform.cpp src/mapfile/mapfileform.h
    src/mapfile/mapfilename.cpp src/mapfile/mapfilename.h
    src/mapfile/mapfilereader.cpp src/mapfile/mapfilereader.h
    src/mapfile/mapfilewriter.cpp src/mapfile/mapfilewriter.h
    src/mapfile/shiftjis.cpp src/mapfile/shiftjis.h
)
