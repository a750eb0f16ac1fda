set(QZK_SESSION_SOURCES
    src/session/chippalettemodel.cpp src/session/chippalettemodel.h
    src/session/editorsession.cpp src/session/editorsession.h
    src/session/recentmaps.cpp src/session/recentmaps.h
)
