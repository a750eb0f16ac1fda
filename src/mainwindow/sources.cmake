set(QZK_MAINWINDOW_SOURCES
    src/mainwindow/boardpainter.cpp src/mainwindow/boardpainter.h
    src/mainwindow/boardview.cpp src/mainwindow/boardview.h
    src/mainwindow/cellcomposer.cpp src/mainwindow/cellcomposer.h
    src/mainwindow/chippictures.cpp src/mainwindow/chippictures.h
    src/mainwindow/mainwindow.cpp src/mainwindow/mainwindow.h
    src/mainwindow/markerlabel.cpp src/mainwindow/markerlabel.h
    src/mainwindow/markerpainter.cpp src/mainwindow/markerpainter.h
    src/mainwindow/prompter.cpp src/mainwindow/prompter.h
    src/mainwindow/startup.cpp src/mainwindow/startup.h
)
