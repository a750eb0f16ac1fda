#include "dialogs/propertiesdialog.h"

#include "mapfile/floortexts.h"
#include "model/mapdocument.h"
#include "painting/textfit.h"
#include "session/editorsession.h"
#include "session/prompter.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextDocument>

#include <algorithm>
#include <utility>

namespace {

// The dialog is laid out in twips like the other windows; 15 twips make a pixel.
QRect twips(int left, int top, int width, int height)
{
    return QRect(left / 15, top / 15, width / 15, height / 15);
}

constexpr int LabelLeft = 120;
constexpr int LabelWidth = 840;
constexpr int BoxLeft = 960;
constexpr int RowHeight = 375;
constexpr int ButtonLeft = 4680;
constexpr int ButtonWidth = 1335;

QLabel *addLabel(QWidget *parent, const char *objectName, const QString &text,
                 const QString &toolTip, int top, Qt::Alignment vertical)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(objectName));
    label->setToolTip(toolTip);
    label->setAlignment(Qt::AlignLeft | vertical);
    label->setGeometry(twips(LabelLeft, top, LabelWidth, RowHeight));
    return label;
}

// The floor files keep the comment's line breaks as CR LF; the text box uses its own.
QString editorText(const QString &endText)
{
    QString text = endText;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QString endText(const QPlainTextEdit *edit)
{
    QString text = edit->document()->toRawText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    return text.replace(u'\n', QStringLiteral("\r\n"));
}

QString messageTitle()
{
    return QStringLiteral("Q:zKエディタ");
}

} // namespace

