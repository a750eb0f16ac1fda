set(QZK_TOOLWINDOWS_SOURCES
    src/toolwindows/branchwindow.cpp src/toolwindows/branchwindow.h
    src/toolwindows/chippalette.cpp src/toolwindows/chippalette.h
    src/toolwindows/accessibleleaf.h
    src/toolwindows/chippaletteaccessible.cpp src/toolwindows/chippaletteaccessible.h
    src/toolwindows/toolwindowframe.cpp src/toolwindows/toolwindowframe.h
    src/toolwindows/toolwindowhost.h
    src/toolwindows/warpwindow.cpp src/toolwindows/warpwindow.h
)
