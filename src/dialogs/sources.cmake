set(QZK_DIALOGS_SOURCES
    src/dialogs/aboutdialog.cpp src/dialogs/aboutdialog.h
    src/dialogs/checkreportwindow.cpp src/dialogs/checkreportwindow.h
    src/dialogs/comparewindow.cpp src/dialogs/comparewindow.h
    src/dialogs/helpdocument.cpp src/dialogs/helpdocument.h
    src/dialogs/imageexportdialog.cpp src/dialogs/imageexportdialog.h
    src/dialogs/propertiesdialog.cpp src/dialogs/propertiesdialog.h
)
