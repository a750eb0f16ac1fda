set(QZK_DIALOGS_SOURCES
    src/dialogs/aboutdialog.cpp src/dialogs/aboutdialog.h
    src/dialogs/checkreportwindow.cpp src/dialogs/checkreportwindow.h
    src/dialogs/chipfinddialog.cpp src/dialogs/chipfinddialog.h
    src/dialogs/chippicker.cpp src/dialogs/chippicker.h
    src/dialogs/chipreplacedialog.cpp src/dialogs/chipreplacedialog.h
    src/dialogs/comparewindow.cpp src/dialogs/comparewindow.h
    src/dialogs/mergewindow.cpp src/dialogs/mergewindow.h
    src/dialogs/helpdocument.cpp src/dialogs/helpdocument.h
    src/dialogs/imageexportdialog.cpp src/dialogs/imageexportdialog.h
    src/dialogs/mapinfowindow.cpp src/dialogs/mapinfowindow.h
    src/dialogs/propertiesdialog.cpp src/dialogs/propertiesdialog.h
)
