#pragma once

#include <QIdentityProxyModel>

class QFileDialog;

// The file dialog's list as the editor's language writes it. Qt's own file model formats
// sizes and dates in the system's language, whatever the program's default locale is.
class FileDetailsModel : public QIdentityProxyModel
{
    Q_OBJECT

public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override;

    // Gives a dialog this model and detail columns as wide as their texts.
    static void install(QFileDialog &dialog);
};
