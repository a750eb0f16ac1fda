set(QZK_SESSION_SOURCES
    src/session/cellcursor.cpp src/session/cellcursor.h
    src/session/checkoverlay.cpp src/session/checkoverlay.h
    src/session/chippalettemodel.cpp src/session/chippalettemodel.h
    src/session/editorsession.cpp src/session/editorsession.h
    src/session/floorfilemerge.cpp src/session/floorfilemerge.h
    src/session/lockfiles.cpp src/session/lockfiles.h
    src/session/mapcomparison.cpp src/session/mapcomparison.h
    src/session/mapmergestate.cpp src/session/mapmergestate.h
    src/session/mapfileworkflow.cpp src/session/mapfileworkflow.h
    src/session/mapfilewatch.cpp src/session/mapfilewatch.h
    src/session/maplock.cpp src/session/maplock.h
    src/session/prompter.h
    src/session/recoverykeeper.cpp src/session/recoverykeeper.h
    src/session/recoveryoffer.cpp src/session/recoveryoffer.h
    src/session/recoverystore.cpp src/session/recoverystore.h
    src/session/recentmaps.cpp src/session/recentmaps.h
    src/session/statusline.cpp src/session/statusline.h
    src/session/toolboxstate.cpp src/session/toolboxstate.h
    src/session/tools/boardtool.cpp src/session/tools/boardtool.h
    src/session/tools/branchbrushtool.cpp src/session/tools/branchbrushtool.h
    src/session/tools/chipbrushtool.cpp src/session/tools/chipbrushtool.h
    src/session/tools/filltool.cpp src/session/tools/filltool.h
    src/session/tools/linetool.cpp src/session/tools/linetool.h
    src/session/tools/rectangletool.cpp src/session/tools/rectangletool.h
    src/session/tools/selectiontool.cpp src/session/tools/selectiontool.h
    src/session/tools/toolcontext.cpp src/session/tools/toolcontext.h
    src/session/tools/toolinfo.h
    src/session/tools/toolswitch.cpp src/session/tools/toolswitch.h
    src/session/tools/warplinktool.cpp src/session/tools/warplinktool.h
    src/session/tools/warpmarkers.cpp src/session/tools/warpmarkers.h
    src/session/viewsettings.cpp src/session/viewsettings.h
    src/session/warpwindowpresenter.cpp src/session/warpwindowpresenter.h
)