PropertiesDialog::PropertiesDialog(EditorSession &session, Prompter &prompter,
                                   const QString &fileDialogFolder, QWidget *parent)
    : QDialog(parent), mSession(session), mPrompter(prompter), mFileDialogFolder(fileDialogFolder),
      mFloor(session.currentFloor())
{
    const MapData &map = session.map();
    setWindowTitle(QString::number(mFloor) + QStringLiteral("階のプロパティ"));
    setModal(true);

    addLabel(this, "nameLabel", QStringLiteral("マップ名(&N)"),
             QStringLiteral("マップの名前です。"), 120, Qt::AlignVCenter);
    mNameEdit = new QLineEdit(map.floorName(mFloor), this);
    mNameEdit->setObjectName(QStringLiteral("nameEdit"));
    mNameEdit->setGeometry(twips(BoxLeft, 120, 3615, RowHeight));

    addLabel(this, "floorCountLabel", QStringLiteral("枚数"),
             QStringLiteral("マップが何枚あるかを表示します。"), 600, Qt::AlignVCenter);
    mFloorCountEdit = new QLineEdit(QString::number(map.floorCount()), this);
    mFloorCountEdit->setObjectName(QStringLiteral("floorCountEdit"));
    // Shown for information only: the count changes through the floor commands.
    mFloorCountEdit->setReadOnly(true);
    mFloorCountEdit->setFocusPolicy(Qt::NoFocus);
    mFloorCountEdit->setAlignment(Qt::AlignCenter);
    mFloorCountEdit->setGeometry(twips(BoxLeft, 600, 375, RowHeight));

    mNoBackgroundCheck = new QCheckBox(QStringLiteral("背景を指定しない(&D)"), this);
    mNoBackgroundCheck->setObjectName(QStringLiteral("noBackgroundCheck"));
    mNoBackgroundCheck->setToolTip(QStringLiteral("使用しない場合、背景は自動的に決められます。"));
    mNoBackgroundCheck->setGeometry(twips(2880, 720, ButtonLeft - 2880 - 60, 255));

    addLabel(this, "backgroundLabel", QStringLiteral("背景画(&B)"),
             QStringLiteral("背景画像についての設定を行います。"), 1080, Qt::AlignVCenter);
    mBackgroundEdit = new QLineEdit(this);
    mBackgroundEdit->setObjectName(QStringLiteral("backgroundEdit"));
    mBackgroundEdit->setGeometry(twips(BoxLeft, 1080, 3615, RowHeight));
    mBrowseButton = new QPushButton(QStringLiteral("参照(&C)"), this);
    mBrowseButton->setObjectName(QStringLiteral("browseButton"));
    mBrowseButton->setAutoDefault(false);
    mBrowseButton->setGeometry(twips(ButtonLeft, 1080, ButtonWidth, RowHeight));

    addLabel(this, "commentLabel", QStringLiteral("コメント(&M)"), QString(), 1800 + 45,
             Qt::AlignTop);
    mCommentEdit = new QPlainTextEdit(this);
    mCommentEdit->setObjectName(QStringLiteral("commentEdit"));
    mCommentEdit->setTabChangesFocus(true);
    mCommentEdit->setPlainText(editorText(map.floorEndText(mFloor)));
    mCommentEdit->setGeometry(twips(BoxLeft, 1800, 5055, 1515));

    auto *okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setObjectName(QStringLiteral("okButton"));
    okButton->setDefault(true);
    okButton->setGeometry(twips(ButtonLeft, 120, ButtonWidth, RowHeight));
    auto *cancelButton = new QPushButton(QStringLiteral("キャンセル"), this);
    cancelButton->setObjectName(QStringLiteral("cancelButton"));
    cancelButton->setAutoDefault(false);
    cancelButton->setGeometry(twips(ButtonLeft, 600, ButtonWidth, RowHeight));

    placeControls({findChild<QLabel *>(QStringLiteral("nameLabel")),
                   findChild<QLabel *>(QStringLiteral("floorCountLabel")),
                   findChild<QLabel *>(QStringLiteral("backgroundLabel")),
                   findChild<QLabel *>(QStringLiteral("commentLabel"))},
                  okButton, cancelButton);

    // Each box is named by its label for screen readers, and its label's access key focuses
    // it; the count box is for reading only and takes no focus, so its caption has no key.
    const std::pair<const char *, QWidget *> buddies[] = {{"nameLabel", mNameEdit},
                                                          {"floorCountLabel", mFloorCountEdit},
                                                          {"backgroundLabel", mBackgroundEdit},
                                                          {"commentLabel", mCommentEdit}};
    for (const auto &[label, box] : buddies)
        findChild<QLabel *>(QLatin1String(label))->setBuddy(box);

    setTabOrder(mNameEdit, mNoBackgroundCheck);
    setTabOrder(mNoBackgroundCheck, mBackgroundEdit);
    setTabOrder(mBackgroundEdit, mBrowseButton);
    setTabOrder(mBrowseButton, mCommentEdit);
    setTabOrder(mCommentEdit, okButton);
    setTabOrder(okButton, cancelButton);

    // A floor without a background proposes the picture folder, with the box checked.
    const QString &background = map.floorBackground(mFloor);
    mNoBackgroundCheck->setChecked(background.isEmpty());
    mBackgroundEdit->setText(background.isEmpty() ? backgroundProposal() : background);
    updateBackgroundControls();

    connect(mNoBackgroundCheck, &QCheckBox::toggled, this,
            &PropertiesDialog::updateBackgroundControls);
    connect(mBrowseButton, &QPushButton::clicked, this, &PropertiesDialog::browse);
    connect(okButton, &QPushButton::clicked, this, &PropertiesDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &PropertiesDialog::reject);
}

