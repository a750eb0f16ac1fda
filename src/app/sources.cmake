set(QZK_APP_SOURCES
    src/app/appinfo.h
    src/app/cellstring.cpp src/app/cellstring.h
    src/app/chipdescriptions.cpp src/app/chipdescriptions.h
    src/app/chippalettemodel.cpp src/app/chippalettemodel.h
    src/app/codetables.cpp src/app/codetables.h
    src/app/editorsession.cpp src/app/editorsession.h
    src/app/floortexts.cpp src/app/floortexts.h
    src/app/mapdata.cpp src/app/mapdata.h
    src/app/mapdocument.cpp src/app/mapdocument.h
    src/app/warprecord.h
)
