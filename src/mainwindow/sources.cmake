set(QZK_MAINWINDOW_SOURCES
    src/mainwindow/boardaccessible.cpp src/mainwindow/boardaccessible.h
    src/mainwindow/boardview.cpp src/mainwindow/boardview.h
    src/mainwindow/compareactions.cpp src/mainwindow/compareactions.h
    src/mainwindow/mergeactions.cpp src/mainwindow/mergeactions.h
    src/mainwindow/fileactions.cpp src/mainwindow/fileactions.h
    src/mainwindow/floorcommands.cpp src/mainwindow/floorcommands.h
    src/mainwindow/mapactions.cpp src/mainwindow/mapactions.h
    src/mainwindow/editactions.cpp src/mainwindow/editactions.h
    src/mainwindow/mainwindow.cpp src/mainwindow/mainwindow.h
    src/mainwindow/keyboardfocus.cpp src/mainwindow/keyboardfocus.h
    src/mainwindow/markerlabel.cpp src/mainwindow/markerlabel.h
    src/mainwindow/modebutton.cpp src/mainwindow/modebutton.h
    src/mainwindow/routeoverlay.cpp src/mainwindow/routeoverlay.h
    src/mainwindow/sidewindows.cpp src/mainwindow/sidewindows.h
    src/mainwindow/startup.cpp src/mainwindow/startup.h
    src/mainwindow/toolactions.cpp src/mainwindow/toolactions.h
    src/mainwindow/toolcolumn.cpp src/mainwindow/toolcolumn.h
    src/mainwindow/twips.h
    src/mainwindow/viewactions.cpp src/mainwindow/viewactions.h
    src/mainwindow/windowplacement.cpp src/mainwindow/windowplacement.h
)