// The twips layout where the captions fit; where they do not, the label column, the rows and
// the buttons grow and everything right of or below them moves along.
void PropertiesDialog::placeControls(const std::array<QLabel *, 4> &labels, QPushButton *okButton,
                                     QPushButton *cancelButton)
{
    int captionWidth = 0;
    int rowHeight = twips(0, 0, 0, RowHeight).height();
    for (QLabel *label : labels) {
        captionWidth = std::max(captionWidth, TextFit::neededSize(label).width());
        rowHeight = std::max(rowHeight, TextFit::neededSize(label).height());
    }
    for (QPushButton *button : {okButton, cancelButton, mBrowseButton})
        rowHeight = std::max(rowHeight, TextFit::neededSize(button).height());
    rowHeight = std::max(rowHeight, mNameEdit->sizeHint().height());
    const int left = twips(0, 0, LabelLeft, 0).width();
    const int gap = twips(0, 0, 105, 0).width();
    const int boxLeft = std::max(twips(BoxLeft, 0, 0, 0).left(), left + captionWidth + gap / 2);
    const int labelWidth = std::max(twips(0, 0, LabelWidth, 0).width(), captionWidth);

    const int nameTop = twips(0, 120, 0, 0).top();
    const int countTop = std::max(twips(0, 600, 0, 0).top(), nameTop + rowHeight + gap);
    const int backgroundTop = std::max(twips(0, 1080, 0, 0).top(), countTop + rowHeight + gap);
    const int commentTop =
        std::max(twips(0, 1800, 0, 0).top(), backgroundTop + rowHeight + 3 * gap);
    const int tops[4] = {nameTop, countTop, backgroundTop, commentTop};
    for (int i = 0; i < 4; ++i)
        labels[i]->setGeometry(left, tops[i] + (i == 3 ? 3 : 0), labelWidth, rowHeight);

    const QRect count(boxLeft, countTop, twips(0, 0, 375, 0).width(), rowHeight);
    mFloorCountEdit->setGeometry(count);
    QRect check = twips(2880, 720, 0, 255);
    check.moveLeft(
        std::max(check.left() + boxLeft - twips(BoxLeft, 0, 0, 0).left(), count.right() + 1 + gap));
    check.moveTop(countTop + check.top() - twips(0, 600, 0, 0).top());
    mNoBackgroundCheck->setGeometry(check);
    check = TextFit::place(mNoBackgroundCheck, check);

    int buttonWidth = twips(0, 0, ButtonWidth, 0).width();
    for (QPushButton *button : {okButton, cancelButton, mBrowseButton})
        buttonWidth = std::max(buttonWidth, TextFit::neededSize(button).width());
    const int buttonLeft =
        std::max({twips(ButtonLeft, 0, 0, 0).left(), boxLeft + twips(0, 0, 3615, 0).width() + gap,
                  check.right() + 1 + gap});
    okButton->setGeometry(buttonLeft, nameTop, buttonWidth, rowHeight);
    cancelButton->setGeometry(buttonLeft, countTop, buttonWidth, rowHeight);
    mBrowseButton->setGeometry(buttonLeft, backgroundTop, buttonWidth, rowHeight);

    const int boxWidth = buttonLeft - gap - boxLeft;
    mNameEdit->setGeometry(boxLeft, nameTop, boxWidth, rowHeight);
    mBackgroundEdit->setGeometry(boxLeft, backgroundTop, boxWidth, rowHeight);
    const int right = buttonLeft + buttonWidth;
    mCommentEdit->setGeometry(boxLeft, commentTop, right - boxLeft, twips(0, 0, 0, 1515).height());
    const int margin = twips(0, 0, 120, 120).width();
    setFixedSize(right + margin, mCommentEdit->geometry().bottom() + 1 + margin);
}

void PropertiesDialog::accept()
{
    const bool backgroundUsed = !mNoBackgroundCheck->isChecked();
    const QString name = mNameEdit->text();
    const QString comment = endText(mCommentEdit);
    if (const auto problem =
            FloorTexts::problem(name, mBackgroundEdit->text(), comment, backgroundUsed)) {
        // Stored, the text would come back changed or not at all from the floor file.
        mPrompter.tell(this, Prompter::Icon::Warning, messageTitle(), *problem);
        return;
    }
    // With the box checked the floor keeps whatever background it had.
    const QString background =
        backgroundUsed ? mBackgroundEdit->text() : mSession.map().floorBackground(mFloor);
    mSession.document().setFloorTexts(mFloor, name, background, comment);
    QDialog::accept();
}

void PropertiesDialog::updateBackgroundControls()
{
    const bool used = !mNoBackgroundCheck->isChecked();
    mBackgroundEdit->setEnabled(used);
    mBrowseButton->setEnabled(used);
}

void PropertiesDialog::browse()
{
    const QString path = mPrompter.chooseOpenFile(this, mFileDialogFolder);
    if (!path.isEmpty())
        mBackgroundEdit->setText(path);
}
