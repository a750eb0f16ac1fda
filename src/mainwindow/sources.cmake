set(QZK_MAINWINDOW_SOURCES
    src/mainwindow/boardview.cpp src/mainwindow/boardview.h
    src/mainwindow/mainwindow.cpp src/mainwindow/mainwindow.h
    src/mainwindow/markerlabel.cpp src/mainwindow/markerlabel.h
    src/mainwindow/startup.cpp src/mainwindow/startup.h
    src/mainwindow/viewactions.cpp src/mainwindow/viewactions.h
)
