set(QZK_SESSION_SOURCES
    src/session/chippalettemodel.cpp src/session/chippalettemodel.h
    src/session/editorsession.cpp src/session/editorsession.h
    src/session/recoverykeeper.cpp src/session/recoverykeeper.h
    src/session/recoverystore.cpp src/session/recoverystore.h
    src/session/recentmaps.cpp src/session/recentmaps.h
    src/session/viewsettings.cpp src/session/viewsettings.h
)
