set(QZK_BOARD_SOURCES
    src/board/chipline.cpp src/board/chipline.h
    src/board/mapcheck.cpp src/board/mapcheck.h
    src/board/mapdiff.cpp src/board/mapdiff.h
    src/board/warppairs.cpp src/board/warppairs.h
)
