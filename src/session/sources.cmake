set(QZK_SESSION_SOURCES
    src/session/blocktool.cpp src/session/blocktool.h
    src/session/chippalettemodel.cpp src/session/chippalettemodel.h
    src/session/editorsession.cpp src/session/editorsession.h
    src/session/mapfilewatch.cpp src/session/mapfilewatch.h
    src/session/maplock.cpp src/session/maplock.h
    src/session/recoverykeeper.cpp src/session/recoverykeeper.h
    src/session/recoveryoffer.cpp src/session/recoveryoffer.h
    src/session/recoverystore.cpp src/session/recoverystore.h
    src/session/recentmaps.cpp src/session/recentmaps.h
    src/session/viewsettings.cpp src/session/viewsettings.h
)
