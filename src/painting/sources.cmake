set(QZK_PAINTING_SOURCES
    src/painting/boardpainter.cpp src/painting/boardpainter.h
    src/painting/cellcomposer.cpp src/painting/cellcomposer.h
    src/painting/drawniconengine.cpp src/painting/drawniconengine.h
    src/painting/floorpictures.cpp src/painting/floorpictures.h
    src/painting/chippictures.cpp src/painting/chippictures.h
    src/painting/markerpainter.cpp src/painting/markerpainter.h
    src/painting/routepainter.cpp src/painting/routepainter.h
    src/painting/textfit.cpp src/painting/textfit.h
    src/painting/textoutline.cpp src/painting/textoutline.h
)
