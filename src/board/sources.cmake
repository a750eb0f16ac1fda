set(QZK_BOARD_SOURCES
    src/board/boardmoves.cpp src/board/boardmoves.h
    src/board/chipline.cpp src/board/chipline.h
    src/board/mapcheck.cpp src/board/mapcheck.h
    src/board/mapdiff.cpp src/board/mapdiff.h
    src/board/mapmerge.cpp src/board/mapmerge.h
    src/board/warppairs.cpp src/board/warppairs.h
    src/board/maproute.cpp src/board/maproute.h
    src/board/mapstats.cpp src/board/mapstats.h
)
