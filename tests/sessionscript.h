#pragma once

#include "model/chipdescriptions.h"
#include "model/mapdocument.h"
#include "session/editorsession.h"
#include "session/mapfileworkflow.h"
#include "session/recentmaps.h"
#include "stubprompter.h"

#include <QKeySequence>
#include <QPoint>
#include <QSettings>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

// The one language the tests speak to a session, as a user would act: steps separated by
// blanks, each VERB or VERB:ARGUMENTS; cells are x,y and buttons L, R or M.
//   board      c:x,y,B click   p:x,y,B press   d:x,y drag   r:x,y release   h:x,y hover
//              off (the pointer leaves the board)   leave (it moves over the window around)
//   keyboard   key:KEYS (a key to the board's cell cursor, as QKeySequence spells it:
//              Right, Ctrl+Left, Shift+Down, Home, Space, Return, Backspace)
//   modes      mode:N (1 chips, 2 branches, 3 warps)
//              tool:NAME (a registered tool's button: line, selection, fill, rectangle)
//              shift, noshift (Shift held or let go)   chip:CELL (palette)
//              dir:K (branch direction K)
//   edit       all   del   copypaste   esc   turn:H|V|R   undo   redo
//              replace:FROM,TO (every FROM chip of the floor shown becomes TO)
//   warps      newpair   relink:N   unlink:N (answered yes)   endlink
//              marker:N or marker:N,B (a press on marker N, left unless B says;
//              play() is false if it is refused)
//   floors     floor:N   addfloor   movefloor:D   deletefloor   duplicate
//              props:NAME (the properties dialog's OK with that floor name)
// An unknown verb or a malformed argument makes play() false, so QVERIFY(play(...)) fails.
[[nodiscard]] inline bool play(EditorSession &session, const QString &script)
{
    using namespace Qt::StringLiterals;
    // The caller's QVERIFY fails; the warning says which step it was.
    const auto fail = [](const QString &step) {
        qWarning("unknown or malformed step: %s", qPrintable(step));
        return false;
    };
    ToolSwitch &tools = session.tools();
    for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
        const QString verb = step.section(u':', 0, 0);
        const QString arg = step.section(u':', 1);
        const QStringList f = arg.split(u',');
        const QPoint cell = f.size() >= 2 ? QPoint(f[0].toInt(), f[1].toInt()) : QPoint();
        Qt::MouseButton button = Qt::NoButton;
        if (f.size() == 3)
            button = f[2] == u"L"   ? Qt::LeftButton
                     : f[2] == u"R" ? Qt::RightButton
                     : f[2] == u"M" ? Qt::MiddleButton
                                    : Qt::NoButton;
        const bool needsCell =
            verb == u"c" || verb == u"p" || verb == u"d" || verb == u"r" || verb == u"h";
        if (needsCell && (cell.isNull() || ((verb == u"c" || verb == u"p") && !button)))
            return fail(step);
        if (verb == u"c")
            tools.click(cell, button);
        else if (verb == u"p")
            tools.press(cell, button);
        else if (verb == u"d")
            tools.move(cell);
        else if (verb == u"r")
            tools.release(cell);
        else if (verb == u"h")
            tools.hover(cell);
        else if (verb == u"off")
            tools.hover(QPoint());
        else if (verb == u"leave")
            tools.leave();
        else if (verb == u"key") {
            const QKeySequence keys = QKeySequence::fromString(arg);
            if (keys.count() != 1 ||
                !session.cursor().key(keys[0].key(), keys[0].keyboardModifiers()))
                return fail(step);
        } else if (verb == u"mode")
            session.setEditMode(EditorSession::EditMode(arg.toInt()));
        else if (verb == u"tool" && tools.tool(arg))
            tools.toggleTool(arg);
        else if (verb == u"shift" || verb == u"noshift")
            tools.setBorderOnly(verb == u"shift");
        else if (verb == u"chip")
            session.choices().setChip(arg);
        else if (verb == u"dir")
            session.choices().advanceBranchDigit(arg.toInt());
        else if (verb == u"all")
            tools.selection().selectAll();
        else if (verb == u"del")
            tools.selection().deleteSelection();
        else if (verb == u"copypaste") {
            const std::optional<CellBlock> block = tools.selection().copy();
            if (!block)
                return fail(step);
            tools.selection().startFloating(*block);
        } else if (verb == u"esc")
            tools.selection().drop();
        else if (verb == u"turn")
            tools.selection().turn(arg == u"H"   ? CellBlock::Turn::FlipLeftRight
                                   : arg == u"V" ? CellBlock::Turn::FlipUpDown
                                                 : CellBlock::Turn::RotateClockwise);
        else if (verb == u"replace" && f.size() == 2)
            session.document().replaceChips(
                ChipReplace(f[0], f[1], ChipReplace::Scope::Floor, session.currentFloor()));
        else if (verb == u"undo")
            session.undo();
        else if (verb == u"redo")
            session.redo();
        else if (verb == u"newpair")
            session.warpWindow().startNewPair();
        else if (verb == u"relink")
            session.warpWindow().relinkRow(arg.toInt() - 1);
        else if (verb == u"unlink") {
            if (session.warpWindow().requestDeletion(arg.toInt() - 1) !=
                WarpWindowPresenter::Deletion::Ask)
                return fail(step);
            session.warpWindow().answerDeletion(true);
        } else if (verb == u"marker") {
            const Qt::MouseButton press =
                f.size() == 2 && f[1] == u"R" ? Qt::RightButton : Qt::LeftButton;
            if (!tools.pressMarker(f[0].toInt(), press))
                return fail(step);
        } else if (verb == u"endlink")
            tools.warps().interrupt();
        else if (verb == u"floor")
            session.selectFloorTab(arg.toInt() - 1);
        else if (verb == u"addfloor")
            session.addFloor();
        else if (verb == u"movefloor")
            session.moveFloor(arg.toInt());
        else if (verb == u"deletefloor")
            session.deleteCurrentFloor();
        else if (verb == u"duplicate")
            session.duplicateFloor();
        else if (verb == u"props")
            session.document().setFloorTexts(session.currentFloor(), arg, u"bg.bmp"_s, u"end"_s);
        else
            return fail(step);
    }
    return true;
}

// A session over an empty map, as the program starts one, without windows.
struct SessionFixture
{
    MapDocument document;
    ChipDescriptions descriptions;
    EditorSession session{document, descriptions};

    [[nodiscard]] bool play(const QString &script) { return ::play(session, script); }
};

// The session with its file workflow and a stub answering its questions, without windows.
// Its script knows two more steps: save (上書き保存) and reload (the map read again from
// its files, as after the answer yes).
struct FileFixture : SessionFixture
{
    // lockFolder: where map markers go; empty for the user's data folder.
    explicit FileFixture(const QString &lockFolder = {})
        : files{session, prompter, recentMaps, lockFolder}
    {
    }

    StubPrompter prompter;
    // A scratch settings file, so no test sees or leaves a user's recent maps.
    QTemporaryDir settingsFolder;
    QSettings settings{settingsFolder.filePath(QStringLiteral("settings.ini")),
                       QSettings::IniFormat};
    RecentMaps recentMaps{settings};
    MapFileWorkflow files;

    [[nodiscard]] bool play(const QString &script)
    {
        for (const QString &step : script.split(u' ', Qt::SkipEmptyParts)) {
            const bool done = step == u"save"     ? files.overwriteMap()
                              : step == u"reload" ? files.reloadMap().ok()
                                                  : ::play(session, step);
            if (!done)
                return false;
        }
        return true;
    }
};
