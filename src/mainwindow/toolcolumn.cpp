#include "mainwindow/toolcolumn.h"

#include "mainwindow/modebutton.h"
#include "mainwindow/twips.h"
#include "painting/cellcomposer.h"
#include "painting/chippictures.h"
#include "painting/textfit.h"
#include "session/editorsession.h"

#include <QApplication>
#include <QLabel>
#include <QToolButton>

#include <algorithm>

ToolColumn::ToolColumn(EditorSession &session, const ChipPictures &pictures,
                       const CellComposer &composer, QWidget *central)
    : QObject(central), mSession(session), mComposer(composer)
{
    // The line tool's button (see ToolActions) has its caption under it.
    mLineDrawLabel = new QLabel(QStringLiteral("LineDraw"), central);
    mLineDrawLabel->setObjectName(QStringLiteral("lineDrawLabel"));
    mLineDrawLabel->setAlignment(Qt::AlignCenter);
    mLineDrawLabel->setAccessibleDescription(
        QStringLiteral("ライン描画：ラインツールがオンのとき黒く表示されます"));
    QFont small = mLineDrawLabel->font();
    small.setPointSizeF(7.5);
    mLineDrawLabel->setFont(small);
    // Kept centred under the line tool button when its font needs more than the twips give.
    const QRect lineDraw(twips(8760), twips(1080), twips(735), twips(180) + 2);
    QRect fitted(lineDraw.topLeft(),
                 lineDraw.size().expandedTo(TextFit::neededSize(mLineDrawLabel)));
    fitted.moveCenter(QPoint(lineDraw.center().x(), fitted.center().y()));
    fitted.moveRight(std::min(fitted.right(), central->width() - 1));
    mLineDrawLabel->setGeometry(fitted);

    mSample = new QLabel(central);
    mSample->setObjectName(QStringLiteral("sample"));
    mSample->setGeometry(twips(9000), twips(3720), twips(360), twips(360));
    mSample->setAccessibleName(QStringLiteral("選択中のマップチップ"));

    mSampleCode = new QLabel(central);
    mSampleCode->setGeometry(twips(8880), twips(4080), twips(615), twips(255));
    mSampleCode->setObjectName(QStringLiteral("sampleCode"));
    mSampleCode->setAlignment(Qt::AlignCenter);
    QFont codeFont = mSampleCode->font();
    codeFont.setPointSizeF(11.25);
    mSampleCode->setFont(codeFont);

    const int modeTops[3] = {4440, 5040, 5640};
    const QString modeTips[3] = {QStringLiteral("マップチップ配置モード"),
                                 QStringLiteral("分岐点設定モード"),
                                 QStringLiteral("ワープ設定モード")};
    for (int i = 0; i < 3; ++i) {
        auto *button = new ModeButton(central);
        button->setObjectName(QStringLiteral("modeButton%1").arg(i + 1));
        button->setGeometry(twips(8880), twips(modeTops[i]), twips(495), twips(495));
        button->setIcon(pictures.modeIcon(EditorSession::EditMode(i + 1)));
        button->setIconSize(QSize(26, 26));
        button->setToolTip(modeTips[i]);
        button->setAccessibleName(modeTips[i]);
        connect(button, &QToolButton::clicked, &session,
                [this, i] { mSession.setEditMode(EditorSession::EditMode(i + 1)); });
        mModeButtons[i] = button;
    }
    mModeButtons[0]->setChecked(true);

    mLinkingSample = new QLabel(central);
    mLinkingSample->setObjectName(QStringLiteral("linkingSample"));
    mLinkingSample->setGeometry(twips(9000), twips(3720), twips(375), twips(375));
    mLinkingSample->setFrameShape(QFrame::Box);
    mLinkingSample->setAlignment(Qt::AlignCenter);
    mLinkingSample->setAutoFillBackground(true);
    QFont bold = mLinkingSample->font();
    bold.setPointSizeF(15.75);
    bold.setBold(true);
    mLinkingSample->setFont(bold);
    QPalette red = mLinkingSample->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    mLinkingSample->setPalette(red);
    mLinkingSample->hide();

    mMarkerList = new QLabel(central);
    mMarkerList->setObjectName(QStringLiteral("markerList"));
    mMarkerList->setAccessibleDescription(QStringLiteral("この階のワープ"));
    mMarkerList->setGeometry(twips(9000), twips(120), twips(375), twips(3495));
    mMarkerList->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    mMarkerList->setFont(bold);
    mMarkerList->hide();

    connect(&session.tools().line(), &BoardTool::stateChanged, this, &ToolColumn::showLineTool);
    connect(&session.choices(), &ToolContext::chipChanged, this, &ToolColumn::showSample);
    connect(&session, &EditorSession::editModeChanged, this,
            [this](EditorSession::EditMode, EditorSession::EditMode mode) { showMode(mode); });
    showLineTool();
}

void ToolColumn::showMode(EditorSession::EditMode mode)
{
    for (int i = 0; i < 3; ++i)
        mModeButtons[i]->setChecked(i + 1 == mode);
    mLineDrawLabel->setVisible(mode == EditorSession::ChipMode);
}

void ToolColumn::showSample()
{
    mSample->setPixmap(QPixmap::fromImage(mComposer.chipPicture(mSession.choices().chip())));
    mSampleCode->setText(mSession.choices().sampleCode());
}

void ToolColumn::showLineTool()
{
    const bool on = mSession.tools().line().isOn();
    // Grey is the system's colour for disabled text, taken from the untouched palette.
    QPalette palette = QApplication::palette(mLineDrawLabel);
    if (on)
        palette.setColor(QPalette::WindowText, Qt::black);
    else
        palette.setColor(QPalette::WindowText,
                         palette.color(QPalette::Disabled, QPalette::WindowText));
    mLineDrawLabel->setPalette(palette);
}

void ToolColumn::showWarps()
{
    const WarpLinkTool &warps = mSession.tools().warps();
    const QString sample = warps.sampleCaption();
    mLinkingSample->setText(sample);
    mLinkingSample->setVisible(!sample.isEmpty());
    QString list = warps.markers().listText();
    mMarkerList->setText(list.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    mMarkerList->setVisible(mSession.editMode() == EditorSession::WarpMode);
}
