include(${CMAKE_CURRENT_LIST_DIR}/../../cmake/codepage932.cmake)
set(QZK_MODEL_SOURCES
    src/model/appinfo.h
    src/model/cellblock.cpp src/model/cellblock.h
    src/model/cellfill.cpp src/model/cellfill.h
    src/model/cellstring.cpp src/model/cellstring.h
    src/model/chipdescriptions.cpp src/model/chipdescriptions.h
    src/model/chipfind.cpp src/model/chipfind.h
    src/model/chipreplace.cpp src/model/chipreplace.h
    src/model/codepage932.cpp src/model/codepage932.h
    ${QZK_CODEPAGE932_TABLE}
    src/model/codetables.cpp src/model/codetables.h
    src/model/editmode.h
    src/model/filenamecase.h
    src/model/floors.cpp src/model/floors.h
    src/model/mapdata.cpp src/model/mapdata.h
    src/model/mapchange.cpp src/model/mapchange.h
    src/model/mapdelta.cpp src/model/mapdelta.h
    src/model/mapdocument.cpp src/model/mapdocument.h
    src/model/warprecord.h
)

