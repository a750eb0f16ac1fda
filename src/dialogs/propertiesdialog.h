#pragma once

#include <QDialog>

#include <array>

class EditorSession;
class Prompter;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// Edits the name, background picture and comment of the current floor. OK stores them
// through the document; Cancel and the close box store nothing.
class PropertiesDialog : public QDialog
{
    Q_OBJECT

public:
    // The browse button's file dialog starts in fileDialogFolder.
    PropertiesDialog(EditorSession &session, Prompter &prompter, const QString &fileDialogFolder,
                     QWidget *parent = nullptr);

    // The path box's proposal for a floor without a background.
    static QString backgroundProposal() { return QStringLiteral("img\\"); }

    void accept() override;

private:
    void placeControls(const std::array<QLabel *, 4> &labels, QPushButton *okButton,
                       QPushButton *cancelButton);
    void updateBackgroundControls();
    void browse();

    EditorSession &mSession;
    Prompter &mPrompter;
    QString mFileDialogFolder;
    int mFloor;

    QLineEdit *mNameEdit = nullptr;
    QLineEdit *mFloorCountEdit = nullptr;
    QCheckBox *mNoBackgroundCheck = nullptr;
    QLineEdit *mBackgroundEdit = nullptr;
    QPushButton *mBrowseButton = nullptr;
    QPlainTextEdit *mCommentEdit = nullptr;
};
