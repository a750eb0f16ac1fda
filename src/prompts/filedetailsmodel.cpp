#include "prompts/filedetailsmodel.h"

#include <QFileDialog>
#include <QFileSystemModel>
#include <QHeaderView>
#include <QLocale>
#include <QTimer>
#include <QTreeView>

namespace {

// The columns of Qt's file model.
constexpr int SizeColumn = 1;
constexpr int TypeColumn = 2;
constexpr int DateColumn = 3;

} // namespace

QVariant FileDetailsModel::data(const QModelIndex &index, int role) const
{
    const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
    if (!files || role != Qt::DisplayRole ||
        (index.column() != SizeColumn && index.column() != TypeColumn &&
         index.column() != DateColumn))
        return QIdentityProxyModel::data(index, role);
    const QModelIndex source = mapToSource(index);
    // Qt's translations have no words for the kinds its file model names.
    if (index.column() == TypeColumn) {
        if (files->isDir(source))
            return QStringLiteral("フォルダー");
        const QString suffix = files->fileInfo(source).suffix();
        return suffix.isEmpty() ? QStringLiteral("ファイル")
                                : QStringLiteral("%1 ファイル").arg(suffix);
    }
    if (index.column() == DateColumn)
        return QLocale().toString(files->lastModified(source), QLocale::ShortFormat);
    // Folders have no size, as in Qt's own model.
    return files->isDir(source) ? QString() : QLocale().formattedDataSize(files->size(source));
}

void FileDetailsModel::install(QFileDialog &dialog)
{
    dialog.setProxyModel(new FileDetailsModel(&dialog));
    auto *details = dialog.findChild<QTreeView *>(QStringLiteral("treeView"));
    if (!details)
        return;
    QHeaderView *header = details->header();
    header->setStretchLastSection(false);
    header->setSectionResizeMode(0, QHeaderView::Stretch);
    for (int column = 1; column < header->count(); ++column)
        header->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    // The header fits its columns to their texts when the rows are laid out, not when a
    // text changes: a size or date that the file model fills in later would stay cut off.
    // One fit for a burst of changes.
    auto *fit = new QTimer(header);
    fit->setSingleShot(true);
    QObject::connect(fit, &QTimer::timeout, details, [details] {
        for (int column = 1; column < details->header()->count(); ++column)
            details->resizeColumnToContents(column);
    });
    QObject::connect(dialog.proxyModel(), &QAbstractItemModel::dataChanged, fit,
                     qOverload<>(&QTimer::start));
}
