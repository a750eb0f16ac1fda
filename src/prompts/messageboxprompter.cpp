#include "prompts/messageboxprompter.h"

#include "prompts/filedetailsmodel.h"
#include "prompts/strayinputguard.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>

bool MessageBoxPrompter::askYesNo(QWidget *parent, const QString &title, const QString &text)
{
    return QMessageBox::question(parent, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::Yes) == QMessageBox::Yes;
}

bool MessageBoxPrompter::askYesNoUnbidden(QWidget *parent, const QString &title,
                                          const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    const StrayInputGuard guard(box);
    return box.exec() == QMessageBox::Yes;
}

Prompter::UnsavedAnswer MessageBoxPrompter::askUnsavedChanges(QWidget *parent, const QString &title,
                                                              const QString &text)
{
    QMessageBox box(QMessageBox::Warning, title, text, QMessageBox::NoButton, parent);
    QPushButton *save = box.addButton(QStringLiteral("保存(&S)"), QMessageBox::AcceptRole);
    QPushButton *discard =
        box.addButton(QStringLiteral("保存しない(&N)"), QMessageBox::DestructiveRole);
    QPushButton *cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == save)
        return UnsavedAnswer::Save;
    if (box.clickedButton() == discard)
        return UnsavedAnswer::Discard;
    return UnsavedAnswer::Cancel;
}

Prompter::RestoreAnswer MessageBoxPrompter::askRestore(QWidget *parent, const QString &title,
                                                       const QString &text)
{
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    QPushButton *restore = box.addButton(QStringLiteral("復元する(&R)"), QMessageBox::AcceptRole);
    QPushButton *remove =
        box.addButton(QStringLiteral("削除する(&D)"), QMessageBox::DestructiveRole);
    QPushButton *later = box.addButton(QStringLiteral("後で(&L)"), QMessageBox::RejectRole);
    box.setDefaultButton(restore);
    // Only an explicit choice deletes: Esc and the close box keep the copy.
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == restore)
        return RestoreAnswer::Restore;
    if (box.clickedButton() == remove)
        return RestoreAnswer::Delete;
    return RestoreAnswer::Later;
}

namespace {

QMessageBox::Icon boxIcon(Prompter::Icon icon)
{
    switch (icon) {
    case Prompter::Icon::Information:
        break;
    case Prompter::Icon::Warning:
        return QMessageBox::Warning;
    case Prompter::Icon::Critical:
        return QMessageBox::Critical;
    case Prompter::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::Information;
}

} // namespace

void MessageBoxPrompter::tell(QWidget *parent, Icon icon, const QString &title, const QString &text)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.exec();
}

void MessageBoxPrompter::tellUnbidden(QWidget *parent, Icon icon, const QString &title,
                                      const QString &text)
{
    QMessageBox box(boxIcon(icon), title, text, QMessageBox::Ok, parent);
    box.setDefaultButton(QMessageBox::Ok);
    const StrayInputGuard guard(box);
    box.exec();
}

void MessageBoxPrompter::beep()
{
    QApplication::beep();
}

namespace {

QString fileFilters()
{
    return QStringLiteral("マップファイル(*.map);;背景用画像ファイル(*.bmp)");
}

QString chosenFile(QFileDialog &dialog)
{
    FileDetailsModel::install(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

} // namespace

QString MessageBoxPrompter::chooseOpenFile(QWidget *parent, const QString &startFolder)
{
    QFileDialog dialog(parent, QString(), startFolder, fileFilters());
    dialog.setFileMode(QFileDialog::ExistingFile);
    return chosenFile(dialog);
}

QString MessageBoxPrompter::chooseSaveFile(QWidget *parent, const QString &startFolder)
{
    QFileDialog dialog(parent, QString(), startFolder, fileFilters());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without extension becomes a map file; replacing one is asked first.
    dialog.setDefaultSuffix(QStringLiteral("map"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
    return chosenFile(dialog);
}
